#include "tracking/tick.h"

#include <cmath>

#include "geodesy/course.h"
#include "geodesy/distance.h"
#include "geodesy/locator.h"
#include "geodesy/numbers.h"
#include "tracking/readout.h"

namespace orbida::tracking {
namespace {

constexpr double kNudge = 0.01;  // replaces a reference coordinate of exactly 0

bool Finite(float v) {
    return std::isfinite(v);
}

// Whether the geometry can describe a map at all.
bool UsableGeometry(const TickInput& in) {
    return Finite(in.twipsPerPixelX) && Finite(in.twipsPerPixelY) && Finite(in.windowLeft) &&
           Finite(in.windowTop) && Finite(in.mapLeft) && Finite(in.mapTop) &&
           Finite(in.entoureLeft) && in.mapWidth > 0.0f && in.mapHeight > 0.0f &&
           Finite(in.mapWidth) && Finite(in.mapHeight);
}

bool OnTheGlobe(geodesy::GeoPoint p) {
    // Written so that NaN fails.
    return std::abs(p.latitude) <= 90.0 && std::abs(p.longitude) <= 180.0;
}

double FiniteOr(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

constexpr double kKmPerStatuteMile = 1.609344;
constexpr double kKmPerNauticalMile = 1.852;

}  // namespace

const char* UnitWord(DistanceUnit unit) {
    switch (unit) {
        case DistanceUnit::StatuteMiles:
            return "Miles";
        case DistanceUnit::NauticalMiles:
            return "Nq";
        case DistanceUnit::Kilometres:
            break;
    }
    return "Kms";
}

std::string FormatDistance(double km, DistanceUnit unit) {
    double value = km;
    if (unit == DistanceUnit::StatuteMiles) {
        value = km / kKmPerStatuteMile;
    } else if (unit == DistanceUnit::NauticalMiles) {
        value = km / kKmPerNauticalMile;
    }
    // Truncated towards zero, as the kilometres always were.
    return geodesy::FormatWhole(std::trunc(value)) + "  " + UnitWord(unit);
}

double ComputePi() {
    return 4.0 * std::atan(1.0);
}

double ComputeDegToRad(double pi) {
    return pi / 180.0;
}

TickFrame ComputeTick(const TickInput& in) {
    TickFrame f;
    const bool usable = UsableGeometry(in);
    const double pi = std::isfinite(in.pi) && in.pi > 0.0 ? in.pi : ComputePi();
    const double degToRad =
        std::isfinite(in.degToRad) && in.degToRad > 0.0 ? in.degToRad : ComputeDegToRad(pi);

    // Pointer (or pinned place) to map twips, crosshair, degrees.
    const std::optional<geodesy::GeoPoint> pinned =
        in.pinnedPoint && OnTheGlobe(*in.pinnedPoint) ? in.pinnedPoint : std::nullopt;
    geodesy::GeoPoint& exactPoint = f.exactPoint;
    if (usable && pinned) {
        f.map = geodesy::DegreesToMap(*pinned, in.mapWidth, in.mapHeight);
        f.cursorPoint = *pinned;
        exactPoint = *pinned;
    } else if (usable) {
        f.map = geodesy::CursorToMap(in.cursorX, in.cursorY, in.twipsPerPixelX, in.twipsPerPixelY,
                                     in.windowLeft, in.windowTop, in.mapLeft, in.mapTop);
        f.cursorPoint = geodesy::MapToDegrees(f.map, in.mapWidth, in.mapHeight);
        exactPoint = geodesy::MapToExactDegrees(f.map, in.mapWidth, in.mapHeight);
    }
    f.crosshairX = geodesy::ToControlFloat(f.map.x);
    f.crosshairY = geodesy::ToControlFloat(f.map.y);

    // Readouts, each refreshed only when its own test passes.
    bool refreshed = false;
    if (usable && geodesy::LongitudeReadoutTest(f.cursorPoint.longitude)) {
        f.longitudeReadout = FormatLongitudeReadout(f.cursorPoint.longitude);
        refreshed = true;
    }
    if (usable && geodesy::LatitudeReadoutTest(f.cursorPoint.latitude)) {
        f.latitudeReadout = FormatLatitudeReadout(f.cursorPoint.latitude);
        refreshed = true;
    }

    // Over the map or idle.
    f.tracking = geodesy::TrackingTest(refreshed, f.cursorPoint);
    if (f.tracking) {
        f.mapQuestVisible = false;
        f.distanceKm = geodesy::GetDistanceKm(in.referenceHundredths.longitude,
                                              in.referenceHundredths.latitude,
                                              f.cursorPoint.longitude, f.cursorPoint.latitude);
        f.distanceText = "  est à " + FormatDistance(f.distanceKm, in.unit);
    } else if (in.internetConnected) {
        f.mapQuestVisible = true;
    }

    // The course and the route start from the full-precision reference, where an exact 0 is
    // replaced by 0.01 (the caller stores it back). A non-finite reference cannot be measured
    // from and counts as 0.
    f.referencePoint.longitude = FiniteOr(in.referencePoint.longitude, 0.0);
    f.referencePoint.latitude = FiniteOr(in.referencePoint.latitude, 0.0);
    if (f.referencePoint.longitude == 0.0) {
        f.referencePoint.longitude = kNudge;
    }
    if (f.referencePoint.latitude == 0.0) {
        f.referencePoint.latitude = kNudge;
    }

    const double refLatRad = degToRad * f.referencePoint.latitude;
    const double refLonRad = degToRad * f.referencePoint.longitude;
    const double curLatRad = degToRad * f.cursorPoint.latitude;
    const double curLonRad = degToRad * f.cursorPoint.longitude;
    const geodesy::Course course =
        geodesy::ComputeCourse(refLatRad, refLonRad, curLatRad, curLonRad, pi);
    f.angularDistance = course.angularDistance;
    f.courseAngle = course.courseAngle;
    f.dial = ComputeDial(course.courseAngle, curLonRad, refLonRad, pi, degToRad);

    if (usable) {
        f.dots = PlaceRouteDots(f.map.x, f.map.y, refLatRad, refLonRad, curLatRad, curLonRad,
                                in.mapWidth, in.mapHeight, degToRad, pi);
    }

    if (f.tracking) {
        f.longAzimuth = geodesy::LongPathAzimuth(f.dial.azimuth);
        f.longDistanceKm = geodesy::LongPathDistanceKm(f.distanceKm);
        f.longPathText = geodesy::FormatWhole(f.longAzimuth) + " °  " +
                         FormatDistance(f.longDistanceKm, in.unit);
        f.longNeedleX2 =
            geodesy::ToControlFloat(std::sin(f.longAzimuth * degToRad) * 300.0 + 2040.0);
        f.longNeedleY2 =
            geodesy::ToControlFloat(580.0 - std::cos(f.longAzimuth * degToRad) * 300.0);
        f.targetLocator = geodesy::LocatorOf(exactPoint.latitude, exactPoint.longitude);
    }
    if (in.longRoute && f.dots.shown) {
        // The marks go round the other way from the same reference as the route dots.
        f.longRoute.shown = true;
        f.longRoute.points = geodesy::LongPathPoints(f.referencePoint, f.cursorPoint);
    }
    return f;
}

}  // namespace orbida::tracking
