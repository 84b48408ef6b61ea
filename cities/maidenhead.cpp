#include "cities/maidenhead.h"

#include "geodesy/locator.h"

namespace orbida::cities {
namespace {

// The character of code 65 + floor(v). Coordinates on the globe give "A" to "X"; beyond it, codes
// that are printable Latin-1 characters are shown as such (longitude 200 gives "@"), and any other
// code, a control character or one beyond 255, shows as "?".
QString Letter(int figure) {
    const int code = 65 + figure;
    if ((code >= 0x20 && code <= 0x7E) || (code >= 0xA0 && code <= 0xFF)) {
        return QString(QChar(static_cast<char16_t>(code)));
    }
    return QStringLiteral("?");
}

// The figure as one decimal digit, 0 to 9 on the globe. Far off it (or from a NaN, which lands on
// a pin) the figure has no single digit and shows as "?", so the cell stays one character.
QString Digit(int figure) {
    if (figure < 0 || figure > 9) {
        return QStringLiteral("?");
    }
    return QString(QChar(static_cast<char16_t>(u'0' + figure)));
}

}  // namespace

// The figures are the ones every locator of the program is made of, so the city's locator and
// the pointer's agree to the last character.
Locator MaidenheadLocator(double latitude, double longitude) {
    const geodesy::LocatorFigures f = geodesy::LocatorFiguresOf(latitude, longitude);
    Locator locator;
    locator.cells = {Letter(f[0]), Letter(f[1]), Digit(f[2]),
                     Digit(f[3]),  Letter(f[4]), Letter(f[5])};
    // Upper-casing changes nothing on the globe; beyond it the Latin-1 letters are upper-cased
    // too, one character for one ("ß" stays "ß" rather than becoming "SS"), so that the locator
    // is always six characters.
    for (const QString& cell : locator.cells) {
        locator.text += cell.front().toUpper();
    }
    return locator;
}

}  // namespace orbida::cities
