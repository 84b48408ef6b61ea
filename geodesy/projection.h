#pragma once

#include <cstdint>

#include "geodesy/geo_point.h"
#include "geodesy/map_layout.h"

namespace orbida::geodesy {

// A position in twips in the map control's own coordinate space (origin at its top-left corner).
struct MapPosition {
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const MapPosition&, const MapPosition&) = default;
};

// Screen pixels to map twips. The twips-per-pixel factors and the window and map positions are
// the 32-bit floats the controls hold; the arithmetic is in doubles.
MapPosition CursorToMap(std::int32_t cursorX, std::int32_t cursorY, float twipsPerPixelX,
                        float twipsPerPixelY, float windowLeft, float windowTop, float mapLeft,
                        float mapTop);

// Map twips to degrees at full precision: what a locator is computed from.
GeoPoint MapToExactDegrees(MapPosition position, float mapWidth, float mapHeight);

// Map twips to degrees, each cut down to hundredths. The scale follows the control's size
// (9630 x 4815 twips as laid out), not the picture's.
GeoPoint MapToDegrees(MapPosition position, float mapWidth, float mapHeight);

// Degrees to map twips, the inverse of MapToDegrees, for placing marks on the map.
MapPosition DegreesToMap(GeoPoint point, float mapWidth, float mapHeight);

// Whether a readout text is refreshed: |floor(value)| < 181 for a longitude, < 91 for a latitude.
bool LongitudeReadoutTest(double longitude);
bool LatitudeReadoutTest(double latitude);

// Whether the pointer counts as over the map: at least one readout was refreshed, and neither
// |floor(longitude)| > 181 nor |floor(latitude)| > 91. A value of exactly 181 (or 91) fails its
// own readout test but does not by itself fail this one.
bool TrackingTest(bool readoutRefreshed, GeoPoint cursor);

// Whether the route dots are shown: 0 < x < 9630 and -10 < y < 4820 twips, all strict. These are
// fixed numbers, not the control's size.
bool InDotBox(MapPosition position);

}  // namespace orbida::geodesy
