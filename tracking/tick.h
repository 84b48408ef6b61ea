#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "geodesy/geo_point.h"
#include "geodesy/long_path.h"
#include "geodesy/map_layout.h"
#include "geodesy/projection.h"
#include "tracking/dial.h"
#include "tracking/route_dots.h"

namespace orbida::tracking {

// The unit of every distance shown: kilometres, statute miles or nautical miles.
enum class DistanceUnit { Kilometres, StatuteMiles, NauticalMiles };

// The word written after a distance: "Kms", "Miles", "Nq".
const char* UnitWord(DistanceUnit unit);

// A distance in kilometres expressed in the unit, truncated to a whole number and written with
// the unit's word: "5854  Kms", "3637  Miles". Kilometres are written exactly as they always were.
std::string FormatDistance(double km, DistanceUnit unit);

// The long-path route drawn on the maps: the points of its marks on the globe.
struct LongRoute {
    bool shown = false;
    std::array<geodesy::GeoPoint, geodesy::kLongPathPoints> points{};
};

// Everything one tracking tick reads. Positions and sizes are the twips that the controls hold as
// 32-bit floats; the pointer is in screen pixels.
struct TickInput {
    std::int32_t cursorX = 0;
    std::int32_t cursorY = 0;
    float twipsPerPixelX = 15.0f;
    float twipsPerPixelY = 15.0f;
    float windowLeft = 0.0f;  // the main window's client origin on the screen
    float windowTop = 0.0f;
    float mapLeft = static_cast<float>(geodesy::kMapLeft);  // the map control inside the window
    float mapTop = static_cast<float>(geodesy::kMapTop);
    float mapWidth = static_cast<float>(geodesy::kMapWidth);
    float mapHeight = static_cast<float>(geodesy::kMapHeight);
    // the reference ring's Left on the map
    float entoureLeft = static_cast<float>(geodesy::kEntoureStartLeft);

    geodesy::GeoPoint referencePoint;       // full precision, as selected
    geodesy::GeoPoint referenceHundredths;  // cut down to hundredths
    double pi = 0.0;
    double degToRad = 0.0;
    bool internetConnected = false;

    DistanceUnit unit = DistanceUnit::Kilometres;
    bool longRoute = false;  // the long-path route is drawn too

    // A place pinned by its coordinates (a callsign's country), measured instead of the pointer's
    // point; latitude north positive, longitude west positive. One that is not finite or lies off
    // the globe is ignored.
    std::optional<geodesy::GeoPoint> pinnedPoint;

    friend bool operator==(const TickInput&, const TickInput&) = default;
};

// Everything one tick writes. std::nullopt means "leave the control as it is".
struct TickFrame {
    geodesy::MapPosition map;       // the measured point in map twips
    float crosshairX = 0.0f;        // Linelong X1 = X2
    float crosshairY = 0.0f;        // LineLat Y1 = Y2
    geodesy::GeoPoint cursorPoint;  // degrees, cut down to hundredths
    geodesy::GeoPoint exactPoint;   // the same point before the cut, where the maps mark it

    std::optional<std::string> longitudeReadout;  // MouseDegLon, when its test passed
    std::optional<std::string> latitudeReadout;   // MousedegLat, when its test passed

    // Over the map: crosshair, readouts, needle and azimuth label shown, distance text filled.
    bool tracking = false;
    double distanceKm = 0.0;
    std::string distanceText;             // "  est à 5837  Kms", or empty off the map
    std::optional<bool> mapQuestVisible;  // hidden over the map; shown off it once connected

    // The reference point after an exact 0 was replaced by 0.01; the caller keeps it.
    geodesy::GeoPoint referencePoint;
    double angularDistance = 0.0;
    double courseAngle = 0.0;
    Dial dial;
    RouteDots dots;

    // The long path and the point's locator, filled while tracking; empty texts off the map.
    double longAzimuth = 0.0;     // whole degrees, 0 to 359
    double longDistanceKm = 0.0;  // unrounded
    std::string longPathText;     // "112 °  34176  Kms"
    float longNeedleX2 = 0.0f;    // the long-path needle's free end, as the dial's
    float longNeedleY2 = 0.0f;
    std::string targetLocator;  // "FN20XR", the locator of the point before its cut to hundredths
    LongRoute longRoute;        // shown only where the route dots are, and when asked for
};

// The angle constants, computed once at start-up: 4 atan(1) and that over 180.
double ComputePi();
double ComputeDegToRad(double pi);

// One tracking tick, from scratch, with no memory of the previous one. Inputs that cannot
// describe a map (non-finite numbers, a map or screen factor of zero size) give the idle frame;
// no value in the frame is ever NaN or infinite.
TickFrame ComputeTick(const TickInput& input);

}  // namespace orbida::tracking
