// Feeds arbitrary bytes to the rotator's reply reader, as one question's answer cut into the
// pieces the network might deliver, and checks what the client relies on: the reader never holds
// a line longer than its cap, a failure always has a reason, a completed position is finite, and
// completed limits leave some azimuth to send, inside them. The same bytes are read as a daemon's
// address too: an address taken has a host the reader takes alone, of printable ASCII without a
// blank, and reads back the same when written out.
// Run it with `make fuzz`.
#include <cmath>

#include "fuzz_check.h"
#include "rotator/address.h"
#include "rotator/protocol.h"

using orbida::fuzz::Check;
using namespace orbida::rotator;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // First byte: the question; second: the size of the pieces.
    const auto question = static_cast<Question>(data[0] % 4);
    const std::size_t piece = 1 + data[1];
    std::string_view bytes = orbida::fuzz::Bytes(data + 2, size - 2);

    const AddressReading address = ReadAddress(bytes);
    Check(address.address.has_value() == address.problem.empty());
    if (address.address) {
        const std::string& host = address.address->host;
        Check(HostProblem(host).empty() && host.size() <= kMaxHost && address.address->port > 0);
        for (const char c : host) {
            Check(c > 0x20 && c < 0x7F);
        }
        const AddressReading again = ReadAddress(FormatAddress(*address.address));
        Check(again.address && again.address->host == host &&
              again.address->port == address.address->port);
    }

    ReplyReader reader;
    reader.Expect(question);
    while (!bytes.empty() && reader.status() == ReplyReader::Status::kPending) {
        const std::size_t taken = bytes.size() < piece ? bytes.size() : piece;
        reader.Feed(bytes.substr(0, taken));
        bytes.remove_prefix(taken);
    }
    if (reader.status() == ReplyReader::Status::kPending && (data[1] & 1) != 0) {
        reader.Close();
    }
    if (reader.status() == ReplyReader::Status::kFailed) {
        Check(!reader.failure().empty());
        return 0;
    }
    if (reader.status() != ReplyReader::Status::kComplete) {
        return 0;
    }
    const Reply reply = reader.Take();
    Check(reply.code <= 0);
    Check(std::isfinite(reply.azimuth) && std::isfinite(reply.elevation));
    for (const char c : reply.info) {
        Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    }
    if (question == Question::kDumpState) {
        const Limits& limits = reply.limits;
        Check(limits.minAzimuth < limits.maxAzimuth);
        const double elevation = LevelElevation(limits);
        Check(elevation >= limits.minElevation && elevation <= limits.maxElevation);
        for (const double course : {0.0, 90.0, 292.4, 359.96, reply.azimuth}) {
            const auto tenths = AzimuthTenths(course, limits, reply.azimuth);
            if (tenths) {
                const double sent = static_cast<double>(*tenths) / 10.0;
                Check(sent >= limits.minAzimuth - 1e-6 && sent <= limits.maxAzimuth + 1e-6);
                Check(!SetPositionCommand(*tenths, elevation).empty());
            }
        }
    }
    return 0;
}
