// Feeds arbitrary bytes to the reader of WSJT-X's datagrams and checks what the listener relies
// on: a datagram read has the body of its type and keeps no more text than it carried; written
// back and read again it gives the same bytes; a failure is one of the kinds listed. The stations
// named by decodes, and by the bytes taken as a message text, have a call and a square or none.
// Run it with `make fuzz`.
#include <QString>

#include "fuzz_check.h"
#include "stations/decoded_station.h"
#include "stations/wsjtx_message.h"

namespace {

using orbida::fuzz::Check;
using namespace orbida::stations;
using namespace orbida::stations::wsjtx;

void CheckStation(const std::optional<DecodedStation>& station) {
    if (station) {
        Check(LooksLikeCall(station->call));
        Check(station->grid.isEmpty() || station->grid.size() == 4 || station->grid.size() == 6);
    }
}

// The body each known type is read into.
std::size_t ExpectedIndex(std::uint32_t type) {
    switch (type) {
        case 0:
            return 1;
        case 1:
            return 2;
        case 2:
            return 3;
        case 3:
            return 4;
        case 4:
            return 5;
        case 5:
            return 6;
        case 6:
            return 7;
        case 10:
            return 8;
        default:
            return 0;
    }
}

qsizetype TextBytes(const Message& m) {
    qsizetype total = m.id.size();
    std::visit(
        [&total](const auto& body) {
            using T = std::decay_t<decltype(body)>;
            if constexpr (std::is_same_v<T, Decode>) {
                total += body.mode.size() + body.message.size();
            } else if constexpr (std::is_same_v<T, WsprDecode>) {
                total += body.callsign.size() + body.grid.size();
            } else if constexpr (std::is_same_v<T, Heartbeat>) {
                total += body.version.size() + body.revision.size();
            }
        },
        m.body);
    return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const Parsed parsed = Parse(bytes);
    CheckStation(
        StationFromText(QString::fromLatin1(bytes.first(std::min<qsizetype>(bytes.size(), 80))),
                        QStringLiteral("K1ABC")));
    if (!parsed.ok()) {
        Check(parsed.failure == Failure::kNotWsjtx || parsed.failure == Failure::kTruncated ||
              parsed.failure == Failure::kUnsupportedSchema || parsed.failure == Failure::kCorrupt);
        return 0;
    }
    const Message& message = parsed.message;
    Check(message.schema == 2 || message.schema == 3);
    Check(message.body.index() == ExpectedIndex(message.type));
    Check(TextBytes(message) <= bytes.size());

    const QByteArray written = Encode(message);
    const Parsed again = Parse(written);
    Check(again.ok() && again.message.type == message.type);
    Check(Encode(again.message) == written);

    if (const auto* decode = std::get_if<Decode>(&message.body)) {
        CheckStation(StationFromDecode(*decode, QString::fromUtf8(message.id)));
        Message reply;
        reply.body = ReplyTo(*decode, 0x02);
        const Parsed read = Parse(Encode(reply));
        Check(read.ok() && std::get<Reply>(read.message.body).message == decode->message);
    } else if (const auto* wspr = std::get_if<WsprDecode>(&message.body)) {
        CheckStation(StationFromWspr(*wspr));
    }
    return 0;
}
