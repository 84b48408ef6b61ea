#include "cities/maidenhead.h"

#include <cmath>

namespace orbida::cities {
namespace {

// floor(v) as an int, pinned to a range that no later arithmetic can overflow. Only coordinates far
// outside the globe get near the pins; a NaN (from an infinite coordinate) reads as the lower pin.
int PinnedFloor(double v) {
    constexpr double kPin = 100000.0;
    const double f = std::floor(v);
    if (!(f >= -kPin)) {
        return -static_cast<int>(kPin);
    }
    return f > kPin ? static_cast<int>(kPin) : static_cast<int>(f);
}

// The character of code 65 + floor(v). Coordinates on the globe give "A" to "X"; beyond it, codes
// that are printable Latin-1 characters are shown as such (longitude 200 gives "@"), and any other
// code, a control character or one beyond 255, shows as "?".
QString Letter(double v) {
    const int code = 65 + PinnedFloor(v);
    if ((code >= 0x20 && code <= 0x7E) || (code >= 0xA0 && code <= 0xFF)) {
        return QString(QChar(static_cast<char16_t>(code)));
    }
    return QStringLiteral("?");
}

// floor(v) as one decimal digit, 0 to 9 on the globe. Rounding can push v to exactly 10 far off
// it, and NaN comes from infinite coordinates: both show as "?", so the cell stays one character.
QString Digit(double v) {
    const int digit = PinnedFloor(v);
    if (std::isnan(v) || digit < 0 || digit > 9) {
        return QStringLiteral("?");
    }
    return QString(QChar(static_cast<char16_t>(u'0' + digit)));
}

}  // namespace

// The operations run in double precision in exactly this order: the figures depend on it. At
// latitude 40.71, longitude 74.00, X is the double just below 5.3, which gives FN20XR where exact
// decimal arithmetic would give FN30AR.
Locator MaidenheadLocator(double latitude, double longitude) {
    const double x = (180.0 - longitude) / 20.0;
    const double y = (90.0 + latitude) / 10.0;
    const double x2 = (x - std::floor(x)) * 10.0;
    const double y2 = (y - std::floor(y)) * 10.0;
    const double x3 = (x2 - std::floor(x2)) * 24.0;
    const double y3 = (y2 - std::floor(y2)) * 24.0;

    Locator locator;
    locator.cells = {Letter(x), Letter(y), Digit(x2), Digit(y2), Letter(x3), Letter(y3)};
    // Upper-casing changes nothing on the globe; beyond it the Latin-1 letters are upper-cased
    // too, one character for one ("ß" stays "ß" rather than becoming "SS"), so that the locator
    // is always six characters.
    for (const QString& cell : locator.cells) {
        locator.text += cell.front().toUpper();
    }
    return locator;
}

}  // namespace orbida::cities
