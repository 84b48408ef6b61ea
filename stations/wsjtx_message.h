#pragma once

// WSJT-X's UDP messages: a datagram read into a Message, and a Message written back into a
// datagram. The wire format is a big-endian Qt data stream: the magic number 0xADBCCBDA, the
// schema (2 or 3; both encode the fields read here the same way), the message type, the sender's
// id, then the fields of that type.
//
// Text fields stay as the UTF-8 bytes that came in (QByteArray): a null one (length 0xFFFFFFFF)
// is told from an empty one by isNull(), and a Reply echoes a decode's text byte for byte.
#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QTime>
#include <cstdint>
#include <optional>
#include <variant>

namespace orbida::stations::wsjtx {

inline constexpr std::uint32_t kMagic = 0xADBCCBDAu;
// The schema WSJT-X writes with Qt 5.4 or later, and the one assumed from a Heartbeat that does
// not say.
inline constexpr std::uint32_t kSchema = 3;
inline constexpr std::uint32_t kDefaultMaxSchema = 2;
// Frequency tolerance and T/R period when WSJT-X has none to give.
inline constexpr std::uint32_t kNotApplicable = 0xFFFFFFFFu;

enum class Type : std::uint32_t {
    kHeartbeat = 0,
    kStatus = 1,
    kDecode = 2,
    kClear = 3,
    kReply = 4,
    kQsoLogged = 5,
    kClose = 6,
    kWsprDecode = 10,
};

// Newer versions of WSJT-X add fields at the end of a message; an older sender stops earlier. A
// field missing at the very end keeps the value below (a null text for text), which is also what
// the protocol gives it then.
struct Heartbeat {
    std::uint32_t maxSchema = kDefaultMaxSchema;
    QByteArray version;
    QByteArray revision;

    friend bool operator==(const Heartbeat&, const Heartbeat&) = default;
};

struct Status {
    std::uint64_t dialFrequency = 0;  // Hz
    QByteArray mode;
    QByteArray dxCall;
    QByteArray report;
    QByteArray txMode;
    bool txEnabled = false;
    bool transmitting = false;
    bool decoding = false;
    std::uint32_t rxDf = 0;  // Hz above the dial
    std::uint32_t txDf = 0;
    QByteArray deCall;  // the operator's own call
    QByteArray deGrid;
    QByteArray dxGrid;
    bool txWatchdog = false;
    QByteArray subMode;
    bool fastMode = false;
    std::uint8_t specialOperationMode = 0;
    std::uint32_t frequencyTolerance = kNotApplicable;
    std::uint32_t trPeriod = kNotApplicable;  // seconds
    QByteArray configurationName;
    QByteArray txMessage;

    friend bool operator==(const Status&, const Status&) = default;
};

struct Decode {
    bool isNew = false;  // false when replayed on request
    QTime time;          // UTC, of the period's start; null when the sender had none
    std::int32_t snr = 0;
    double deltaTime = 0.0;            // seconds
    std::uint32_t deltaFrequency = 0;  // Hz above the dial
    QByteArray mode;                   // WSJT-X's one-character code ("~" for FT8)
    QByteArray message;
    bool lowConfidence = false;
    bool offAir = false;  // decoded from a recording

    friend bool operator==(const Decode&, const Decode&) = default;
};

// The Clear that WSJT-X sends (its Band Activity window was erased) has no field; the one it
// receives names the window to clear.
struct Clear {
    std::optional<std::uint8_t> window;  // 0 Band Activity, 1 Rx Frequency, 2 both

    friend bool operator==(const Clear&, const Clear&) = default;
};

// Sent to WSJT-X: answer a CQ or QRZ decode as a double click on it would. WSJT-X acts only when
// the fields describe one of its decodes exactly.
struct Reply {
    QTime time;
    std::int32_t snr = 0;
    double deltaTime = 0.0;
    std::uint32_t deltaFrequency = 0;
    QByteArray mode;
    QByteArray message;
    bool lowConfidence = false;
    std::uint8_t modifiers = 0;  // keyboard modifiers held during the "double click"

    friend bool operator==(const Reply&, const Reply&) = default;
};

struct QsoLogged {
    QDateTime timeOff;
    QByteArray dxCall;
    QByteArray dxGrid;
    std::uint64_t txFrequency = 0;  // Hz
    QByteArray mode;
    QByteArray reportSent;
    QByteArray reportReceived;
    QByteArray txPower;
    QByteArray comments;
    QByteArray name;
    QDateTime timeOn;
    QByteArray operatorCall;
    QByteArray myCall;
    QByteArray myGrid;
    QByteArray exchangeSent;
    QByteArray exchangeReceived;
    QByteArray propagationMode;  // ADIF

    friend bool operator==(const QsoLogged&, const QsoLogged&) = default;
};

struct Close {
    friend bool operator==(const Close&, const Close&) = default;
};

struct WsprDecode {
    bool isNew = false;
    QTime time;
    std::int32_t snr = 0;
    double deltaTime = 0.0;
    std::uint64_t frequency = 0;  // Hz
    std::int32_t drift = 0;       // Hz
    QByteArray callsign;
    QByteArray grid;
    std::int32_t power = 0;  // dBm
    bool offAir = false;

    friend bool operator==(const WsprDecode&, const WsprDecode&) = default;
};

// A message of a type not read here: the protocol wants it ignored, not refused.
struct Other {
    friend bool operator==(const Other&, const Other&) = default;
};

using Body =
    std::variant<Other, Heartbeat, Status, Decode, Clear, Reply, QsoLogged, Close, WsprDecode>;

struct Message {
    std::uint32_t schema = kSchema;
    std::uint32_t type = 0;  // as sent; Other's true type
    QByteArray id;           // the sending (or, for a Reply, the addressed) WSJT-X instance
    Body body;

    friend bool operator==(const Message&, const Message&) = default;
};

enum class Failure {
    kNone,
    kNotWsjtx,           // shorter than a header, or not WSJT-X's magic number
    kUnsupportedSchema,  // neither 2 nor 3
    kTruncated,          // ends inside a field, or before the fields a message needs
    kCorrupt,            // a value no sender writes (a time past midnight, an unknown time spec)
};

struct Parsed {
    Message message;
    Failure failure = Failure::kNone;
    bool ok() const { return failure == Failure::kNone; }
};

// Reads one datagram. Never reads outside it, and allocates at most the datagram's size for the
// texts it keeps, whatever the lengths written inside claim. Bytes after the last field known
// here are ignored.
Parsed Parse(QByteArrayView datagram);

// Writes a message as WSJT-X would, under message.schema and with message.id. An Other body
// writes the header alone, of message.type.
QByteArray Encode(const Message& message);

// The Reply that answers a decode of the WSJT-X instance `id`: the decode's own fields, echoed.
Reply ReplyTo(const Decode& decode, std::uint8_t modifiers = 0);

}  // namespace orbida::stations::wsjtx
