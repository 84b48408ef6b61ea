#pragma once

#include <array>
#include <cstddef>

#include "geodesy/geo_point.h"

namespace orbida::geodesy {

// Circumference of the spherical Earth the distances are measured on, in kilometres.
inline constexpr double kCircumferenceKm = 40030.218;

// The long path's heading: the short one turned half round, in [0, 360), whole degrees (floored
// after the turn). Any finite short azimuth is accepted (360 reads as 0); a non-finite one gives 0.
double LongPathAzimuth(double shortAzimuthDegrees);

// The long path's length: the rest of the great circle, circumference minus the short distance.
// The short distance is taken within [0, half the circumference], so the result is never below
// half the circumference; a non-finite short distance gives the whole circumference.
double LongPathDistanceKm(double shortDistanceKm);

inline constexpr std::size_t kLongPathPoints = 15;

// Points spread evenly along the long arc of the great circle from `from` to `to` (degrees,
// longitude west positive, latitude and longitude of every point within their ranges): point k of
// n lies at (k + 1) / (n + 1) of the long way. On the point itself or its antipode every great
// circle is as good as another, and the one through the poles is taken.
std::array<GeoPoint, kLongPathPoints> LongPathPoints(GeoPoint from, GeoPoint to);

}  // namespace orbida::geodesy
