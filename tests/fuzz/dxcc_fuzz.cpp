// Feeds arbitrary bytes to the country file reader, then looks up callsigns cut from the same
// bytes and a few fixed ones, and checks what the rest of the program relies on: every country
// found has zones, a continent and a position in range; letter case does not change the answer;
// /MM and /AM calls have no country unless the file lists them whole.
// Run it with `make fuzz`; a corpus started from /usr/share/hamradio-files/cty.dat wants
// -max_len=400000.
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "dxcc/country_file.h"
#include "fuzz_check.h"

namespace {

using orbida::fuzz::Check;
using namespace orbida::dxcc;

void CheckCountry(const Country& c) {
    Check(!c.name.isEmpty() && !c.primaryPrefix.isEmpty() && c.continent.size() == 2);
    Check(c.cqZone >= 1 && c.cqZone <= 40 && c.ituZone >= 1 && c.ituZone <= 90);
    Check(std::fabs(c.latitude) <= 90.0 && std::fabs(c.longitude) <= 180.0);
    Check(std::fabs(c.localOffset) <= 24.0 && !c.matched.isEmpty() && !c.callsign.isEmpty());
}

void CheckLookup(const CountryFile& file, std::string_view call) {
    const LookupResult result = file.Lookup(call);
    std::string lower(call);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    const LookupResult again = file.Lookup(lower);
    Check(result.country.has_value() == again.country.has_value());
    if (result.country) {
        CheckCountry(*result.country);
        Check(result.country->name == again.country->name &&
              result.country->cqZone == again.country->cqZone);
    } else {
        Check(result.failure == again.failure);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = orbida::fuzz::Bytes(data, size);
    const CountryFile file = CountryFile::Parse(bytes);
    Check(file.skippedCount() >= 0 && static_cast<std::size_t>(file.entryCount()) <= size);
    Check(file.skippedSummary().isEmpty() == (file.skippedCount() == 0));

    constexpr std::array<std::string_view, 8> fixed = {
        "3B8CF", "VK0EK", "JA1NUT/P", "EA8/DL1ABC", "W1AW/7", "K1ABC/MM", "/", "A/B/C/D/1"};
    for (const std::string_view call : fixed) {
        CheckLookup(file, call);
    }
    const LookupResult mobile = file.Lookup(std::string_view("ZZ9ZZZ/AM"));
    Check(!mobile.country || mobile.country->exactCall);

    // Calls cut from the input: every line's start, and the whole input.
    for (std::size_t start = 0; start < size;) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            end = size;
        }
        CheckLookup(file, bytes.substr(start, std::min<std::size_t>(end - start, 40)));
        start = end + 1;
    }
    const LookupResult whole = file.Lookup(QString::fromLatin1(
        QByteArrayView(bytes.data(), static_cast<qsizetype>(std::min<std::size_t>(size, 200)))));
    if (whole.country) {
        CheckCountry(*whole.country);
    }
    return 0;
}
