#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "geodesy/geo_point.h"

namespace orbida::geodesy {

// The figures of a point's Maidenhead locator, pair by pair (longitude first, then latitude):
// field (0-17 on the globe, shown A-R), square (0-9), subsquare (0-23, A-X), extended square
// (0-9) and sub-extended square (0-23, A-X). A point on a square's edge lies in the square east
// or north of it; longitude 180 E is 180 W, and latitude 90 N lies in the last row (AR09AX at
// 90 N 180 E). Off the globe each figure is the floor of its step, pinned to +-100000 so that
// points far off still give integers; a NaN reads as the lower pin.
using LocatorFigures = std::array<int, 10>;

// latitude north positive, longitude WEST positive, in degrees, at the precision the point is
// known: a city's locator comes from its coordinates as written, not cut to hundredths.
LocatorFigures LocatorFiguresOf(double latitude, double longitude);

// The locator of a point with `length` characters (4, 6, 8 or 10; anything else gives 6), in
// capitals. A figure off the globe shows as '?'.
std::string LocatorOf(double latitude, double longitude, int length = 6);

// The centre of a locator's square: 4, 6, 8 or 10 characters, any letter case; field letters
// A-R, square digits 0-9, subsquare letters A-X, extended digits 0-9, sub-extended letters A-X.
// Longitude WEST positive. std::nullopt for anything else.
std::optional<GeoPoint> LocatorCentre(std::string_view locator);

}  // namespace orbida::geodesy
