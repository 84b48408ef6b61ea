// Drives whole tracking ticks with the pointer at chosen map positions and checks every value the
// window shows: readouts, tracking state, distance, azimuth, needle, route dots, long path.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <tuple>

#include "tracking/readout.h"
#include "tracking/sun_text.h"
#include "tracking/tick.h"

namespace orbida::tracking {
namespace {

const double kPi = ComputePi();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const float kScale = static_cast<float>(360.0 / 9630.0);  // degrees per twip, as the map holds it

// A tick input whose pointer measures exactly (mapX, mapY) twips on a 9630 x 4815 map.
TickInput InputAt(double mapX, double mapY) {
    TickInput in;
    in.pi = kPi;
    in.degToRad = ComputeDegToRad(kPi);
    in.twipsPerPixelX = in.twipsPerPixelY = 1.0f;
    in.windowLeft = static_cast<float>(-(mapX + 240.0 + 90.0));
    in.windowTop = static_cast<float>(-(mapY + 720.0 + 370.0));
    return in;
}

// The tick with the pointer on a 1/64 twip grid where it reads (lat, lon) to the hundredth, and
// the reference at (refLat, refLon).
TickFrame Tick(double lat, double lon, double refLat = 48.8566, double refLon = -2.3522,
               const std::function<void(TickInput&)>& tweak = {}) {
    TickInput in = InputAt(std::round((180.0 - lon - 0.005) / double{kScale} * 64) / 64,
                           std::round((90.0 - lat - 0.005) / double{kScale} * 64) / 64);
    in.referencePoint = {refLat, refLon};
    in.referenceHundredths = {std::floor(refLat * 100) / 100, std::floor(refLon * 100) / 100};
    in.entoureLeft = static_cast<float>(9630.0 / 2 - (9630.0 / 360) * refLon - 70);
    if (tweak) {
        tweak(in);
    }
    return ComputeTick(in);
}

TEST(Readout, TextsWithCarryAndEdges) {
    const std::tuple<bool, double, const char*> cases[] = {
        {true, -2.35, "Longitude: 2°  21'  0'' Est"},
        {false, 48.85, "Latitude: 48°  51'  0'' Nord"},
        {true, 0.0, "Longitude: 0°  0'  0'' Ouest"},
        {false, -0.57, "Latitude: 0°  34'  12'' Sud"},
        {true, -180.0, "Longitude: 180°  0'  0'' Est"},
        {true, 180.56, "Longitude: 180°  0'  0'' Ouest"},
        {false, 90.56, "Latitude: 90°  0'  0'' Nord"},
        {true, 179.99, "Longitude: 179°  59'  24'' Ouest"},
        // What is no number reads 0 degrees, with the word a value not below 0 takes, or -inf's.
        {true, kNaN, "Longitude: 0°  0'  0'' Ouest"},
        {false, -kNaN, "Latitude: 0°  0'  0'' Nord"},
        {true, -kInf, "Longitude: 0°  0'  0'' Est"},
    };
    for (const auto& [longitude, value, text] : cases) {
        EXPECT_EQ(longitude ? FormatLongitudeReadout(value) : FormatLatitudeReadout(value), text);
    }
}

// From Paris to New York in each unit: the readouts, the distance measured from the reference cut
// to hundredths and truncated, the long path both ways round, the pointer's locator, and the
// route dots short of the dateline ones.
TEST(Tick, ParisToNewYork) {
    const std::tuple<DistanceUnit, const char*, const char*> cases[] = {
        {DistanceUnit::Kilometres, "  est à 5837  Kms", "112 °  34192  Kms"},
        {DistanceUnit::StatuteMiles, "  est à 3627  Miles", "112 °  21246  Miles"},
        {DistanceUnit::NauticalMiles, "  est à 3152  Nq", "112 °  18462  Nq"}};
    for (const auto& [unit, distance, longPath] : cases) {
        SCOPED_TRACE(distance);
        const TickFrame f =
            Tick(40.71, 74.00, 48.8566, -2.3522, [u = unit](TickInput& in) { in.unit = u; });
        EXPECT_EQ(f.cursorPoint, (geodesy::GeoPoint{40.71, 74.00}));
        EXPECT_EQ(f.longitudeReadout, "Longitude: 74°  0'  0'' Ouest");
        EXPECT_EQ(f.latitudeReadout, "Latitude: 40°  42'  36'' Nord");
        EXPECT_TRUE(f.tracking);
        EXPECT_EQ(f.mapQuestVisible, false);
        EXPECT_EQ(f.distanceText, distance);
        EXPECT_EQ(f.dial.text, "292 °");
        EXPECT_EQ(f.longPathText, longPath);
        EXPECT_NEAR(f.longDistanceKm + f.distanceKm, 40030.218, 1e-9);
        EXPECT_EQ(f.targetLocator, "FN20XR");
        EXPECT_FLOAT_EQ(f.crosshairX, static_cast<float>(f.map.x));
        EXPECT_EQ(f.dots.routeCase, geodesy::RouteCase::Direct);
        for (int n = 1; n <= 12; ++n) {
            const bool crossing = n == 6 || n == 7 || n == 8 || n == 9 || n == 11;
            EXPECT_EQ(f.dots.Shape(n).visible, !crossing) << n;
            EXPECT_EQ(f.dots.Shape(n).placed, !crossing) << n;
        }
    }
    // 12004.9995 km; on the city's hundredths; from the origin, nudged to (0.01, 0.01).
    EXPECT_EQ(Tick(-57.0, -28.0).distanceText, "  est à 12004  Kms");
    EXPECT_EQ(Tick(48.85, -2.36).distanceText, "  est à 0  Kms");
    const TickFrame origin = Tick(0.0, 0.0, 0.0, 0.0);
    EXPECT_EQ(origin.referencePoint, (geodesy::GeoPoint{0.01, 0.01}));
    EXPECT_EQ(origin.distanceText, "  est à 0  Kms");
    EXPECT_EQ(Tick(48.85, -2.35, 48.85, -2.35).dial.azimuth, 0.0);
}

// The dial's whole-degree azimuth and its needle, on either side of home's meridian and across
// the antimeridian; the unrounded course sent to a rotator is checked against GeographicLib below.
TEST(Tick, AzimuthAndNeedle) {
    // Longitudes west positive; the needle's free end in twips of the dial's frame.
    const std::tuple<double, double, double, double, double, double, double> cases[] = {
        {0.01, 0.01, 0, -90, 89, 2339.95, 574.76},
        {0.01, 0.01, 0, 90, 270, 1740, 580},
        {0, -170, 0, 170, 90, 2340, 580},  // east across the antimeridian
        {0, 170, 0, -170, 270, 1740, 580},
        {48.85, -2.35, 60, -2.3, 360, 2040, 280},  // due north, a hair west
        {48.85, -2.35, 60, -2.4, 0, 2040, 280},    // due north, a hair east
        {48.85, -2.35, 60, -1.0, 357, 2024.30, 280.41},
        {48.85, -2.35, 89.99, -1.0, 360, 2040, 280},  // north, west
        {48.85, -2.35, 10, -2.35, 180, 2040, 880},
        {40, -10, 20, 170, 0, 2040, 280},  // over the pole, exactly 180 degrees of longitude away
    };
    for (const auto& [refLat, refLon, curLat, curLon, azimuth, x2, y2] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << refLat << ", " << refLon << " to " << curLat << ", " << curLon);
        const TickFrame f = Tick(curLat, curLon, refLat, refLon);
        EXPECT_EQ(f.dial.azimuth, azimuth);
        EXPECT_NEAR(f.dial.needleX2, x2, 0.01);
        EXPECT_NEAR(f.dial.needleY2, y2, 0.01);
        EXPECT_TRUE(f.dial.course >= 0.0 && f.dial.course < 360.0);
    }
}

// Targets close to home's meridian on either side, and across the antimeridian: the unrounded
// course is the initial azimuth GeographicLib gives on the program's sphere
// (`GeodSolve -i -e 6371007.067746164 0`), and the dial shows it as the design rounds it, to the
// whole degree below on the east side and above on the west side (360 minus the floored angle from
// north). Longitudes west positive.
TEST(Tick, SideOfHomeFromTheLongitudeDifference) {
    const std::tuple<double, double, double, double, double> cases[] = {
        {48.8566, -2.3522, 48.80, -1.5, 264.559889555},  // 63 km west of Paris
        {48.8566, -2.3522, 46, -2, 184.898209317},       // France's point in the country file
        {48.85, -2.35, 10, -1.2, 181.805160607},
        {48.85, -2.35, -20, -3.5, 178.841361165},
        {48.85, -2.35, 46, -2.3, 180.698519162},
        {40.71, 74, 41.5, 74.9, 319.651449982},
        {40.71, 74, 35, 73.1, 172.626464827},
        {-20, -179.5, -25, 179.9, 173.786573390},  // east across the antimeridian
        {60, 179.5, 65, -179.9, 357.093817338},    // west across it
        {35.68, -139.69, 36.2, -138.5, 298.704929698},
        {51.5, -0.5, 51.49, 0.3, 269.162832316},
        // Less than a hundredth of a degree either side: Paris as the city file gives it, the
        // pointer on the hundredths it reads.
        {48.8566, -2.3522, 60, -2.35, 359.994308339},
        {48.8566, -2.3522, 10, -2.36, 179.987756094},
    };
    for (const auto& [refLat, refLon, curLat, curLon, course] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << refLat << ", " << refLon << " to " << curLat << ", " << curLon);
        const TickFrame f = Tick(curLat, curLon, refLat, refLon);
        EXPECT_NEAR(f.dial.course, course, 1e-6);
        EXPECT_EQ(f.dial.azimuth, course > 180.0 ? std::ceil(course) : std::floor(course));
        EXPECT_EQ(f.longAzimuth, std::fmod(f.dial.azimuth + 180.0, 360.0));
    }
}

TEST(Tick, RouteDotPositions) {
    const std::tuple<double, double, double, double, double, double, int> cases[] = {
        {48.85, -2.35, 40.71, 74.0, 1035.43, 4766.59, 10},
        {48.85, -2.35, 40.71, 74.0, 1168.06, 2989.74, 5},
        {34.05, 118.25, 35.68, -139.69, 1143.14, 9191.70, 1},
        {34.05, 118.25, 35.68, -139.69, 1101.50, 10571.68, 2},  // off the map
        {34.05, 118.25, 35.68, -139.69, 1081.22, 3.50, 6},      // the west edge
        {34.05, 118.25, 35.68, -139.69, 1089.96, 9526.50, 9},   // the east edge
    };
    for (const auto& [refLat, refLon, curLat, curLon, top, left, dot] : cases) {
        SCOPED_TRACE(dot);
        const RouteDots dots = Tick(curLat, curLon, refLat, refLon).dots;
        ASSERT_TRUE(dots.shown && dots.Shape(dot).visible);
        if (dot != 2) {  // the dot off the map: its longitude only
            EXPECT_NEAR(dots.Shape(dot).top, top, 0.01);
        }
        EXPECT_NEAR(dots.Shape(dot).left, left, 0.01);
    }
    const RouteDots dots = ComputeTick(InputAt(1000, 2000)).dots;
    EXPECT_EQ(dots.Shape(12).left, 950.0f);
    EXPECT_EQ(dots.Shape(12).top, 1950.0f);
}

TEST(Tick, EdgesOfTheMap) {
    const std::tuple<double, double, bool, bool, bool, bool> cases[] = {
        {0, 2000, true, true, true, false},  // left edge: tracked, no dots
        {9630, 2000, true, true, true, false},
        {100, -10, true, true, true, false},  // top edge of the dot box
        {1, -9, true, true, true, true},
        {100, 4820, true, false, true, false},    // bottom of the dot box, latitude -90.19
        {-30, 2000, false, true, true, false},    // longitude 181.12, latitude on the map
        {9662, 2000, false, true, false, false},  // longitude -181.2 fails
        {-30000, -30000, false, false, false, false},
    };
    for (const auto& [x, y, lonReadout, latReadout, tracking, dots] : cases) {
        SCOPED_TRACE(::testing::Message() << x << ", " << y);
        TickInput in = InputAt(x, y);
        in.internetConnected = true;
        const TickFrame f = ComputeTick(in);
        EXPECT_EQ(f.longitudeReadout.has_value(), lonReadout);
        EXPECT_EQ(f.latitudeReadout.has_value(), latReadout);
        EXPECT_EQ(f.tracking, tracking);
        EXPECT_EQ(f.dots.shown, dots);
        EXPECT_EQ(f.mapQuestVisible, !tracking);
        EXPECT_TRUE(tracking || f.distanceText.empty());
        EXPECT_EQ(f.dots.Shape(12).visible, dots);
        EXPECT_EQ(f.dots.Shape(12).placed, dots);
    }
    const TickFrame off = ComputeTick(InputAt(-30000, -30000));
    EXPECT_FALSE(off.mapQuestVisible.has_value()) << "no connection: left alone";
    EXPECT_EQ(off.longPathText, "");
    EXPECT_EQ(off.targetLocator, "");
}

// Inputs that cannot describe a map give the idle frame, with finite values only.
TEST(Tick, UnusableInputGivesAFiniteIdleFrame) {
    for (auto tweak : {+[](TickInput& in) { in.mapWidth = 0; },
                       +[](TickInput& in) { in.twipsPerPixelX = std::nanf(""); },
                       +[](TickInput& in) { in.cursorX = 2147483647; }}) {
        const TickFrame f = Tick(10, 10, 48.8566, -2.3522, tweak);
        EXPECT_FALSE(f.tracking);
        for (float v : {f.crosshairX, f.crosshairY, f.dial.needleX2, f.dial.needleY2}) {
            EXPECT_TRUE(std::isfinite(v));
        }
    }
}

// Times to the nearest minute of UTC, the hour of an event on the day before or after the noon's
// as it is with the day said, and the polar cases in words.
TEST(SunTextTest, Formats) {
    using namespace std::chrono;
    const auto events = [](seconds rise, seconds set) {
        geodesy::SunEvents e;
        e.sunrise = sys_days{2026y / 12 / 21} + rise;
        e.sunset = sys_days{2026y / 12 / 21} + set;
        e.solarNoon = sys_days{2026y / 12 / 21} + 12h;
        return e;
    };
    geodesy::SunEvents polarDay, polarNight;
    polarDay.kind = geodesy::DayKind::kPolarDay;
    polarNight.kind = geodesy::DayKind::kPolarNight;
    const std::tuple<const char*, geodesy::SunEvents, const char*> cases[] = {
        {"Domicile", events(7h + 41min + 16s, 15h + 56min + 4s),
         "Domicile : Lever 07:41 UTC · Coucher 15:56 UTC"},
        {"Cible", events(7h + 40min + 31s, 15h + 55min + 29s),
         "Cible : Lever 07:41 UTC · Coucher 15:55 UTC"},
        {"Cible", events(-5h - 19min - 21s, 23h + 59min + 40s),
         "Cible : Lever 18:41 UTC (veille) · Coucher 00:00 UTC (lendemain)"},
        {"Cible", events(0s, 24h + 31min),
         "Cible : Lever 00:00 UTC · Coucher 00:31 UTC (lendemain)"},
        {"Domicile", polarDay, "Domicile : Jour polaire"},
        {"Cible", polarNight, "Cible : Nuit polaire"},
    };
    for (const auto& [place, sun, text] : cases) {
        EXPECT_EQ(SunEventsText(place, sun), text);
    }
}

// The long route: only when asked, only over the map, leaving Paris eastwards for New York and
// coming back across the 180th meridian.
TEST(Tick, LongRouteMarks) {
    EXPECT_FALSE(Tick(40.71, 74.00).longRoute.shown);
    const auto asked = [](TickInput& in) { in.longRoute = true; };
    const TickFrame f = Tick(40.71, 74.00, 48.8566, -2.3522, asked);
    ASSERT_TRUE(f.longRoute.shown);
    const auto mark = [&](std::size_t i) {
        return geodesy::DegreesToMap(f.longRoute.points[i], 9630.0f, 4815.0f);
    };
    EXPECT_GT(mark(0).x, 9630 / 2 + 2.35 * 9630 / 360);
    int wraps = 0;
    for (std::size_t i = 0; i < f.longRoute.points.size(); ++i) {
        const geodesy::MapPosition m = mark(i);
        EXPECT_TRUE(m.x >= 0 && m.x <= 9630 && m.y >= 0 && m.y <= 4815) << i;
        wraps += i > 0 && std::abs(m.x - mark(i - 1).x) > 9630 / 2 ? 1 : 0;
    }
    EXPECT_EQ(wraps, 1);
    TickInput off = InputAt(-20000, 6000);
    off.longRoute = true;
    EXPECT_FALSE(ComputeTick(off).longRoute.shown);
}

// A place pinned by its coordinates is measured wherever the pointer is, as the pointer over
// that place would be; a pinned place that is no place on the globe leaves the pointer measured.
TEST(Tick, PinnedPlaceReplacesThePointer) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // The place pinned, whether the pointer is over the map, whether New York is measured.
    const std::tuple<geodesy::GeoPoint, bool, bool> cases[] = {
        {{40.71, 74.00}, false, true},   {{40.71, 74.00}, true, true},
        {{nan, 74.00}, false, false},    {{90.5, 74.00}, true, false},
        {{40.71, -180.5}, false, false},
    };
    for (const auto& [pinned, overTheMap, measuresNewYork] : cases) {
        SCOPED_TRACE(::testing::Message() << pinned.latitude << ", " << pinned.longitude);
        TickInput in = overTheMap ? InputAt(8800, 3300) : InputAt(-20000, 6000);
        in.referencePoint = {48.8566, -2.3522};
        in.referenceHundredths = {48.85, -2.36};
        in.pinnedPoint = pinned;
        const TickFrame f = ComputeTick(in);
        EXPECT_EQ(f.tracking, measuresNewYork || overTheMap);
        EXPECT_EQ(f.distanceText == "  est à 5837  Kms", measuresNewYork);
        if (measuresNewYork) {
            EXPECT_EQ(f.dial.text, "292 °");
            EXPECT_EQ(f.targetLocator, "FN30AR");  // 74.00 W is on FN30's west edge
            EXPECT_NEAR(f.crosshairX, 9630.0 / 2 - 9630.0 / 360 * 74.00, 0.5);
            EXPECT_NEAR(f.crosshairY, 4815.0 / 2 - 4815.0 / 180 * 40.71, 0.5);
            EXPECT_TRUE(f.dots.shown);
        }
    }
}

}  // namespace
}  // namespace orbida::tracking
