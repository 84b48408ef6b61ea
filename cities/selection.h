#pragma once

#include <QString>
#include <optional>

#include "cities/city_file.h"
#include "cities/coordinate_text.h"
#include "cities/maidenhead.h"
#include "geodesy/geo_point.h"
#include "geodesy/map_layout.h"

namespace orbida::cities {

// Everything the reference city decides on the window.
struct ReferenceState {
    geodesy::GeoPoint referencePoint;       // as parsed, full precision
    geodesy::GeoPoint referenceHundredths;  // cut down to hundredths (floor)
    // the marker on the map, twips
    float entoureLeft = static_cast<float>(geodesy::kEntoureStartLeft);
    float entoureTop = static_cast<float>(geodesy::kEntoureStartTop);
    QString longitudeText = kStartupDmsText;  // LblLonVille
    QString latitudeText = kStartupDmsText;   // LblLatVille
    Locator locator;                          // LblLocatVille and its cells
    QString cityName;  // upper-cased, beside the distance (LblVilleDistance); empty at start
    bool citySelected = false;       // LblVilleDistance and LblDistance shown
    bool internetConnected = false;  // once true, stays true

    friend bool operator==(const ReferenceState&, const ReferenceState&) = default;
};

// The values before any selection: marker at (4760, 2360), "            0°" texts, "JJ00AA".
ReferenceState StartupReference();

// The connection check's two answers, queried at every selection.
struct ConnectionReport {
    bool viaLan = false;
    bool online = false;

    friend bool operator==(const ConnectionReport&, const ConnectionReport&) = default;
};

// Makes city `index` of the catalogue the reference, on a map of mapWidth x mapHeight twips.
// Returns std::nullopt, and nothing changes, when index is -1 or out of range, or when the
// city's coordinates are missing or not finite (a value beyond about 1.8e306, whose hundredths
// overflow, counts as not finite). internetConnected becomes true when either
// answer of the connection report is true, and never goes back to false.
std::optional<ReferenceState> SelectCity(const Catalogue& catalogue, int index,
                                         const ReferenceState& current, ConnectionReport connection,
                                         float mapWidth, float mapHeight);

// Makes a point of the globe the reference (a locator's centre, typed coordinates), with the same
// texts and marker as a city, named `name` as given. A non-empty `locatorText` is shown as the
// locator (its first six characters), else the point's own. std::nullopt, and nothing changes,
// when the point is not usable.
std::optional<ReferenceState> SelectPoint(geodesy::GeoPoint point, const QString& name,
                                          const QString& locatorText, const ReferenceState& current,
                                          ConnectionReport connection, float mapWidth,
                                          float mapHeight);

}  // namespace orbida::cities
