#include "tracking/dial.h"

#include <cmath>

#include "geodesy/numbers.h"

namespace orbida::tracking {

Dial ComputeDial(double courseAngle, float entoureLeft, double mapX, double cursorLonRad,
                 double referenceLonRad, double pi, double degToRad) {
    Dial dial;
    double courseDegrees = std::floor((courseAngle * 180.0) / pi);
    if (!(courseDegrees >= 0.0 && courseDegrees <= 180.0)) {
        courseDegrees = 0.0;  // only reachable with unusable angle constants
    }

    // The ring's centre, 35 twips right of its Left, tells east from west of the city. Across the
    // antimeridian the map's left/right no longer match west/east, hence the second test.
    const float ringCentre = entoureLeft + 35.0f;
    const double a0 =
        static_cast<double>(ringCentre) > mapX ? courseDegrees : 360.0 - courseDegrees;
    const double dLon = (cursorLonRad - referenceLonRad) / degToRad;
    dial.azimuth = std::abs(dLon) < 180.0 ? std::abs(a0 - 360.0) : std::abs(a0);

    // The same sides without rounding the angle first.
    double exact = (courseAngle * 180.0) / pi;
    if (!(exact >= 0.0 && exact <= 180.0)) {
        exact = 0.0;
    }
    const double e0 = static_cast<double>(ringCentre) > mapX ? exact : 360.0 - exact;
    dial.course = std::abs(dLon) >= 180.0 ? std::abs(e0) : std::abs(e0 - 360.0);
    if (!(dial.course < 360.0)) {
        dial.course = 0.0;  // due north, reached from the west side as 360
    }

    dial.text = geodesy::FormatWhole(dial.azimuth) + " °";
    dial.needleX2 = geodesy::ToControlFloat(std::sin(dial.azimuth * degToRad) * 300.0 + 2040.0);
    dial.needleY2 = geodesy::ToControlFloat(580.0 - std::cos(dial.azimuth * degToRad) * 300.0);
    return dial;
}

}  // namespace orbida::tracking
