#include "tracking/route_dots.h"

#include "geodesy/numbers.h"
#include "geodesy/projection.h"

namespace orbida::tracking {
namespace {

constexpr double kDotOffset = 50.0;  // brings a dot's centre onto its point, give or take a twip

// Dots of the crossing set, shown only when the route crosses the antimeridian.
constexpr std::array<int, 5> kCrossingSet = {6, 7, 8, 9, 11};

}  // namespace

RouteDots PlaceRouteDots(double mapX, double mapY, double phiR, double lambdaR, double phiC,
                         double lambdaC, float mapWidth, float mapHeight, double degToRad,
                         double pi) {
    RouteDots out;
    if (!geodesy::InDotBox(geodesy::MapPosition{mapX, mapY})) {
        return out;  // all twelve hidden, none moved
    }
    out.shown = true;
    for (DotUpdate& dot : out.dots) {
        dot.visible = true;
    }

    const geodesy::RoutePlan plan =
        geodesy::SampleRoute(phiR, lambdaR, phiC, lambdaC, degToRad, pi);
    out.routeCase = plan.routeCase;
    if (plan.routeCase == geodesy::RouteCase::Direct) {
        for (int number : kCrossingSet) {
            out.dots[static_cast<std::size_t>(number - 1)].visible = false;
        }
    }

    // Half sizes are formed in float, the scale W / 360 too; the rest in double.
    const float halfHeight = mapHeight / 2.0f;
    const float halfWidth = mapWidth / 2.0f;
    const double negScaleX = -static_cast<double>(mapWidth / 360.0f);
    const double height = static_cast<double>(mapHeight);
    for (std::size_t i = 0; i < plan.count; ++i) {
        const geodesy::RouteSample& s = plan.samples[i];
        DotUpdate& dot = out.dots[static_cast<std::size_t>(s.dot - 1)];
        dot.placed = true;
        dot.top = geodesy::ToControlFloat(static_cast<double>(halfHeight) -
                                          ((s.latitude / 90.0) * height) / 2.0 - kDotOffset);
        dot.left = geodesy::ToControlFloat((s.longitude / degToRad) * negScaleX +
                                           static_cast<double>(halfWidth) - kDotOffset);
    }

    DotUpdate& cursorDot = out.dots[kDotCount - 1];
    cursorDot.placed = true;
    cursorDot.top = geodesy::ToControlFloat(mapY - kDotOffset);
    cursorDot.left = geodesy::ToControlFloat(mapX - kDotOffset);
    return out;
}

}  // namespace orbida::tracking
