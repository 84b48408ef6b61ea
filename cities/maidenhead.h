#pragma once

#include <QString>
#include <array>

namespace orbida::cities {

inline const QString kStartupLocator = QStringLiteral("JJ00AA");

// The six-character Maidenhead locator (field, square, subsquare, all upper case) of a latitude
// (north positive) and a longitude (WEST positive), at full precision.
struct Locator {
    std::array<QString, 6> cells;  // Label1..Label6
    QString text;                  // the six cells joined (Locarte1, LblLocatVille)

    friend bool operator==(const Locator&, const Locator&) = default;
};

Locator MaidenheadLocator(double latitude, double longitude);

}  // namespace orbida::cities
