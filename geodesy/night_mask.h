#pragma once

#include <cstdint>
#include <vector>

#include "geodesy/map_projection.h"
#include "geodesy/sun.h"

namespace orbida::geodesy {

// How dark the map is made at a solar elevation, 0 (untouched) to 255 (black): nothing in full
// day, a ramp through the civil (0 to -6 degrees), nautical (-6 to -12) and astronomical (-12 to
// -18) twilights, and a fixed shade beyond, light enough for the map to stay readable at night.
inline constexpr std::uint8_t kCivilDuskShade = 70;
inline constexpr std::uint8_t kNauticalDuskShade = 120;
inline constexpr std::uint8_t kNightShade = 160;
std::uint8_t ShadeAtElevation(double elevationDegrees);

// The shade of every pixel of a map picture, row by row from the top-left corner. Each pixel's
// centre is placed with the map's own projection (the control's size in twips sets the scale),
// at twipsPerPixel twips to a pixel: 15 for a normal screen, 7.5 for a screen of ratio 2.
struct NightMask {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> shade;
};
NightMask BuildNightMask(const SunPosition& sun, int width, int height, double twipsPerPixel,
                         float mapWidthTwips, float mapHeightTwips);

// The same for a map in any projection: the centre of pixel (x, y) is the plane point
// origin + (x + 0.5, y + 0.5) x unitsPerPixel, placed on the globe through the projection;
// where the map shows no point the shade is 0. The world map's plate carrée drawn from its
// top-left corner takes the computation above, row by row.
NightMask BuildNightMask(const SunPosition& sun, int width, int height,
                         const MapProjection& projection, PlanePoint origin, double unitsPerPixel);

}  // namespace orbida::geodesy
