#pragma once

namespace orbida::geodesy {

// Failure value of GetDistanceKm, shown unchanged by the distance readout.
inline constexpr double kDistanceFailure = -9999.0;

// Great-circle distance in kilometres between A and B on a spherical Earth of circumference
// 40030218 m, from coordinates in decimal degrees (the sign convention of longitudes does not
// matter, only their difference). The result is unrounded. Returns kDistanceFailure only when an
// input is not finite.
double GetDistanceKm(double lonA, double latA, double lonB, double latB);

}  // namespace orbida::geodesy
