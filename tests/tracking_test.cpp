// Drives whole tracking ticks with the pointer at chosen map positions and checks every value the
// window shows: readouts, tracking state, distance, azimuth, needle and route dots.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "tracking/readout.h"
#include "tracking/sun_text.h"
#include "tracking/tick.h"

namespace orbida::tracking {
namespace {

const double kPi = ComputePi();
const double kDegToRad = ComputeDegToRad(kPi);
const float kScale = static_cast<float>(360.0 / 9630.0);  // degrees per twip, as the map holds it

// A tick input whose pointer measures exactly (mapX, mapY) twips on a 9630 x 4815 map.
TickInput InputAt(double mapX, double mapY) {
    TickInput in;
    in.pi = kPi;
    in.degToRad = kDegToRad;
    in.twipsPerPixelX = 1.0f;
    in.twipsPerPixelY = 1.0f;
    in.windowLeft = static_cast<float>(-(mapX + 240.0 + 90.0));
    in.windowTop = static_cast<float>(-(mapY + 720.0 + 370.0));
    return in;
}

// The map position, on a 1/64 twip grid, whose cursor point reads (lat, lon) to the hundredth.
TickInput InputOn(double lat, double lon) {
    const double x = std::round((180.0 - lon - 0.005) / static_cast<double>(kScale) * 64) / 64;
    const double y = std::round((90.0 - lat - 0.005) / static_cast<double>(kScale) * 64) / 64;
    return InputAt(x, y);
}

void SetReference(TickInput& in, double lat, double lon) {
    in.referencePoint = {lat, lon};
    in.referenceHundredths = {std::floor(lat * 100) / 100, std::floor(lon * 100) / 100};
    in.entoureLeft = static_cast<float>(9630.0 / 2 - (9630.0 / 360) * lon - 70);
}

TEST(Readout, TextsWithCarryAndEdges) {
    struct Case {
        bool longitude;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {true, -2.35, "Longitude: 2°  21'  0'' Est"},
        {false, 48.85, "Latitude: 48°  51'  0'' Nord"},
        {true, 0.0, "Longitude: 0°  0'  0'' Ouest"},
        {false, 0.0, "Latitude: 0°  0'  0'' Nord"},
        {false, -0.57, "Latitude: 0°  34'  12'' Sud"},
        {true, -180.0, "Longitude: 180°  0'  0'' Est"},
        {true, 180.56, "Longitude: 180°  0'  0'' Ouest"},
        {false, 90.56, "Latitude: 90°  0'  0'' Nord"},
        {true, 1.15, "Longitude: 1°  9'  0'' Ouest"},
        {true, 179.99, "Longitude: 179°  59'  24'' Ouest"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.longitude ? FormatLongitudeReadout(c.value) : FormatLatitudeReadout(c.value),
                  c.text);
    }
}

TEST(Tick, ParisToNewYork) {
    TickInput in = InputOn(40.71, 74.00);
    SetReference(in, 48.8566, -2.3522);
    const TickFrame f = ComputeTick(in);
    EXPECT_DOUBLE_EQ(f.cursorPoint.latitude, 40.71);
    EXPECT_DOUBLE_EQ(f.cursorPoint.longitude, 74.00);
    EXPECT_EQ(f.longitudeReadout, "Longitude: 74°  0'  0'' Ouest");
    EXPECT_EQ(f.latitudeReadout, "Latitude: 40°  42'  36'' Nord");
    EXPECT_TRUE(f.tracking);
    EXPECT_EQ(f.mapQuestVisible, false);
    EXPECT_EQ(f.distanceText, "  est à 5837  Kms");
    EXPECT_EQ(f.dial.azimuth, 292.0);
    EXPECT_EQ(f.dial.text, "292 °");
    EXPECT_TRUE(f.dots.shown);
    EXPECT_EQ(f.dots.routeCase, geodesy::RouteCase::Direct);
    EXPECT_FLOAT_EQ(f.crosshairX, static_cast<float>(f.map.x));
    for (int n = 1; n <= 12; ++n) {
        const bool crossing = n == 6 || n == 7 || n == 8 || n == 9 || n == 11;
        EXPECT_EQ(f.dots.Shape(n).visible, !crossing) << n;
        EXPECT_EQ(f.dots.Shape(n).placed, !crossing) << n;
    }
}

// The distance is measured from the reference cut to hundredths and truncated to the kilometre.
TEST(Tick, DistanceText) {
    struct Case {
        const char* name;
        double curLat, curLon;
        const char* text;
    };
    const Case cases[] = {
        {"New York", 40.71, 74.00, "  est à 5837  Kms"},
        {"South Atlantic, 12004.9995 km", -57.0, -28.0, "  est à 12004  Kms"},
        {"on the city's hundredths", 48.85, -2.36, "  est à 0  Kms"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TickInput in = InputOn(c.curLat, c.curLon);
        SetReference(in, 48.8566, -2.3522);
        EXPECT_EQ(ComputeTick(in).distanceText, c.text);
    }
}

TEST(Tick, AzimuthAndNeedle) {
    struct Case {
        const char* name;
        double refLat, refLon, curLat, curLon;
        double azimuth;
        float x2, y2;
    };
    const Case cases[] = {
        {"90 degrees east", 0.01, 0.01, 0, -90, 89, 2339.95f, 574.76f},
        {"90 degrees west", 0.01, 0.01, 0, 90, 270, 1740, 580},
        {"east across the antimeridian", 0, -170, 0, 170, 90, 2340, 580},
        {"west across the antimeridian", 0, 170, 0, -170, 270, 1740, 580},
        {"due north, a hair west, not left of the ring", 48.85, -2.35, 60, -2.3, 0, 2040, 280},
        {"north-north-west", 48.85, -2.35, 60, -1.0, 357, 2024.30f, 280.41f},
        {"north, left of the ring", 48.85, -2.35, 89.99, -1.0, 360, 2040, 280},
        {"due south on the meridian", 48.85, -2.35, 10, -2.35, 180, 2040, 880},
        {"over the pole, exactly 180 degrees of longitude away", 40, -10, 20, 170, 0, 2040, 280},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TickInput in = InputOn(c.curLat, c.curLon);
        SetReference(in, c.refLat, c.refLon);
        const TickFrame f = ComputeTick(in);
        EXPECT_EQ(f.dial.azimuth, c.azimuth);
        EXPECT_NEAR(f.dial.needleX2, c.x2, 0.01);
        EXPECT_NEAR(f.dial.needleY2, c.y2, 0.01);
    }
}

// The course sent to an antenna rotator: the dial's azimuth before rounding, which a textbook
// initial bearing (east-positive longitudes) must match, on either side and across the
// antimeridian.
TEST(Tick, UnroundedCourse) {
    struct Case {
        const char* name;
        double refLat, refLon, curLat, curLon;  // west positive
    };
    const Case cases[] = {
        {"Paris to New York", 48.8566, -2.3522, 40.71, 74.00},
        {"Paris to Tokyo", 48.8566, -2.3522, 35.68, -139.69},
        {"Sydney to Santiago", -33.87, -151.21, -33.45, 70.67},
        {"east across the antimeridian", 10, -170, 20, 170},
        {"west across the antimeridian", 10, 170, -20, -170},
        {"north-north-west", 48.85, -2.35, 60, -1.0},
        {"due south on the meridian", 48.85, -2.35, 10, -2.35},
    };
    const double rad = std::acos(-1.0) / 180.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TickInput in = InputOn(c.curLat, c.curLon);
        SetReference(in, c.refLat, c.refLon);
        const TickFrame f = ComputeTick(in);
        const double p1 = c.refLat * rad;
        const double p2 = f.cursorPoint.latitude * rad;
        const double dl = (c.refLon - f.cursorPoint.longitude) * rad;
        double bearing =
            std::atan2(std::sin(dl) * std::cos(p2),
                       std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl)) /
            rad;
        bearing = std::fmod(bearing + 360.0, 360.0);
        EXPECT_NEAR(f.dial.course, bearing, 0.05);
        EXPECT_GE(f.dial.course, 0.0);
        EXPECT_LT(f.dial.course, 360.0);
        // The dial shows it rounded to a whole degree on the far side from north.
        EXPECT_LT(std::abs(f.dial.azimuth - f.dial.course), 1.0);
    }
}

TEST(Tick, RouteDotPositions) {
    struct Case {
        const char* name;
        double refLat, refLon, curLat, curLon;
        int dot;
        float top, left;
    };
    const Case cases[] = {
        {"direct, first dot", 48.85, -2.35, 40.71, 74.0, 10, 1035.43f, 4766.59f},
        {"direct, last dot", 48.85, -2.35, 40.71, 74.0, 5, 1168.06f, 2989.74f},
        {"antimeridian, Shape1", 34.05, 118.25, 35.68, -139.69, 1, 1143.14f, 9191.70f},
        {"antimeridian, off the map", 34.05, 118.25, 35.68, -139.69, 2, 1101.50f, 10571.68f},
        {"antimeridian, west edge", 34.05, 118.25, 35.68, -139.69, 6, 1081.22f, 3.50f},
        {"antimeridian, east edge", 34.05, 118.25, 35.68, -139.69, 9, 1089.96f, 9526.50f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TickInput in = InputOn(c.curLat, c.curLon);
        SetReference(in, c.refLat, c.refLon);
        const RouteDots dots = ComputeTick(in).dots;
        ASSERT_TRUE(dots.shown);
        EXPECT_TRUE(dots.Shape(c.dot).visible);
        if (c.dot != 2) {
            EXPECT_NEAR(dots.Shape(c.dot).top, c.top, 0.01);
        }
        EXPECT_NEAR(dots.Shape(c.dot).left, c.left, 0.01);
    }

    TickInput in = InputAt(1000, 2000);
    const RouteDots dots = ComputeTick(in).dots;
    EXPECT_EQ(dots.Shape(12).left, 950.0f);
    EXPECT_EQ(dots.Shape(12).top, 1950.0f);
}

TEST(Tick, EdgesOfTheMap) {
    struct Case {
        const char* name;
        double x, y;
        bool lonReadout, latReadout, tracking, dots;
    };
    const Case cases[] = {
        {"left edge: tracked, no dots", 0, 2000, true, true, true, false},
        {"right edge", 9630, 2000, true, true, true, false},
        {"top edge of the dot box", 100, -10, true, true, true, false},
        {"inside the dot box", 1, -9, true, true, true, true},
        {"bottom of the dot box, latitude -90.19", 100, 4820, true, false, true, false},
        {"longitude 181.12, latitude on the map", -30, 2000, false, true, true, false},
        {"longitude -180.57, the east side", 9645, 2000, false, true, true, false},
        {"longitude -181.2 fails", 9662, 2000, false, true, false, false},
        {"far left, latitude on the map", -3000, 2000, false, true, false, false},
        {"far outside", -30000, -30000, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TickInput in = InputAt(c.x, c.y);
        in.internetConnected = true;
        const TickFrame f = ComputeTick(in);
        EXPECT_EQ(f.longitudeReadout.has_value(), c.lonReadout);
        EXPECT_EQ(f.latitudeReadout.has_value(), c.latReadout);
        EXPECT_EQ(f.tracking, c.tracking);
        EXPECT_EQ(f.dots.shown, c.dots);
        EXPECT_EQ(f.mapQuestVisible, !c.tracking);
        if (!c.tracking) {
            EXPECT_EQ(f.distanceText, "");
        }
        EXPECT_EQ(f.dots.Shape(12).visible, c.dots);
        EXPECT_EQ(f.dots.Shape(12).placed, c.dots);
    }

    TickInput off = InputAt(-30000, -30000);
    EXPECT_FALSE(ComputeTick(off).mapQuestVisible.has_value()) << "no connection: left alone";
}

TEST(Tick, ReferenceNudgeAndDistanceFromOrigin) {
    TickInput in = InputOn(0.0, 0.0);
    const TickFrame f = ComputeTick(in);
    EXPECT_EQ(f.referencePoint.latitude, 0.01);
    EXPECT_EQ(f.referencePoint.longitude, 0.01);
    EXPECT_EQ(f.distanceText, "  est à 0  Kms");
    EXPECT_EQ(f.longitudeReadout, "Longitude: 0°  0'  0'' Ouest");

    TickInput on = InputOn(48.85, -2.35);
    SetReference(on, 48.85, -2.35);
    const TickFrame same = ComputeTick(on);
    EXPECT_EQ(same.distanceText, "  est à 0  Kms");
    EXPECT_EQ(same.dial.azimuth, 0.0);
}

// Inputs that cannot describe a map give the idle frame, with finite values only.
TEST(Tick, UnusableInputGivesAFiniteIdleFrame) {
    const auto tweaks = {+[](TickInput& in) { in.mapWidth = 0; },
                         +[](TickInput& in) { in.twipsPerPixelX = std::nanf(""); },
                         +[](TickInput& in) { in.cursorX = 2147483647; }};
    for (auto tweak : tweaks) {
        TickInput in = InputOn(10, 10);
        tweak(in);
        const TickFrame f = ComputeTick(in);
        EXPECT_FALSE(f.tracking);
        for (float v : {f.crosshairX, f.crosshairY, f.dial.needleX2, f.dial.needleY2}) {
            EXPECT_TRUE(std::isfinite(v));
        }
    }
}

// Times to the nearest minute of UTC, the hour of an event on the day before or after as it is,
// and the polar cases in words.
TEST(SunTextTest, Formats) {
    using namespace std::chrono;
    const sys_days day = sys_days{2026y / 12 / 21};
    const auto events = [&](seconds rise, seconds set) {
        geodesy::SunEvents e;
        e.sunrise = sys_seconds{day} + rise;
        e.sunset = sys_seconds{day} + set;
        return e;
    };
    geodesy::SunEvents polarDay;
    polarDay.kind = geodesy::DayKind::kPolarDay;
    geodesy::SunEvents polarNight;
    polarNight.kind = geodesy::DayKind::kPolarNight;
    struct Case {
        const char* place;
        geodesy::SunEvents events;
        const char* text;
    };
    const Case cases[] = {
        {"Domicile", events(7h + 41min + 16s, 15h + 56min + 4s),
         "Domicile : Lever 07:41 UTC · Coucher 15:56 UTC"},
        {"Cible", events(7h + 40min + 31s, 15h + 55min + 29s),
         "Cible : Lever 07:41 UTC · Coucher 15:55 UTC"},
        {"Cible", events(-5h - 19min - 21s, 23h + 59min + 40s),
         "Cible : Lever 18:41 UTC · Coucher 00:00 UTC"},
        {"Cible", events(0s, 24h + 31min), "Cible : Lever 00:00 UTC · Coucher 00:31 UTC"},
        {"Domicile", polarDay, "Domicile : Jour polaire"},
        {"Cible", polarNight, "Cible : Nuit polaire"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SunEventsText(c.place, c.events), c.text);
    }
}

// The long path, the units and the pointer's locator, beside the short-path readings.
TEST(Tick, LongPathUnitsAndLocator) {
    const struct {
        DistanceUnit unit;
        const char* distance;
        const char* longPath;
    } cases[] = {
        {DistanceUnit::Kilometres, "  est à 5837  Kms", "112 °  34192  Kms"},
        {DistanceUnit::StatuteMiles, "  est à 3627  Miles", "112 °  21246  Miles"},
        {DistanceUnit::NauticalMiles, "  est à 3152  Nq", "112 °  18462  Nq"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.distance);
        TickInput in = InputOn(40.71, 74.00);
        SetReference(in, 48.8566, -2.3522);
        in.unit = c.unit;
        const TickFrame f = ComputeTick(in);
        EXPECT_EQ(f.distanceText, c.distance);
        EXPECT_EQ(f.longPathText, c.longPath);
        EXPECT_EQ(f.longAzimuth, 112.0);
        EXPECT_NEAR(f.longDistanceKm + f.distanceKm, 40030.218, 1e-9);
        EXPECT_EQ(f.targetLocator, "FN20XR");
    }
    TickInput off = InputAt(-20000, 6000);
    SetReference(off, 48.8566, -2.3522);
    const TickFrame idle = ComputeTick(off);
    EXPECT_FALSE(idle.tracking);
    EXPECT_EQ(idle.longPathText, "");
    EXPECT_EQ(idle.targetLocator, "");
}

// The long route: only when asked, only over the map, leaving Paris eastwards for New York and
// coming back across the 180th meridian.
TEST(Tick, LongRouteMarks) {
    TickInput in = InputOn(40.71, 74.00);
    SetReference(in, 48.8566, -2.3522);
    EXPECT_FALSE(ComputeTick(in).longRoute.shown);
    in.longRoute = true;
    const TickFrame f = ComputeTick(in);
    ASSERT_TRUE(f.longRoute.shown);
    EXPECT_GT(f.longRoute.marks[0].x, 9630 / 2 + 2.35 * 9630 / 360);
    int wraps = 0;
    for (std::size_t i = 0; i < f.longRoute.marks.size(); ++i) {
        const geodesy::MapPosition m = f.longRoute.marks[i];
        EXPECT_TRUE(m.x >= 0 && m.x <= 9630 && m.y >= 0 && m.y <= 4815) << i;
        if (i > 0 && std::abs(m.x - f.longRoute.marks[i - 1].x) > 9630 / 2) {
            ++wraps;
        }
    }
    EXPECT_EQ(wraps, 1);
    in = InputAt(-20000, 6000);
    in.longRoute = true;
    EXPECT_FALSE(ComputeTick(in).longRoute.shown);
}

// A place pinned by its coordinates is measured wherever the pointer is, as the pointer over
// that place would be; a pinned place that is no place on the globe leaves the pointer measured.
TEST(Tick, PinnedPlaceReplacesThePointer) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const geodesy::GeoPoint newYork{40.71, 74.00};
    const geodesy::GeoPoint sydney{-33.86, -151.20};
    const struct {
        const char* name;
        geodesy::GeoPoint pinned;
        std::optional<geodesy::GeoPoint> pointer;  // none: off the map
        bool measuresNewYork;                      // else nothing: idle
    } cases[] = {
        {"pointer off the map", newYork, std::nullopt, true},
        {"pointer over another place", newYork, sydney, true},
        {"not a number", {nan, 74.00}, std::nullopt, false},
        {"latitude off the globe", {90.5, 74.00}, newYork, true},
        {"longitude off the globe", {40.71, -180.5}, std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TickInput in =
            c.pointer ? InputOn(c.pointer->latitude, c.pointer->longitude) : InputAt(-20000, 6000);
        SetReference(in, 48.8566, -2.3522);
        in.pinnedPoint = c.pinned;
        const TickFrame f = ComputeTick(in);
        EXPECT_EQ(f.tracking, c.measuresNewYork);
        if (!c.measuresNewYork) {
            continue;
        }
        EXPECT_EQ(f.distanceText, "  est à 5837  Kms");
        EXPECT_EQ(f.dial.text, "292 °");
        EXPECT_EQ(f.targetLocator, "FN20XR");
        EXPECT_NEAR(f.crosshairX, 9630.0 / 2 - 9630.0 / 360 * 74.00, 0.5);
        EXPECT_NEAR(f.crosshairY, 4815.0 / 2 - 4815.0 / 180 * 40.71, 0.5);
        EXPECT_TRUE(f.dots.shown);
    }
}

}  // namespace
}  // namespace orbida::tracking
