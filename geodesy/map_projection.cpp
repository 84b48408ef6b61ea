#include "geodesy/map_projection.h"

#include <cmath>
#include <numbers>

namespace orbida::geodesy {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// Written so that NaN fails.
bool OnTheGlobe(GeoPoint p) {
    return std::abs(p.latitude) <= 90.0 && std::abs(p.longitude) <= 180.0;
}

double Dot(const double (&a)[3], const double (&b)[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

}  // namespace

std::optional<PlanePoint> Equirectangular::Forward(GeoPoint point) const {
    if (!OnTheGlobe(point)) {
        return std::nullopt;
    }
    return PlanePoint{width_ / 2.0 - (width_ / 360.0) * point.longitude,
                      height_ / 2.0 - (height_ / 180.0) * point.latitude};
}

std::optional<GeoPoint> Equirectangular::Inverse(PlanePoint place) const {
    const GeoPoint point{90.0 - place.y * (180.0 / height_), 180.0 - place.x * (360.0 / width_)};
    if (!OnTheGlobe(point)) {
        return std::nullopt;
    }
    return point;
}

// Notation: phi latitude, lambda longitude EAST positive (the opposite of the program's), s and c
// prefixes for sine and cosine. The centre's east and north unit vectors span the plane tangent
// at the centre; a point's angular distance and azimuth come from its components along the
// centre and those two, through atan2, which keeps full precision near the centre and near the
// antipode alike.
AzimuthalEquidistant::AzimuthalEquidistant(GeoPoint centre) {
    const double phi = centre.latitude * kDeg;
    const double lambda = -centre.longitude * kDeg;
    const double sphi = std::sin(phi), cphi = std::cos(phi);
    const double slam = std::sin(lambda), clam = std::cos(lambda);
    p_[0] = cphi * clam;
    p_[1] = cphi * slam;
    p_[2] = sphi;
    east_[0] = -slam;
    east_[1] = clam;
    east_[2] = 0.0;
    // At a pole "north" is taken along the centre's own meridian, as its limit from below.
    north_[0] = -sphi * clam;
    north_[1] = -sphi * slam;
    north_[2] = cphi;
}

std::optional<PlanePoint> AzimuthalEquidistant::Forward(GeoPoint point) const {
    if (!OnTheGlobe(point)) {
        return std::nullopt;
    }
    const double phi = point.latitude * kDeg;
    const double lambda = -point.longitude * kDeg;
    const double q[3] = {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda),
                         std::sin(phi)};
    const double e = Dot(q, east_);
    const double n = Dot(q, north_);
    const double sideways = std::hypot(e, n);
    const double c = std::atan2(sideways, Dot(q, p_));  // angular distance, 0 to pi
    if (sideways < 1e-12) {
        // The centre itself, or its antipode (within 7 micrometres, where rounding leaves the
        // direction to chance), drawn due south on the rim.
        return c > std::numbers::pi / 2.0 ? PlanePoint{0.0, kRimKm} : PlanePoint{0.0, 0.0};
    }
    const double rho = kRadiusKm * c;
    return PlanePoint{rho * e / sideways, -rho * n / sideways};
}

std::optional<GeoPoint> AzimuthalEquidistant::Inverse(PlanePoint place) const {
    const double rho = std::hypot(place.x, place.y);
    if (!(rho <= kRimKm)) {
        return std::nullopt;
    }
    const double c = rho / kRadiusKm;
    // Direction in the tangent plane: east and north parts of unit length (north at the centre).
    const double e = rho > 0.0 ? place.x / rho : 0.0;
    const double n = rho > 0.0 ? -place.y / rho : 1.0;
    const double sc = std::sin(c), cc = std::cos(c);
    double q[3];
    for (int i = 0; i < 3; ++i) {
        q[i] = p_[i] * cc + (north_[i] * n + east_[i] * e) * sc;
    }
    GeoPoint point;
    point.latitude = std::atan2(q[2], std::hypot(q[0], q[1])) / kDeg;
    // Adding 0.0 turns a negative zero into a positive one.
    point.longitude = -std::atan2(q[1], q[0]) / kDeg + 0.0;
    return point;
}

}  // namespace orbida::geodesy
