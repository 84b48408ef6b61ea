#pragma once

#include <cstdint>

#include "geodesy/map_projection.h"

namespace orbida::geodesy {

// A picture of the whole world in plate carrée (180 W on its left edge, 90 N on its top edge),
// one 32-bit value a pixel, row after row.
struct WorldPicture {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// Lays a world picture on an azimuthal-equidistant map of width x height pixels: each pixel takes
// the picture's pixel under the place at its centre; pixels beyond the rim take `outside`.
// origin: the point of the plane at the top-left corner; unitsPerPixel: kilometres a pixel.
// The place of each pixel is found to about 0.001 degree, far below a picture's pixel (sines and
// angles from polynomials in single precision, several pixels at a time), so that a 1000 x 1000
// map takes a few tens of milliseconds rather than the exact inverse's hundred and more.
void DrawAzimuthalPicture(const AzimuthalEquidistant& projection, PlanePoint origin,
                          double unitsPerPixel, int width, int height, WorldPicture picture,
                          std::uint32_t outside, std::uint32_t* out);

// The picture's pixel (column, row) that holds a point of the globe.
inline void PicturePixel(GeoPoint point, int width, int height, int& column, int& row) {
    double u = (180.0 - point.longitude) / 360.0 * width;
    double v = (90.0 - point.latitude) / 180.0 * height;
    column = u < 0.0 ? 0 : u >= width ? width - 1 : static_cast<int>(u);
    row = v < 0.0 ? 0 : v >= height ? height - 1 : static_cast<int>(v);
}

}  // namespace orbida::geodesy
