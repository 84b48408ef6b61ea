#pragma once

namespace orbida::geodesy {

// A position on the globe in decimal degrees: latitude positive to the north, longitude positive
// to the WEST (east negative). The whole program keeps this convention; only the web map address
// flips the longitude's sign.
struct GeoPoint {
    double latitude = 0.0;
    double longitude = 0.0;

    friend bool operator==(const GeoPoint&, const GeoPoint&) = default;
};

}  // namespace orbida::geodesy
