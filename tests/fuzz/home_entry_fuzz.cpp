// Feeds arbitrary text to the reading of the city box and checks what the window relies on: the
// reading ends, a point it accepts is on the globe (finite, latitude within 90, longitude within
// 180, west positive), a locator's centre lies in the square typed, and a refusal says why.
// Run it with `make fuzz`.
#include <cmath>
#include <string>

#include "cities/home_entry.h"
#include "fuzz_check.h"
#include "geodesy/locator.h"

namespace {

using orbida::fuzz::Check;
using namespace orbida::cities;

const QStringList kNames = {QStringLiteral("Paris"), QStringLiteral("Besançon")};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) {
        return 0;
    }
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const HomeEntry e =
        ReadHomeEntry(text, [](const QString& t) { return FindCityByPrefix(kNames, t); });
    switch (e.kind) {
        case HomeKind::City:
            Check(e.cityIndex >= 0 && e.cityIndex < kNames.size());
            break;
        case HomeKind::Locator: {
            Check(e.locator == e.name && e.locator == e.locator.toUpper());
            const std::string square = e.locator.toStdString();
            Check(orbida::geodesy::LocatorOf(e.point.latitude, e.point.longitude,
                                             static_cast<int>(square.size())) == square);
            [[fallthrough]];
        }
        case HomeKind::Coordinates:
            Check(std::isfinite(e.point.latitude) && std::isfinite(e.point.longitude));
            Check(std::abs(e.point.latitude) <= 90.0 && std::abs(e.point.longitude) <= 180.0);
            Check(!e.name.isEmpty());
            break;
        case HomeKind::Refused:
            Check(e.reason.isEmpty() == text.simplified().isEmpty());
            break;
        case HomeKind::Callsign:
            Check(!e.name.isEmpty() && e.name == e.name.toUpper() && !e.name.contains(u' '));
            break;
    }
    return 0;
}
