#include "geodesy/night_mask.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

#include "geodesy/projection.h"

namespace orbida::geodesy {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr double kCivil = -6.0;
constexpr double kNautical = -12.0;
constexpr double kAstronomical = -18.0;

double Ramp(double elevation, double from, double to, double shadeFrom, double shadeTo) {
    return shadeFrom + (shadeTo - shadeFrom) * (from - elevation) / (from - to);
}

// The shade as a function of the sine of the elevation, which is what the mask computes per
// pixel: a table over the twilight range spares an arcsine for each pixel.
class ShadeTable {
  public:
    static constexpr int kSize = 4096;

    ShadeTable() {
        for (int i = 0; i < kSize; ++i) {
            const double s = kLow + (0.0 - kLow) * static_cast<double>(i) / (kSize - 1);
            table_[static_cast<std::size_t>(i)] = ShadeAtElevation(std::asin(s) / kDeg);
        }
    }

    std::uint8_t operator()(double sine) const {
        if (sine >= 0.0) {
            return 0;
        }
        if (sine <= kLow) {
            return kNightShade;
        }
        const auto i = static_cast<std::size_t>((sine - kLow) * kScale + 0.5);
        return table_[i];
    }

    static inline const double kLow = std::sin(kAstronomical * kDeg);
    static inline const double kScale = (kSize - 1) / (0.0 - kLow);

  private:
    std::array<std::uint8_t, kSize> table_{};
};

}  // namespace

std::uint8_t ShadeAtElevation(double elevation) {
    double shade = kNightShade;
    if (!(elevation < 0.0)) {
        shade = 0.0;
    } else if (elevation > kCivil) {
        shade = Ramp(elevation, 0.0, kCivil, 0.0, kCivilDuskShade);
    } else if (elevation > kNautical) {
        shade = Ramp(elevation, kCivil, kNautical, kCivilDuskShade, kNauticalDuskShade);
    } else if (elevation > kAstronomical) {
        shade = Ramp(elevation, kNautical, kAstronomical, kNauticalDuskShade, kNightShade);
    }
    return static_cast<std::uint8_t>(std::lround(shade));
}

NightMask BuildNightMask(const SunPosition& sun, int width, int height, double twipsPerPixel,
                         float mapWidthTwips, float mapHeightTwips) {
    static const ShadeTable table;
    NightMask mask;
    if (width <= 0 || height <= 0) {
        return mask;
    }
    mask.width = width;
    mask.height = height;
    mask.shade.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);

    // sin(elevation) = sin(lat) sin(dec) + cos(lat) cos(dec) cos(hour angle): the latitude terms
    // depend on the row only and the hour angle on the column only, so the trigonometry is done
    // once per row and once per column and each pixel costs a multiply and an add.
    const double sinDec = std::sin(sun.declination * kDeg);
    const double cosDec = std::cos(sun.declination * kDeg);
    std::vector<double> cosHourAngle(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        const double twips = (x + 0.5) * twipsPerPixel;
        const GeoPoint p = MapToDegrees({twips, 0.0}, mapWidthTwips, mapHeightTwips);
        cosHourAngle[static_cast<std::size_t>(x)] =
            std::cos((sun.subsolar.longitude - p.longitude) * kDeg);
    }
    for (int y = 0; y < height; ++y) {
        const double twips = (y + 0.5) * twipsPerPixel;
        const GeoPoint p = MapToDegrees({0.0, twips}, mapWidthTwips, mapHeightTwips);
        const double latitude = std::clamp(p.latitude, -90.0, 90.0) * kDeg;
        const double a = std::sin(latitude) * sinDec;
        const double b = std::cos(latitude) * cosDec;
        std::uint8_t* row =
            mask.shade.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        if (a - b >= 0.0) {
            continue;  // the sun stays up all round this parallel
        }
        if (a + b <= ShadeTable::kLow) {
            std::fill(row, row + width, kNightShade);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            row[x] = table(a + b * cosHourAngle[static_cast<std::size_t>(x)]);
        }
    }
    return mask;
}

NightMask BuildNightMask(const SunPosition& sun, int width, int height,
                         const MapProjection& projection, PlanePoint origin, double unitsPerPixel) {
    const auto* world = dynamic_cast<const Equirectangular*>(&projection);
    if (world != nullptr && origin == PlanePoint{}) {
        return BuildNightMask(sun, width, height, unitsPerPixel, static_cast<float>(world->Width()),
                              static_cast<float>(world->Height()));
    }
    static const ShadeTable table;
    NightMask mask;
    if (width <= 0 || height <= 0) {
        return mask;
    }
    mask.width = width;
    mask.height = height;
    mask.shade.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    const double sinDec = std::sin(sun.declination * kDeg);
    const double cosDec = std::cos(sun.declination * kDeg);
    std::uint8_t* shade = mask.shade.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, ++shade) {
            const std::optional<GeoPoint> p = projection.Inverse(
                {origin.x + (x + 0.5) * unitsPerPixel, origin.y + (y + 0.5) * unitsPerPixel});
            if (!p) {
                continue;
            }
            const double latitude = p->latitude * kDeg;
            *shade = table(std::sin(latitude) * sinDec +
                           std::cos(latitude) * cosDec *
                               std::cos((sun.subsolar.longitude - p->longitude) * kDeg));
        }
    }
    return mask;
}

}  // namespace orbida::geodesy
