#include "geodesy/distance.h"

#include <cmath>

namespace orbida::geodesy {
namespace {

// Truncated decimal constants of the distance. They are not the exact values on purpose: every
// distance the program has ever shown was computed with them, down to the last kilometre.
constexpr double kDegreesPerRadian = 57.295779518;  // not 57.29577951308232
constexpr double kQuarterTurn = 1.570796;           // not pi / 2
constexpr double kFullTurn = 6.2831853;             // not 2 pi
constexpr double kCircumferenceMetres = 40030218.0;
constexpr double kMetresPerKilometre = 1000.0;

}  // namespace

double GetDistanceKm(double lonA, double latA, double lonB, double latB) {
    if (!(std::isfinite(lonA) && std::isfinite(latA) && std::isfinite(lonB) &&
          std::isfinite(latB))) {
        return kDistanceFailure;
    }
    // c1, c2: colatitudes in radians; dl: absolute longitude difference in radians.
    const double c1 = (90.0 - latA) / kDegreesPerRadian;
    const double c2 = (90.0 - latB) / kDegreesPerRadian;
    double dl = lonB - lonA;
    if (dl < 0.0) {
        dl = dl * -1.0;
    }
    dl = dl / kDegreesPerRadian;

    // x is the cosine of the angular distance; arccos is formed through the arctangent.
    const double x = (std::cos(c1) * std::cos(c2)) + ((std::sin(c2) * std::sin(c1)) * std::cos(dl));
    double metres = 0.0;
    if (x == 1.0) {
        metres = 0.0;
    } else if (x == -1.0) {
        metres = kCircumferenceMetres / 2.0;
    } else {
        const double s = 1.0 - x * x;
        if (!(s > 0.0)) {
            // Rounding put x a hair outside [-1, 1]: the pointer rests on the point itself (x just
            // above 1) or on its antipode (x just below -1). Those are the distances 0 and half the
            // circumference, not a failure.
            metres = x > 0.0 ? 0.0 : kCircumferenceMetres / 2.0;
        } else {
            const double r = std::sqrt(s);
            const double theta = std::atan(x / r);
            metres = ((kQuarterTurn - theta) / kFullTurn) * kCircumferenceMetres;
        }
    }
    return metres / kMetresPerKilometre;
}

}  // namespace orbida::geodesy
