#pragma once

#include <array>
#include <cstddef>

namespace orbida::geodesy {

// Direct: the shorter way in longitude from the reference to the cursor stays inside +-180.
// Antimeridian: it crosses the +-180 meridian (a difference of exactly 180 degrees counts here).
enum class RouteCase { Direct, Antimeridian };

// One sample of the route: the dot it drives (1 to 11, for Shape1..Shape11), the sample longitude
// in radians (not wrapped into +-pi) and the route's latitude there in degrees.
struct RouteSample {
    int dot = 0;
    double longitude = 0.0;
    double latitude = 0.0;
};

// The samples in the order the dots are placed: 6 in the direct case, 11 across the antimeridian.
struct RoutePlan {
    RouteCase routeCase = RouteCase::Direct;
    std::size_t count = 0;
    std::array<RouteSample, 11> samples{};
};

// Latitude in radians, at longitude lambdaS, of the great circle through (phiR, lambdaR) and
// (phiC, lambdaC); all arguments in radians. NaN when the two longitudes are equal (0 / 0).
double RouteLatitude(double phiR, double lambdaR, double phiC, double lambdaC, double lambdaS);

// Samples the great circle from the reference (phiR, lambdaR) to the cursor (phiC, lambdaC), all
// in radians with longitudes positive to the west. degToRad and pi are the program's angle
// constants.
RoutePlan SampleRoute(double phiR, double lambdaR, double phiC, double lambdaC, double degToRad,
                      double pi);

}  // namespace orbida::geodesy
