#include "geodesy/course.h"

#include <cmath>

namespace orbida::geodesy {

// Notation: phi latitudes, lambda longitudes, h a quarter turn. cosd and cosc are the cosines of
// the angular distance and of the course angle; arccos is formed as h - atan(x / sqrt(1 - x^2)).
Course ComputeCourse(double phi1, double lambda1, double phi2, double lambda2, double pi) {
    const double h = pi / 2.0;
    Course out;

    // cos phi2, cos phi1, sin phi2 and sin phi1, evaluated in this shifted form on purpose: the
    // last bits of the result depend on it.
    const double a = std::sin(h - phi2);
    const double b = std::sin(h - phi1);
    const double c = std::cos(h - phi2);
    const double d = std::cos(h - phi1);
    const double cosd = ((std::cos(lambda1 - lambda2) * a) * b) + (d * c);

    const double sd = 1.0 - cosd * cosd;
    if (!(sd > 0.0)) {
        // The cursor sits on the reference point (cosd = 1) or on its antipode (cosd = -1), where
        // every direction is as good as any: the course is taken as due north.
        out.angularDistance = cosd > 0.0 ? 0.0 : pi;
        out.courseAngle = 0.0;
        return out;
    }
    out.angularDistance = -std::atan(cosd / std::sqrt(sd)) + h;

    const double cosPhi1 = std::cos(phi1);
    if (std::abs(cosPhi1) < 1e-12) {
        // From the north pole every route leads south, from the south pole north. In doubles
        // cos(pi / 2) is 6e-17, not 0, so the general formula would divide noise by noise.
        out.courseAngle = phi1 > 0.0 ? pi : 0.0;
        return out;
    }

    const double cosc = ((std::sin(phi2) - std::cos(out.angularDistance) * std::sin(phi1)) /
                         std::sin(out.angularDistance)) /
                        cosPhi1;
    const double sc = 1.0 - cosc * cosc;
    if (sc > 0.0) {
        out.courseAngle = -std::atan(cosc / std::sqrt(sc)) + h;
    } else if (std::isfinite(cosc)) {
        // The cursor lies exactly on the reference meridian, or rounding pushed cosc to +-1 or a
        // hair beyond: the course is due north or due south, the limit of the formula.
        out.courseAngle = cosc > 0.0 ? 0.0 : pi;
    } else {
        // No number at all (non-finite input): north when the cursor is not south of the
        // reference, otherwise south.
        out.courseAngle = phi2 < phi1 ? pi : 0.0;
    }
    return out;
}

}  // namespace orbida::geodesy
