#include "geodesy/disc_raster.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace orbida::geodesy {
namespace {

constexpr float kPiF = std::numbers::pi_v<float>;

// sin and cos of h in [-pi/2, pi/2] from their series, within 1e-7 (float's own precision).
inline float SinHalf(float h) {
    const float h2 = h * h;
    return h * (1.0f +
                h2 * (-1.0f / 6 +
                      h2 * (1.0f / 120 +
                            h2 * (-1.0f / 5040 + h2 * (1.0f / 362880 + h2 * (-1.0f / 39916800))))));
}
inline float CosHalf(float h) {
    const float h2 = h * h;
    return 1.0f +
           h2 * (-0.5f + h2 * (1.0f / 24 + h2 * (-1.0f / 720 +
                                                 h2 * (1.0f / 40320 + h2 * (-1.0f / 3628800 +
                                                                            h2 / 479001600.0f)))));
}

// atan2 within 1.2e-5 radian (0.0007 degree): Abramowitz and Stegun 4.4.49 on [0, 1] and the
// octants' symmetries, without branches so that a row is computed several pixels at a time.
inline float FastAtan2(float y, float x) {
    const float ax = std::fabs(x), ay = std::fabs(y);
    const bool steep = ay > ax;
    const float big = steep ? ay : ax;
    const float small = steep ? ax : ay;
    const float t = small / std::max(big, 1e-30f);
    const float t2 = t * t;
    float a = t * (0.9998660f +
                   t2 * (-0.3302995f + t2 * (0.1801410f + t2 * (-0.0851330f + t2 * 0.0208351f))));
    a = steep ? kPiF / 2.0f - a : a;
    a = x < 0.0f ? kPiF - a : a;
    return y < 0.0f ? -a : a;
}

}  // namespace

void DrawAzimuthalPicture(const AzimuthalEquidistant& projection, PlanePoint origin,
                          double unitsPerPixel, int width, int height, WorldPicture picture,
                          std::uint32_t outside, std::uint32_t* out) {
    if (width <= 0 || height <= 0) {
        return;
    }
    float p[3], east[3], north[3];
    for (int k = 0; k < 3; ++k) {
        p[k] = static_cast<float>(projection.p_[k]);
        east[k] = static_cast<float>(projection.east_[k]);
        north[k] = static_cast<float>(projection.north_[k]);
    }
    // Kilometres of the plane in radians of the globe, so that the rim is at pi.
    const double scale = 1.0 / AzimuthalEquidistant::kRadiusKm;
    const float step = static_cast<float>(unitsPerPixel * scale);
    const float left = static_cast<float>((origin.x + 0.5 * unitsPerPixel) * scale);
    // From radians to the picture's columns and rows: longitude east from 180 W, latitude down
    // from 90 N.
    const float columns = static_cast<float>(picture.width) / (2.0f * kPiF);
    const float rows = static_cast<float>(picture.height) / kPiF;
    const int lastColumn = picture.width - 1, lastRow = picture.height - 1;
    std::vector<int> cells(static_cast<std::size_t>(width));
    for (int j = 0; j < height; ++j) {
        const float y = static_cast<float>((origin.y + (j + 0.5) * unitsPerPixel) * scale);
        // First the picture's pixel for every pixel of the row (-1 beyond the rim), then the
        // pixels themselves.
        for (int i = 0; i < width; ++i) {
            const float x = left + static_cast<float>(i) * step;
            const float c = std::sqrt(x * x + y * y);  // the angular distance from the centre
            const float h = (c < kPiF ? c : kPiF) - kPiF / 2.0f;
            const float sc = CosHalf(h), cc = -SinHalf(h);
            // The direction's east and north parts, times sin c.
            const float k = sc / std::max(c, 1e-30f);
            const float e = x * k, n = -y * k;
            const float q0 = p[0] * cc + north[0] * n + east[0] * e;
            const float q1 = p[1] * cc + north[1] * n + east[1] * e;
            const float q2 = p[2] * cc + north[2] * n + east[2] * e;
            const float latitude = FastAtan2(q2, std::sqrt(q0 * q0 + q1 * q1));
            const float eastLongitude = FastAtan2(q1, q0);
            int column = static_cast<int>((eastLongitude + kPiF) * columns);
            int row = static_cast<int>((kPiF / 2.0f - latitude) * rows);
            column = std::clamp(column, 0, lastColumn);
            row = std::clamp(row, 0, lastRow);
            cells[static_cast<std::size_t>(i)] = c <= kPiF ? row * picture.width + column : -1;
        }
        std::uint32_t* line = out + static_cast<std::ptrdiff_t>(j) * width;
        for (int i = 0; i < width; ++i) {
            const int cell = cells[static_cast<std::size_t>(i)];
            line[i] = cell < 0 ? outside : picture.pixels[cell];
        }
    }
}

}  // namespace orbida::geodesy
