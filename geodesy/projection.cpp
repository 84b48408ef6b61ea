#include "geodesy/projection.h"

#include <cmath>

#include "geodesy/numbers.h"

namespace orbida::geodesy {

MapPosition CursorToMap(std::int32_t cursorX, std::int32_t cursorY, float twipsPerPixelX,
                        float twipsPerPixelY, float windowLeft, float windowTop, float mapLeft,
                        float mapTop) {
    MapPosition p;
    p.x = ((static_cast<double>(cursorX) * static_cast<double>(twipsPerPixelX) -
            static_cast<double>(windowLeft)) -
           static_cast<double>(mapLeft)) -
          kPointerOffsetX;
    p.y = ((static_cast<double>(cursorY) * static_cast<double>(twipsPerPixelY) -
            static_cast<double>(windowTop)) -
           static_cast<double>(mapTop)) -
          kPointerOffsetY;
    return p;
}

GeoPoint MapToExactDegrees(MapPosition position, float mapWidth, float mapHeight) {
    // The scale factors are held as 32-bit floats: 360 / 9630 becomes 0.0373831764, which is why
    // the map's centre column (x = 4800) reads 0.56 and not 0.
    const float kx = ToControlFloat(360.0 / static_cast<double>(mapWidth));
    const float ky = ToControlFloat(180.0 / static_cast<double>(mapHeight));
    return GeoPoint{90.0 - position.y * static_cast<double>(ky),
                    180.0 - position.x * static_cast<double>(kx)};
}

GeoPoint MapToDegrees(MapPosition position, float mapWidth, float mapHeight) {
    const GeoPoint exact = MapToExactDegrees(position, mapWidth, mapHeight);
    return GeoPoint{FloorHundredths(exact.latitude), FloorHundredths(exact.longitude)};
}

MapPosition DegreesToMap(GeoPoint point, float mapWidth, float mapHeight) {
    const double w = static_cast<double>(mapWidth);
    const double h = static_cast<double>(mapHeight);
    return MapPosition{w / 2.0 - (w / 360.0) * point.longitude,
                       h / 2.0 - (h / 180.0) * point.latitude};
}

bool LongitudeReadoutTest(double longitude) {
    return std::abs(std::floor(longitude)) < 181.0;
}

bool LatitudeReadoutTest(double latitude) {
    return std::abs(std::floor(latitude)) < 91.0;
}

bool TrackingTest(bool readoutRefreshed, GeoPoint cursor) {
    // Written so that a NaN coordinate fails the test.
    return readoutRefreshed && std::abs(std::floor(cursor.longitude)) <= 181.0 &&
           std::abs(std::floor(cursor.latitude)) <= 91.0;
}

bool InDotBox(MapPosition position) {
    return position.x > 0.0 && position.x < 9630.0 && position.y > -10.0 && position.y < 4820.0;
}

}  // namespace orbida::geodesy
