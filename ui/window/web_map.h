#pragma once

#include <QString>

#include "geodesy/geo_point.h"

namespace orbida::ui {

// The web map service, opened centred on the reference city.
inline const QString kWebMapBase = QStringLiteral("https://www.mapquest.com");

// A coordinate as the address wants it: "." as the decimal point whatever the locale, up to 15
// significant digits, never in exponent form (0.00001, not 1e-05).
QString AddressNumber(double value);

// The address of the web map centred on a point (longitude WEST positive, as everywhere in the
// program; the address wants east positive, so it is negated here).
QString WebMapAddress(geodesy::GeoPoint reference);

// The tooltip of the web map button once a city has been validated.
QString WebMapTooltip(const QString& cityText);

}  // namespace orbida::ui
