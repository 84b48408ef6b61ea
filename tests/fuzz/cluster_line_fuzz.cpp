// Feeds arbitrary bytes, as a node would send them in reads of arbitrary sizes, to the line
// splitter and the reader of cluster lines, and checks what the session relies on: no line
// longer than the limit, nothing held past it; a cleaned line without control characters; a spot
// with a call and a spotter, a frequency of at most nine digits, a time within a day before the
// clock or the allowed skew after it, a band that is the frequency's.
// Run it with `make fuzz`.
#include "fuzz_check.h"
#include "stations/cluster_line.h"

namespace {

using orbida::fuzz::Check;
using namespace orbida::stations::cluster;

constexpr std::int64_t kNow = 1797854440;  // 2026-12-21T12:00:40Z

void CheckLine(QByteArrayView bytes) {
    Check(bytes.size() <= kMaxLineBytes);
    const Line line = ReadLine(bytes, kNow);
    for (const QChar c : line.text) {
        Check(c.unicode() >= 0x20 && c.unicode() != 0x7F);
    }
    if (line.kind != LineKind::kSpot) {
        return;
    }
    const Spot& spot = line.spot;
    Check(!spot.call.isEmpty() && !spot.spotter.isEmpty() && line.from == spot.spotter);
    Check(spot.kilohertz >= 0.0 && spot.kilohertz < 1e9);
    Check(spot.utcMinutes >= 0 && spot.utcMinutes < 24 * 60);
    Check(spot.time <= kNow + kClockSkewSeconds && spot.time > kNow - 86400 + kClockSkewSeconds);
    Check(spot.time % 60 == 0);
    Check(spot.band == QString::fromLatin1(BandOf(spot.kilohertz)));
    Check(spot.spotterLocator.isEmpty() || spot.spotterZone == 0);
    Check(spot.comment == spot.comment.trimmed());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte sets the size of the reads the rest arrives in.
    const qsizetype chunk = data[0] % 64 + 1;
    const QByteArrayView stream(data + 1, static_cast<qsizetype>(size - 1));
    LineSplitter splitter;
    for (qsizetype at = 0; at < stream.size(); at += chunk) {
        for (const QByteArray& line : splitter.Feed(
                 stream.sliced(at).first(std::min<qsizetype>(chunk, stream.size() - at)))) {
            Check(!line.isEmpty() && !line.contains('\n') && !line.contains('\r'));
            CheckLine(line);
        }
        Check(splitter.pendingBytes() <= kMaxLineBytes);
    }
    // The whole input as one line too, whatever its length.
    ReadLine(stream, kNow);
    return 0;
}
