#pragma once

#include <array>

#include "geodesy/route.h"

namespace orbida::tracking {

inline constexpr int kDotCount = 12;  // Shape1..Shape12; Shape12 rings the cursor

// What one tick does to one route dot. A dot that is not placed keeps the position it had.
struct DotUpdate {
    bool visible = false;
    bool placed = false;
    float top = 0.0f;
    float left = 0.0f;
};

struct RouteDots {
    bool shown = false;  // the cursor is inside the dot box
    geodesy::RouteCase routeCase = geodesy::RouteCase::Direct;
    std::array<DotUpdate, kDotCount> dots{};  // index 0 is Shape1

    const DotUpdate& Shape(int number) const { return dots[static_cast<std::size_t>(number - 1)]; }
};

// Decides which dots show and where, in map twips. mapWidth and mapHeight are the map control's
// size; the reference and cursor are in radians.
RouteDots PlaceRouteDots(double mapX, double mapY, double phiR, double lambdaR, double phiC,
                         double lambdaC, float mapWidth, float mapHeight, double degToRad,
                         double pi);

}  // namespace orbida::tracking
