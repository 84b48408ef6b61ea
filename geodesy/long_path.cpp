#include "geodesy/long_path.h"

#include <algorithm>
#include <cmath>

namespace orbida::geodesy {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;

struct Vec {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

Vec operator*(double k, Vec v) {
    return {k * v.x, k * v.y, k * v.z};
}
Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
double Dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
double Norm(Vec v) {
    return std::sqrt(Dot(v, v));
}

Vec ToVec(GeoPoint p) {
    const double phi = p.latitude * kRad;
    const double lambda = p.longitude * kRad;
    return {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
}

// Adding 0.0 turns a negative zero into a positive one. The vector is of unit length, give or
// take rounding, which the clamp keeps within the arcsine's domain.
GeoPoint ToPoint(Vec v) {
    const double latitude = std::asin(std::clamp(v.z, -1.0, 1.0)) / kRad;
    const double longitude = std::atan2(v.y, v.x) / kRad;
    return {latitude + 0.0, longitude + 0.0};
}

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

}  // namespace

double LongPathAzimuth(double shortAzimuthDegrees) {
    if (!std::isfinite(shortAzimuthDegrees)) {
        return 0.0;
    }
    double turned = std::fmod(shortAzimuthDegrees + 180.0, 360.0);
    if (turned < 0.0) {
        turned += 360.0;
    }
    const double whole = std::floor(turned);
    // fmod keeps the sign of a negative zero; 360 can only come from rounding of tiny negatives.
    return whole >= 360.0 ? 0.0 : whole + 0.0;
}

double LongPathDistanceKm(double shortDistanceKm) {
    if (!std::isfinite(shortDistanceKm)) {
        return kCircumferenceKm;
    }
    const double shortKm = std::clamp(shortDistanceKm, 0.0, kCircumferenceKm / 2.0);
    return kCircumferenceKm - shortKm;
}

std::array<GeoPoint, kLongPathPoints> LongPathPoints(GeoPoint from, GeoPoint to) {
    const Vec a = ToVec({Finite(from.latitude), Finite(from.longitude)});
    const Vec c = ToVec({Finite(to.latitude), Finite(to.longitude)});

    // u: unit vector at right angles to a in the plane of the great circle, pointing along the
    // short way; the long way goes the opposite direction, through -u.
    const double cosDelta = std::clamp(Dot(a, c), -1.0, 1.0);
    Vec u = c + (-cosDelta) * a;
    double length = Norm(u);
    double delta = std::acos(cosDelta);
    if (!(length > 1e-9)) {
        // Same point or antipode: take the meridian, heading north (south from the north pole).
        u = Vec{0.0, 0.0, 1.0} + (-a.z) * a;
        length = Norm(u);
        if (!(length > 1e-9)) {
            u = Vec{1.0, 0.0, 0.0};
            length = 1.0;
        }
        delta = cosDelta > 0.0 ? 0.0 : kPi;
    }
    u = (1.0 / length) * u;

    // One rotation by the step, applied again and again, walks the arc with two sines in all.
    const double step = (2.0 * kPi - delta) / static_cast<double>(kLongPathPoints + 1);
    const double cosStep = std::cos(step);
    const double sinStep = -std::sin(step);
    double cosT = 1.0;
    double sinT = 0.0;
    std::array<GeoPoint, kLongPathPoints> points{};
    for (GeoPoint& p : points) {
        const double nextCos = cosT * cosStep - sinT * sinStep;
        sinT = sinT * cosStep + cosT * sinStep;
        cosT = nextCos;
        p = ToPoint(cosT * a + sinT * u);
    }
    return points;
}

}  // namespace orbida::geodesy
