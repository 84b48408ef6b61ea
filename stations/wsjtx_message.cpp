#include "stations/wsjtx_message.h"

#include <QtEndian>
#include <bit>
#include <limits>
#include <type_traits>

namespace orbida::stations::wsjtx {
namespace {

constexpr std::uint32_t kNullLength = 0xFFFFFFFFu;  // a null text, or a null time
constexpr std::uint32_t kMillisecondsPerDay = 86'400'000u;
constexpr std::int64_t kNullJulianDay = std::numeric_limits<std::int64_t>::min();
constexpr std::int32_t kMaxUtcOffsetSeconds = 14 * 3600;

// Qt's time specs in a date and time.
constexpr std::uint8_t kLocalTime = 0;
constexpr std::uint8_t kUtc = 1;
constexpr std::uint8_t kOffsetFromUtc = 2;

// Reads the fields of one datagram in order. A field that would start at the very end of the
// datagram is absent: the sender is older than the field, and the value keeps its default. A
// field that starts but does not fit marks the datagram truncated; after that, or after the
// first absent field, nothing more is read.
class Reader {
  public:
    explicit Reader(QByteArrayView bytes) : bytes_(bytes) {}

    int fieldsRead() const { return fields_; }
    // The message's own fields come next: counting starts again.
    void StartBody() { fields_ = 0; }

    void Read(std::uint8_t& value) { ReadInteger(value); }
    void Read(std::uint32_t& value) { ReadInteger(value); }
    void Read(std::uint64_t& value) { ReadInteger(value); }
    void Read(std::int32_t& value) {
        std::uint32_t raw = 0;
        if (ReadInteger(raw)) {
            value = static_cast<std::int32_t>(raw);
        }
    }
    void Read(bool& value) {
        std::uint8_t raw = 0;
        if (ReadInteger(raw)) {
            value = raw != 0;
        }
    }
    // Doubles are 64-bit IEEE, as WSJT-X sets its streams, floats included.
    void Read(double& value) {
        std::uint64_t raw = 0;
        if (ReadInteger(raw)) {
            value = std::bit_cast<double>(raw);
        }
    }

    void Read(QByteArray& text) {
        std::uint32_t length = 0;
        if (!Begin(sizeof length)) {
            return;
        }
        length = Take<std::uint32_t>();
        if (length == kNullLength) {
            text = QByteArray();
        } else if (length > Remaining()) {
            // Checked before any allocation: a length can claim up to 4 GB.
            failure_ = Failure::kTruncated;
            return;
        } else {
            // Never null, even when empty: an empty text is not a null one.
            text = length == 0 ? QByteArray("") : QByteArray(At(), static_cast<qsizetype>(length));
            position_ += length;
        }
        ++fields_;
    }

    void Read(QTime& time) {
        if (!Begin(sizeof(std::uint32_t))) {
            return;
        }
        if (TakeTime(time)) {
            ++fields_;
        }
    }

    // A QDateTime as Qt 5.2 and later stream it: the Julian day (qint64), the time of day, the
    // time spec, and the offset from UTC for that spec only. A time zone (spec 3), which WSJT-X
    // never sends and which would carry a time zone's name, is refused.
    void Read(QDateTime& dateTime) {
        constexpr std::size_t kFixed = sizeof(std::int64_t) + sizeof(std::uint32_t) + 1;
        if (!Begin(kFixed)) {
            return;
        }
        const auto julianDay = static_cast<std::int64_t>(Take<std::uint64_t>());
        QTime time;
        if (!TakeTime(time)) {
            return;
        }
        const std::uint8_t spec = Take<std::uint8_t>();
        const QDate date = julianDay == kNullJulianDay ? QDate() : QDate::fromJulianDay(julianDay);
        if (spec == kLocalTime) {
            dateTime = QDateTime(date, time, Qt::LocalTime);
        } else if (spec == kUtc) {
            dateTime = QDateTime(date, time, Qt::UTC);
        } else if (spec == kOffsetFromUtc) {
            if (Remaining() < sizeof(std::uint32_t)) {
                failure_ = Failure::kTruncated;
                return;
            }
            const auto offset = static_cast<std::int32_t>(Take<std::uint32_t>());
            if (offset < -kMaxUtcOffsetSeconds || offset > kMaxUtcOffsetSeconds) {
                failure_ = Failure::kCorrupt;
                return;
            }
            dateTime = QDateTime(date, time, Qt::OffsetFromUTC, offset);
        } else {
            failure_ = Failure::kCorrupt;
            return;
        }
        ++fields_;
    }

    template <typename... Fields>
    void ReadAll(Fields&... fields) {
        (Read(fields), ...);
    }

    // The outcome once a message's fields are read: `required` of them must have been there.
    Failure Finish(int required) const {
        if (failure_ == Failure::kNone && fields_ < required) {
            return Failure::kTruncated;
        }
        return failure_;
    }

  private:
    std::size_t Remaining() const { return static_cast<std::size_t>(bytes_.size()) - position_; }
    const char* At() const { return bytes_.data() + position_; }

    // Whether a field of at least `size` bytes can be read now; false, and why, when it cannot.
    bool Begin(std::size_t size) {
        if (failure_ != Failure::kNone || ended_) {
            return false;
        }
        if (Remaining() == 0) {
            ended_ = true;
            return false;
        }
        if (Remaining() < size) {
            failure_ = Failure::kTruncated;
            return false;
        }
        return true;
    }

    template <typename T>
    T Take() {
        const T value = qFromBigEndian<T>(At());
        position_ += sizeof(T);
        return value;
    }

    template <typename T>
    bool ReadInteger(T& value) {
        if (!Begin(sizeof(T))) {
            return false;
        }
        value = Take<T>();
        ++fields_;
        return true;
    }

    // Milliseconds since midnight, all ones for a null time; anything from a full day up is
    // refused.
    bool TakeTime(QTime& time) {
        const auto milliseconds = Take<std::uint32_t>();
        if (milliseconds == kNullLength) {
            time = QTime();
        } else if (milliseconds >= kMillisecondsPerDay) {
            failure_ = Failure::kCorrupt;
            return false;
        } else {
            time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(milliseconds));
        }
        return true;
    }

    QByteArrayView bytes_;
    std::size_t position_ = 0;
    int fields_ = 0;
    bool ended_ = false;
    Failure failure_ = Failure::kNone;
};

// Reads the fields of each message type; returns the outcome, with the fields a message needs
// to mean anything (those of its first published form) counted as required.
Failure ReadBody(Reader& in, Heartbeat& m) {
    in.ReadAll(m.maxSchema, m.version, m.revision);
    return in.Finish(0);
}

Failure ReadBody(Reader& in, Status& m) {
    in.ReadAll(m.dialFrequency, m.mode, m.dxCall, m.report, m.txMode, m.txEnabled, m.transmitting,
               m.decoding, m.rxDf, m.txDf, m.deCall, m.deGrid, m.dxGrid, m.txWatchdog, m.subMode,
               m.fastMode, m.specialOperationMode, m.frequencyTolerance, m.trPeriod,
               m.configurationName, m.txMessage);
    return in.Finish(7);
}

Failure ReadBody(Reader& in, Decode& m) {
    in.ReadAll(m.isNew, m.time, m.snr, m.deltaTime, m.deltaFrequency, m.mode, m.message,
               m.lowConfidence, m.offAir);
    return in.Finish(7);
}

Failure ReadBody(Reader& in, Clear& m) {
    std::uint8_t window = 0;
    in.Read(window);
    if (in.fieldsRead() == 1) {
        m.window = window;
    }
    return in.Finish(0);
}

Failure ReadBody(Reader& in, Reply& m) {
    in.ReadAll(m.time, m.snr, m.deltaTime, m.deltaFrequency, m.mode, m.message, m.lowConfidence,
               m.modifiers);
    return in.Finish(6);
}

Failure ReadBody(Reader& in, QsoLogged& m) {
    in.ReadAll(m.timeOff, m.dxCall, m.dxGrid, m.txFrequency, m.mode, m.reportSent, m.reportReceived,
               m.txPower, m.comments, m.name, m.timeOn, m.operatorCall, m.myCall, m.myGrid,
               m.exchangeSent, m.exchangeReceived, m.propagationMode);
    return in.Finish(9);
}

Failure ReadBody(Reader& in, Close&) {
    return in.Finish(0);
}

Failure ReadBody(Reader& in, WsprDecode& m) {
    in.ReadAll(m.isNew, m.time, m.snr, m.deltaTime, m.frequency, m.drift, m.callsign, m.grid,
               m.power, m.offAir);
    return in.Finish(9);
}

template <typename T>
Failure ReadAs(Reader& in, Body& body) {
    T fields;
    const Failure failure = ReadBody(in, fields);
    body = std::move(fields);
    return failure;
}

class Writer {
  public:
    QByteArray take() { return std::move(bytes_); }

    void Write(std::uint8_t value) { WriteInteger(value); }
    void Write(std::uint32_t value) { WriteInteger(value); }
    void Write(std::uint64_t value) { WriteInteger(value); }
    void Write(std::int32_t value) { WriteInteger(static_cast<std::uint32_t>(value)); }
    void Write(std::int64_t value) { WriteInteger(static_cast<std::uint64_t>(value)); }
    void Write(bool value) { WriteInteger(static_cast<std::uint8_t>(value ? 1 : 0)); }
    void Write(double value) { WriteInteger(std::bit_cast<std::uint64_t>(value)); }
    void Write(const QByteArray& text) {
        if (text.isNull()) {
            Write(kNullLength);
        } else {
            Write(static_cast<std::uint32_t>(text.size()));
            bytes_.append(text);
        }
    }
    void Write(const QTime& time) {
        Write(time.isValid() ? static_cast<std::uint32_t>(time.msecsSinceStartOfDay())
                             : kNullLength);
    }
    void Write(const QDateTime& value) {
        // A date and time in a time zone goes as UTC, the form WSJT-X sends.
        const QDateTime dateTime = value.timeSpec() == Qt::TimeZone ? value.toUTC() : value;
        const QDate date = dateTime.date();
        Write(static_cast<std::int64_t>(date.isValid() ? date.toJulianDay() : kNullJulianDay));
        Write(dateTime.time());
        if (dateTime.timeSpec() == Qt::LocalTime) {
            Write(kLocalTime);
        } else if (dateTime.timeSpec() == Qt::OffsetFromUTC) {
            Write(kOffsetFromUtc);
            Write(static_cast<std::int32_t>(dateTime.offsetFromUtc()));
        } else {
            Write(kUtc);
        }
    }

    template <typename... Fields>
    void WriteAll(const Fields&... fields) {
        (Write(fields), ...);
    }

  private:
    template <typename T>
    void WriteInteger(T value) {
        static_assert(std::is_unsigned_v<T>);
        char raw[sizeof(T)];
        qToBigEndian(value, raw);
        bytes_.append(raw, sizeof(T));
    }

    QByteArray bytes_;
};

void WriteBody(Writer& out, const Heartbeat& m) {
    out.WriteAll(m.maxSchema, m.version, m.revision);
}
void WriteBody(Writer& out, const Status& m) {
    out.WriteAll(m.dialFrequency, m.mode, m.dxCall, m.report, m.txMode, m.txEnabled, m.transmitting,
                 m.decoding, m.rxDf, m.txDf, m.deCall, m.deGrid, m.dxGrid, m.txWatchdog, m.subMode,
                 m.fastMode, m.specialOperationMode, m.frequencyTolerance, m.trPeriod,
                 m.configurationName, m.txMessage);
}
void WriteBody(Writer& out, const Decode& m) {
    out.WriteAll(m.isNew, m.time, m.snr, m.deltaTime, m.deltaFrequency, m.mode, m.message,
                 m.lowConfidence, m.offAir);
}
void WriteBody(Writer& out, const Clear& m) {
    if (m.window) {
        out.Write(*m.window);
    }
}
void WriteBody(Writer& out, const Reply& m) {
    out.WriteAll(m.time, m.snr, m.deltaTime, m.deltaFrequency, m.mode, m.message, m.lowConfidence,
                 m.modifiers);
}
void WriteBody(Writer& out, const QsoLogged& m) {
    out.WriteAll(m.timeOff, m.dxCall, m.dxGrid, m.txFrequency, m.mode, m.reportSent,
                 m.reportReceived, m.txPower, m.comments, m.name, m.timeOn, m.operatorCall,
                 m.myCall, m.myGrid, m.exchangeSent, m.exchangeReceived, m.propagationMode);
}
void WriteBody(Writer& out, const WsprDecode& m) {
    out.WriteAll(m.isNew, m.time, m.snr, m.deltaTime, m.frequency, m.drift, m.callsign, m.grid,
                 m.power, m.offAir);
}
void WriteBody(Writer&, const Close&) {}
void WriteBody(Writer&, const Other&) {}

// The type number each body is written under.
std::uint32_t TypeOf(const Message& message) {
    struct {
        std::uint32_t other;
        std::uint32_t operator()(const Other&) const { return other; }
        std::uint32_t operator()(const Heartbeat&) const { return 0; }
        std::uint32_t operator()(const Status&) const { return 1; }
        std::uint32_t operator()(const Decode&) const { return 2; }
        std::uint32_t operator()(const Clear&) const { return 3; }
        std::uint32_t operator()(const Reply&) const { return 4; }
        std::uint32_t operator()(const QsoLogged&) const { return 5; }
        std::uint32_t operator()(const Close&) const { return 6; }
        std::uint32_t operator()(const WsprDecode&) const { return 10; }
    } visitor{message.type};
    return std::visit(visitor, message.body);
}

}  // namespace

Parsed Parse(QByteArrayView datagram) {
    Parsed parsed;
    Message& message = parsed.message;
    Reader in(datagram);
    std::uint32_t magic = 0;
    in.Read(magic);
    if (in.fieldsRead() != 1 || magic != kMagic) {
        parsed.failure = Failure::kNotWsjtx;
        return parsed;
    }
    in.ReadAll(message.schema, message.type, message.id);
    if (in.fieldsRead() >= 2 && message.schema != 2 && message.schema != 3) {
        parsed.failure = Failure::kUnsupportedSchema;
        return parsed;
    }
    if (in.Finish(4) != Failure::kNone) {
        parsed.failure = in.Finish(4);
        return parsed;
    }
    in.StartBody();
    switch (static_cast<Type>(message.type)) {
        case Type::kHeartbeat:
            parsed.failure = ReadAs<Heartbeat>(in, message.body);
            break;
        case Type::kStatus:
            parsed.failure = ReadAs<Status>(in, message.body);
            break;
        case Type::kDecode:
            parsed.failure = ReadAs<Decode>(in, message.body);
            break;
        case Type::kClear:
            parsed.failure = ReadAs<Clear>(in, message.body);
            break;
        case Type::kReply:
            parsed.failure = ReadAs<Reply>(in, message.body);
            break;
        case Type::kQsoLogged:
            parsed.failure = ReadAs<QsoLogged>(in, message.body);
            break;
        case Type::kClose:
            parsed.failure = ReadAs<Close>(in, message.body);
            break;
        case Type::kWsprDecode:
            parsed.failure = ReadAs<WsprDecode>(in, message.body);
            break;
        default:
            message.body = Other{};
            break;
    }
    return parsed;
}

QByteArray Encode(const Message& message) {
    Writer out;
    out.WriteAll(kMagic, message.schema, TypeOf(message), message.id);
    std::visit([&out](const auto& body) { WriteBody(out, body); }, message.body);
    return out.take();
}

Reply ReplyTo(const Decode& decode, std::uint8_t modifiers) {
    Reply reply;
    reply.time = decode.time;
    reply.snr = decode.snr;
    reply.deltaTime = decode.deltaTime;
    reply.deltaFrequency = decode.deltaFrequency;
    reply.mode = decode.mode;
    reply.message = decode.message;
    reply.lowConfidence = decode.lowConfidence;
    reply.modifiers = modifiers;
    return reply;
}

}  // namespace orbida::stations::wsjtx
