#include "tracking/dial.h"

#include <cmath>

#include "geodesy/numbers.h"

namespace orbida::tracking {
namespace {

// Whether the cursor lies west of the reference along the shorter way round: the longitude
// difference (west positive) brought into (-180, 180] is positive. A cursor on the reference's
// meridian or exactly opposite it counts as east; there the course is 0 or 180 either way.
bool WestOfReference(double cursorLonRad, double referenceLonRad, double degToRad) {
    const double dLon = std::remainder((cursorLonRad - referenceLonRad) / degToRad, 360.0);
    return dLon > 0.0 && dLon < 180.0;
}

}  // namespace

Dial ComputeDial(double courseAngle, double cursorLonRad, double referenceLonRad, double pi,
                 double degToRad) {
    Dial dial;
    double courseDegrees = std::floor((courseAngle * 180.0) / pi);
    if (!(courseDegrees >= 0.0 && courseDegrees <= 180.0)) {
        courseDegrees = 0.0;  // only reachable with unusable angle constants
    }
    double exact = (courseAngle * 180.0) / pi;
    if (!(exact >= 0.0 && exact <= 180.0)) {
        exact = 0.0;
    }

    // The course angle is unsigned; the side of the reference the cursor lies on turns it into
    // an azimuth. A target just west of home (48.8 N 1.5 E from Paris) is 265°, not 95°.
    const bool west = WestOfReference(cursorLonRad, referenceLonRad, degToRad);
    dial.azimuth = west ? 360.0 - courseDegrees : courseDegrees;
    dial.course = west ? 360.0 - exact : exact;
    if (!(dial.course < 360.0)) {
        dial.course = 0.0;  // due north, reached from the west side as 360
    }

    dial.text = geodesy::FormatWhole(dial.azimuth) + " °";
    dial.needleX2 = geodesy::ToControlFloat(std::sin(dial.azimuth * degToRad) * 300.0 + 2040.0);
    dial.needleY2 = geodesy::ToControlFloat(580.0 - std::cos(dial.azimuth * degToRad) * 300.0);
    return dial;
}

}  // namespace orbida::tracking
