#include "geodesy/locator.h"

#include <algorithm>
#include <cmath>

namespace orbida::geodesy {
namespace {

int PinnedFloor(double v) {
    constexpr double kPin = 100000.0;
    const double f = std::floor(v);
    if (!(f >= -kPin)) {
        return -static_cast<int>(kPin);
    }
    return f > kPin ? static_cast<int>(kPin) : static_cast<int>(f);
}

// How many values each figure takes: letters of the field, digits, letters of the subsquares.
constexpr std::array<int, 5> kBase = {18, 10, 24, 10, 24};

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The value of one character of a locator at position `pair` (0 to 4), or -1.
int FigureValue(char c, std::size_t pair) {
    const int base = kBase[pair];
    int value = -1;
    if (pair % 2 == 1) {
        value = c >= '0' && c <= '9' ? c - '0' : -1;
    } else {
        const char upper = Upper(c);
        value = upper >= 'A' && upper <= 'Z' ? upper - 'A' : -1;
    }
    return value < base ? value : -1;
}

}  // namespace

LocatorFigures LocatorFiguresOf(double latitude, double longitude) {
    // Degrees east of 180 W and north of 90 S.
    const double east = 180.0 - longitude;
    const double north = 90.0 + latitude;
    LocatorFigures figures{};
    if (east >= 0.0 && east <= 360.0 && north >= 0.0 && north <= 180.0) {
        // On the globe: the index of the smallest square the point lies in, counted from 180 W
        // (1/2880 of a degree) and from 90 S (1/5760), then taken apart figure by figure. A
        // point on an edge belongs to the square east or north of it (37.5 N 14 E is JM77AM,
        // which step-by-step fractions in doubles put in JM67XM); 180 E is 180 W through the
        // figures' remainders, and 90 N lies in the last row.
        constexpr long kColumns = 18L * 10 * 24 * 10 * 24;
        constexpr long kRows = kColumns;
        long column = static_cast<long>(std::floor(east * (kColumns / 360.0)));
        long row = std::min(static_cast<long>(std::floor(north * (kRows / 180.0))), kRows - 1);
        for (std::size_t pair = kBase.size(); pair-- > 0;) {
            figures[2 * pair] = static_cast<int>(column % kBase[pair]);
            figures[2 * pair + 1] = static_cast<int>(row % kBase[pair]);
            column /= kBase[pair];
            row /= kBase[pair];
        }
        return figures;
    }
    // Off the globe the same steps still give integers, to show what was asked for.
    double x = east / 20.0;
    double y = north / 10.0;
    figures[0] = PinnedFloor(x);
    figures[1] = PinnedFloor(y);
    for (std::size_t pair = 1; pair < kBase.size(); ++pair) {
        const auto scale = static_cast<double>(kBase[pair]);
        x = (x - std::floor(x)) * scale;
        y = (y - std::floor(y)) * scale;
        figures[2 * pair] = PinnedFloor(x);
        figures[2 * pair + 1] = PinnedFloor(y);
    }
    return figures;
}

std::string LocatorOf(double latitude, double longitude, int length) {
    if (length != 4 && length != 8 && length != 10) {
        length = 6;
    }
    const LocatorFigures figures = LocatorFiguresOf(latitude, longitude);
    std::string text;
    text.reserve(static_cast<std::size_t>(length));
    for (std::size_t i = 0; i < static_cast<std::size_t>(length); ++i) {
        const std::size_t pair = i / 2;
        const int f = figures[i];
        if (f < 0 || f >= kBase[pair]) {
            text += '?';
        } else {
            text += static_cast<char>((pair % 2 == 1 ? '0' : 'A') + f);
        }
    }
    return text;
}

std::optional<GeoPoint> LocatorCentre(std::string_view locator) {
    const std::size_t n = locator.size();
    if (n != 4 && n != 6 && n != 8 && n != 10) {
        return std::nullopt;
    }
    // Degrees east of 180 W and north of 90 S; each pair narrows the square.
    double east = 0.0;
    double north = 0.0;
    double width = 360.0;
    double height = 180.0;
    for (std::size_t pair = 0; pair < n / 2; ++pair) {
        const int lon = FigureValue(locator[2 * pair], pair);
        const int lat = FigureValue(locator[2 * pair + 1], pair);
        if (lon < 0 || lat < 0) {
            return std::nullopt;
        }
        width /= kBase[pair];
        height /= kBase[pair];
        east += lon * width;
        north += lat * height;
    }
    GeoPoint centre;
    centre.latitude = north + height / 2.0 - 90.0;
    centre.longitude = 180.0 - (east + width / 2.0);  // west positive
    return centre;
}

}  // namespace orbida::geodesy
