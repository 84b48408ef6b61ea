#include "geodesy/route.h"

#include <cmath>

namespace orbida::geodesy {
namespace {

struct Fraction {
    int dot;
    double k;
};

// Fractions of the longitude difference, counted from the reference. Across the antimeridian the
// samples lie beyond the cursor, by (k - 1) of the longer way round.
constexpr std::array<Fraction, 6> kDirect = {
    {{10, 0.03}, {1, 0.1}, {2, 0.3}, {3, 0.5}, {4, 0.7}, {5, 0.9}}};
constexpr std::array<Fraction, 6> kAntimeridian = {
    {{10, 1.03}, {1, 1.1}, {2, 1.3}, {3, 1.5}, {4, 1.7}, {5, 1.9}}};

}  // namespace

double RouteLatitude(double phiR, double lambdaR, double phiC, double lambdaC, double lambdaS) {
    const double n = (std::sin(phiR) * std::cos(phiC)) * std::sin(lambdaS - lambdaC) -
                     (std::cos(phiR) * std::sin(phiC)) * std::sin(lambdaS - lambdaR);
    const double d = (std::cos(phiC) * std::cos(phiR)) * std::sin(lambdaR - lambdaC);
    return std::atan(n / d);
}

RoutePlan SampleRoute(double phiR, double lambdaR, double phiC, double lambdaC, double degToRad,
                      double pi) {
    RoutePlan plan;
    const double dLambda = lambdaC - lambdaR;  // not normalised: between -2 pi and +2 pi
    plan.routeCase =
        std::abs(dLambda / degToRad) < 180.0 ? RouteCase::Direct : RouteCase::Antimeridian;
    const double radToDeg = 180.0 / pi;
    const auto& fractions = plan.routeCase == RouteCase::Direct ? kDirect : kAntimeridian;

    for (const Fraction& f : fractions) {
        RouteSample& s = plan.samples[plan.count++];
        s.dot = f.dot;
        s.longitude = lambdaR + (dLambda * f.k);
        const double latitude = RouteLatitude(phiR, lambdaR, phiC, lambdaC, s.longitude);
        if (std::isfinite(latitude)) {
            s.latitude = latitude * radToDeg;
        } else {
            // Cursor on the reference meridian (0 / 0): the route runs along the meridian, so the
            // dots are spread between the two latitudes at the same fractions.
            s.latitude = (phiR + (phiC - phiR) * f.k) * radToDeg;
        }
    }

    if (plan.routeCase == RouteCase::Antimeridian) {
        // Edge samples: the reference's stretch runs to the 178-degree meridian on its own side,
        // and the far stretch re-enters the map at the opposite 178-degree meridian.
        const double e = 178.0 * degToRad;
        struct Edge {
            int dot;
            double longitude;
        };
        std::array<Edge, 5> edges{};
        if (lambdaR > 0.0) {
            edges = {{{6, e},
                      {7, e - (e - lambdaR) / 3},
                      {8, e - (e - lambdaR) / 1.5},
                      {11, e - (e - lambdaR) / 1.1},
                      {9, -e}}};
        } else if (lambdaR < 0.0) {
            edges = {{{6, e},
                      {7, -e + (lambdaR + e) / 3},
                      {8, -e + (lambdaR + e) / 1.5},
                      {11, -e + (lambdaR + e) / 1.1},
                      {9, -e}}};
        } else {
            // A reference longitude of exactly 0 is nudged before the route is sampled; should
            // one still arrive, the edge samples stand on the meridian itself.
            edges = {{{6, e}, {7, 0.0}, {8, 0.0}, {11, 0.0}, {9, -e}}};
        }
        for (const Edge& edge : edges) {
            RouteSample& s = plan.samples[plan.count++];
            s.dot = edge.dot;
            s.longitude = edge.longitude;
            const double latitude = RouteLatitude(phiR, lambdaR, phiC, lambdaC, s.longitude);
            s.latitude = std::isfinite(latitude) ? latitude * radToDeg : phiR * radToDeg;
        }
    }
    return plan;
}

}  // namespace orbida::geodesy
