// The numbers the map, the distance, the course, the route, the long path, the locator squares
// and the sun must produce, including the last digits that come from the truncated constants and
// 32-bit float scales, and the sun against published almanac figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "geodesy/course.h"
#include "geodesy/disc_raster.h"
#include "geodesy/distance.h"
#include "geodesy/locator.h"
#include "geodesy/long_path.h"
#include "geodesy/map_projection.h"
#include "geodesy/night_mask.h"
#include "geodesy/numbers.h"
#include "geodesy/projection.h"
#include "geodesy/route.h"
#include "geodesy/sun.h"

namespace orbida::geodesy {
namespace {

using namespace std::chrono;
const double kPi = 4.0 * std::atan(1.0);
const double kDegToRad = kPi / 180.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Known distances; and readings from Paris whose kilometre the truncated constants decide (part of
// every distance ever shown): with exact values they would lose or gain a kilometre.
TEST(GetDistanceKm, KnownDistances) {
    const std::tuple<double, double, double, double, double, double> cases[] = {
        {0, 0, 0, 0, 0.0, 0.0},
        {0, 0, -180, 0, 20015.109, 1e-9},  // half way round the equator, and pole to pole
        {0, 90, 0, -90, 20015.109, 1e-9},
        {0, 0, 90, 0, 10007.55, 0.01},               // a quarter of the equator, a little short
        {-2.35, 48.85, 74.0, 40.71, 5837.14, 0.01},  // Paris to New York, and signs flipped
        {2.35, 48.85, -74.0, 40.71, 5837.14, 0.01},
        {1e300, 0, 1e300, 0, 0.0, 1e-9},
        {-2.36, 48.85, -134.4, -3.68, 13255.5, 0.5},  // degrees per radian
        {-2.36, 48.85, 102.28, 63.24, 5927.5, 0.5},
        {-2.36, 48.85, -28.0, -57.0, 12004.5, 0.5},  // quarter turn
        {-2.36, 48.85, -104.0, -88.0, 15479.5, 0.5},
        {-2.36, 48.85, 23.71, -84.88, 14923.5, 0.5},  // full turn
        {-2.36, 48.85, 87.73, -39.1, 13166.5, 0.5},
    };
    for (const auto& [lonA, latA, lonB, latB, km, tolerance] : cases) {
        EXPECT_NEAR(GetDistanceKm(lonA, latA, lonB, latB), km, tolerance) << km;
    }
    EXPECT_EQ(GetDistanceKm(kNaN, 0, 0, 0), kDistanceFailure);
    EXPECT_EQ(GetDistanceKm(0, 0, 0, kInf), kDistanceFailure);
}

// Rounding can put the cosine a hair outside [-1, 1] for a pointer resting on the city or on its
// antipode; that is a distance of 0 (a few metres negative, from the truncated quarter turn) or
// half the circumference, never the failure value.
TEST(GetDistanceKm, CoincidentAndAntipodalPointsOnTheHundredthGrid) {
    for (int i = -9000; i <= 9000; i += 7) {
        const double lat = i / 100.0;
        for (int j = -18000; j <= 18000; j += 1013) {
            const double lon = j / 100.0;
            const double same = GetDistanceKm(lon, lat, lon, lat);
            const double opposite = GetDistanceKm(lon, lat, lon + 180.0, -lat);
            ASSERT_TRUE(same > -0.01 && same < 0.05) << lat << " " << lon;
            ASSERT_TRUE(opposite > 20015.0 && opposite <= 20015.2) << lat << " " << lon;
        }
    }
}

// Where the spherical formulas have no number, the course is still north or south.
TEST(ComputeCourse, UndefinedCasesGiveNorthOrSouth) {
    const std::tuple<double, double, double, double, double> cases[] = {
        {48.85, -2.35, 48.85, -2.35, 0.0},  // on the reference point
        {0.01, 0.01, 0.01, 0.01, 0.0},      // on the origin
        {0.0, 90.0, 0.0, -90.0, 0.0},       // on the antipode
        {48.85, -2.35, 60.0, -2.35, 0.0},   // north, then south, on the same meridian
        {48.85, -2.35, 10.0, -2.35, kPi},
        {90.0, 0.01, 40.0, 74.0, kPi},  // from the north pole, then the south pole
        {-90.0, 0.01, 40.0, 74.0, 0.0},
        {80.0, 0.01, 70.0, -179.99, 0.0},  // over the pole on the opposite meridian
        {kNaN, 0, 0, 0, 0.0},
    };
    for (const auto& [refLat, refLon, curLat, curLon, course] : cases) {
        const Course r = ComputeCourse(refLat * kDegToRad, refLon * kDegToRad, curLat * kDegToRad,
                                       curLon * kDegToRad, kPi);
        EXPECT_TRUE(std::isfinite(r.angularDistance)) << refLat;
        EXPECT_NEAR(r.courseAngle, course, 1e-3) << refLat << " " << curLat;
    }
}

TEST(MapToDegrees, ScaleFollowsTheControlSize) {
    const std::tuple<double, double, double, double> cases[] = {
        {0, 0, 180.00, 90.00},         {4815, 2407.5, 0.00, 0.00},  {9600, 4800, -178.88, -89.44},
        {9630, 4815, -180.00, -90.00}, {-15, 4830, 180.56, -90.57}, {-30, 0, 181.12, 90.00},
        {4800, 0, 0.56, 90.00}};
    for (const auto& [x, y, lon, lat] : cases) {
        const GeoPoint p = MapToDegrees({x, y}, 9630.0f, 4815.0f);
        EXPECT_DOUBLE_EQ(p.longitude, lon) << x;
        EXPECT_DOUBLE_EQ(p.latitude, lat) << y;
    }
    EXPECT_DOUBLE_EQ(FloorHundredths(-0.561), -0.57);
}

// Values beyond float range are pinned, and a NaN never reaches a widget.
TEST(ToControlFloat, ClampsToFloatRange) {
    constexpr float kMax = std::numeric_limits<float>::max();
    const std::pair<double, float> cases[] = {{1.5, 1.5f},   {-4807.9214, -4807.9214f},
                                              {1e300, kMax}, {-1e300, -kMax},
                                              {kNaN, 0.0f},  {-kNaN, 0.0f}};
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(ToControlFloat(value), expected) << value;
    }
}

// Whole numbers in plain decimal however large, and 0 for what is no number at all: a text that
// reads "nan" or "inf" never reaches a label.
TEST(FormatWhole, PlainDecimalAndZeroWhenNotFinite) {
    const std::pair<double, const char*> cases[] = {
        {5837, "5837"}, {-9999, "-9999"}, {-0.0, "0"}, {1e20, "100000000000000000000"},
        {kNaN, "0"},    {-kNaN, "0"},     {kInf, "0"}, {-kInf, "0"}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(FormatWhole(value), text) << value;
    }
}

RoutePlan Sample(double refLat, double refLon, double curLat, double curLon) {
    return SampleRoute(refLat * kDegToRad, refLon * kDegToRad, curLat * kDegToRad,
                       curLon * kDegToRad, kDegToRad, kPi);
}

// Every sample, in its order, has its own longitude and lies on the great circle through the two
// points: directly, or across the +-180 line whichever side the reference is on.
TEST(SampleRoute, EverySampleLiesOnTheGreatCircle) {
    // The longitudes of the samples in their order: dots 10, 1 to 5, and across the line 6, 7,
    // 8, 11 and 9.
    const std::vector<double> direct = {-0.0595, 5.285, 20.555, 35.825, 51.095, 66.365},
                              fromWest = {-147.4282, -165.484, -217.072, -268.66,
                                          -320.248,  -371.836, 178,      158.0833,
                                          138.1667,  123.6818, -178},
                              fromEast = {125.9882, 144.044, 195.632, 247.22,    298.808, 350.396,
                                          178,      -165.23, -152.46, -143.1727, -178};
    const std::tuple<double, double, double, double, const std::vector<double>&> cases[] = {
        {48.85, -2.35, 40.71, 74.0, direct},
        {34.05, 118.25, 35.68, -139.69, fromWest},
        {35.68, -139.69, 34.05, 118.25, fromEast}};
    const int order[] = {10, 1, 2, 3, 4, 5, 6, 7, 8, 11, 9};
    // Unit vector of a point, in radians.
    const auto unit = [](double lat, double lon) {
        return std::array<double, 3>{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon),
                                     std::sin(lat)};
    };
    for (const auto& [refLat, refLon, curLat, curLon, longitudes] : cases) {
        SCOPED_TRACE(refLon);
        const RoutePlan plan = Sample(refLat, refLon, curLat, curLon);
        EXPECT_EQ(plan.routeCase,
                  &longitudes == &direct ? RouteCase::Direct : RouteCase::Antimeridian);
        ASSERT_EQ(plan.count, longitudes.size());
        const auto r = unit(refLat * kDegToRad, refLon * kDegToRad);
        const auto p = unit(curLat * kDegToRad, curLon * kDegToRad);
        const std::array<double, 3> normal = {r[1] * p[2] - r[2] * p[1], r[2] * p[0] - r[0] * p[2],
                                              r[0] * p[1] - r[1] * p[0]};
        for (std::size_t i = 0; i < plan.count; ++i) {
            const RouteSample& s = plan.samples[i];
            ASSERT_EQ(s.dot, order[i]);
            EXPECT_NEAR(s.longitude / kDegToRad, longitudes[i], 1e-4) << s.dot;
            const auto q = unit(s.latitude * kDegToRad, s.longitude);
            EXPECT_NEAR(normal[0] * q[0] + normal[1] * q[1] + normal[2] * q[2], 0.0, 1e-9) << s.dot;
        }
    }
}

// The case changes exactly at 180 degrees of longitude; a route over a pole, between antipodal
// meridians, has its samples at the pole; a cursor on the reference meridian (the formula's
// 0 / 0) has them along the meridian between the two latitudes.
TEST(SampleRoute, CaseBoundaryAndMeridians) {
    EXPECT_EQ(SampleRoute(0.1, 0.0, 0.2, 180.0, 1.0, kPi).routeCase, RouteCase::Antimeridian);
    EXPECT_EQ(SampleRoute(0.1, 0.0, 0.2, 179.99999, 1.0, kPi).routeCase, RouteCase::Direct);
    EXPECT_EQ(Sample(0, 90, 10, -89.99).routeCase, RouteCase::Direct);
    const RoutePlan overPole = Sample(10, 5, -20, -175);
    for (std::size_t i = 0; i < overPole.count; ++i) {
        EXPECT_NEAR(std::abs(overPole.samples[i].latitude), 90.0, 5e-5) << i;
    }
    const RoutePlan meridian = Sample(48.85, -2.35, 10.0, -2.35);
    EXPECT_EQ(meridian.routeCase, RouteCase::Direct);
    const double fraction[] = {0, 0.1, 0.3, 0.5, 0.7, 0.9};  // by dot; dot 10 at 0.03
    for (std::size_t i = 0; i < meridian.count; ++i) {
        const RouteSample& s = meridian.samples[i];
        const double k = s.dot == 10 ? 0.03 : fraction[s.dot];
        EXPECT_NEAR(s.longitude / kDegToRad, -2.35, 5e-5) << s.dot;
        EXPECT_NEAR(s.latitude, 48.85 - 38.85 * k, 5e-5) << s.dot;
    }
}

bool NegativeZero(double v) {
    return v == 0.0 && std::signbit(v);
}

TEST(LongPath, AzimuthAndDistance) {
    const std::pair<double, double> azimuths[] = {{292, 112},   {0, 180},    {180, 0},  {360, 180},
                                                  {179.9, 359}, {-0.0, 180}, {-180, 0}, {540, 0},
                                                  {-0.5, 179},  {kInf, 0}};
    for (const auto& [shortPath, longPath] : azimuths) {
        EXPECT_EQ(LongPathAzimuth(shortPath), longPath) << shortPath;
        EXPECT_FALSE(NegativeZero(LongPathAzimuth(shortPath))) << shortPath;
    }
    // Just past -180 the turned course rounds up to 360, which is north.
    EXPECT_EQ(LongPathAzimuth(-180.00000000000003), 0.0);
    const std::pair<double, double> distances[] = {{0, 40030.218},       {20015.109, 20015.109},
                                                   {5854.5, 34175.718},  {-0.003, 40030.218},
                                                   {20016.0, 20015.109}, {kInf, 40030.218}};
    for (const auto& [shortKm, longKm] : distances) {
        EXPECT_NEAR(LongPathDistanceKm(shortKm), longKm, 1e-9) << shortKm;
    }
}

// The points of the long path are evenly spaced along the other arc, on the globe.
TEST(LongPath, PointsFollowTheOtherArc) {
    // Paris to New York, a point to itself, to its antipode, a pole to the other.
    const std::pair<GeoPoint, GeoPoint> cases[] = {{{48.85, -2.35}, {40.71, 74.0}},
                                                   {{10, 20}, {10, 20}},
                                                   {{10, 20}, {-10, -160}},
                                                   {{-90, 0}, {90, 0}}};
    const auto km = [](GeoPoint a, GeoPoint b) {
        return GetDistanceKm(a.longitude, a.latitude, b.longitude, b.latitude);
    };
    for (const auto& [from, to] : cases) {
        SCOPED_TRACE(::testing::Message() << from.latitude << " " << to.latitude);
        const double stepKm = LongPathDistanceKm(km(from, to)) / (kLongPathPoints + 1);
        GeoPoint previous = from;
        for (const GeoPoint& p : LongPathPoints(from, to)) {
            ASSERT_TRUE(std::abs(p.latitude) <= 90.0 && std::abs(p.longitude) <= 180.0);
            EXPECT_FALSE(NegativeZero(p.latitude) || NegativeZero(p.longitude));
            EXPECT_NEAR(km(previous, p), stepKm, 1.0);
            previous = p;
        }
        EXPECT_NEAR(km(previous, to), stepKm, 1.0);
    }
    // Paris to New York the long way runs east, over Asia: the first point is east of Paris.
    EXPECT_LT(LongPathPoints({48.85, -2.35}, {40.71, 74.0})[0].longitude, -2.35);
}

// Ten-character locators of places and of squares' edges, as Hamlib's `rotctl -m 1 L LON LAT 10`
// gives them: a point on an edge lies in the square east or north of it. At the globe's corners
// the locator system's own definition holds, where Hamlib wraps: 180 E is 180 W, 90 N is in the
// last row, and a hair south-west of 0, 0 lies in II99, not JJ00. Longitudes west positive.
TEST(Locator, OfPoints) {
    const std::tuple<double, double, const char*> cases[] = {
        {48.8566, -2.3522, "JN18EU25GO"},
        {37.5, -14, "JM77AM00AA"},
        {40, 74, "FN30AA00AA"},
        {46, -2, "JN16AA00AA"},
        {0, 0, "JJ00AA00AA"},
        {-90, 180, "AA00AA00AA"},
        {35.6895, -139.6917, "PM95UQ35AL"},
        {21.3069, 157.8583, "BL11BH73AP"},
        {-33.9249, -18.4241, "JF96FB08VA"},
        {-33.4489, 70.6693, "FF46PN92QG"},
        {5.3544, 4.0017, "IJ75XI95TB"},
        {9.0250, -38.7469, "KJ99IA96PA"},
        {41.9189, -8.7381, "JN41IW80NM"},
        {90, -180, "AR09AX09AX"},
        {90, 180, "AR09AX09AX"},
        {-1e-6, 1e-6, "II99XX99XX"},
    };
    for (const auto& [latitude, longitude, text] : cases) {
        EXPECT_EQ(LocatorOf(latitude, longitude, 10), text) << latitude << ", " << longitude;
    }
}

TEST(Locator, CentreOfSquares) {
    const std::tuple<const char*, double, double> known[] = {
        {"jn18eu", 48.854167, -2.375},
        {"JJ00", 0.5, -1.0},
        {"JN18EU55", 48.85625, -2.37916667},
        {"RR99XX99XX", 89.99991319, -179.99982639}};
    for (const auto& [text, latitude, longitude] : known) {
        const auto centre = LocatorCentre(text);
        ASSERT_TRUE(centre.has_value()) << text;
        EXPECT_NEAR(centre->latitude, latitude, 1e-6) << text;
        EXPECT_NEAR(centre->longitude, longitude, 1e-6) << text;
        // The centre lies in its own square.
        std::string square = text;
        std::ranges::transform(square, square.begin(), [](char c) { return std::toupper(c); });
        EXPECT_EQ(LocatorOf(centre->latitude, centre->longitude, static_cast<int>(square.size())),
                  square);
    }
    for (const char* bad : {"", "JN1", "JN18E", "SS99", "JS18", "JN1A", "JN18YA", "JN18EU0A",
                            "JN18EU00Y0", "JN18EU00AY", "JN18EU00AAB", "J N18"}) {
        EXPECT_FALSE(LocatorCentre(bad).has_value()) << bad;
    }
}

// An instant from a date and a UTC time of day; a day offset of -1 or +1 for events that fall on
// the day before or after.
sys_seconds Utc(year_month_day date, int hour, int minute, int dayOffset = 0) {
    return sys_days{date} + days{dayOffset} + hours{hour} + minutes{minute};
}
double MinutesApart(sys_seconds a, sys_seconds b) {
    return std::abs(static_cast<double>((a - b).count())) / 60.0;
}

// Published sunrise and sunset tables give the minute; the computation must land within a minute
// of it. Longitudes are written east-positive as the tables give them and flipped for the call.
// Near the poles the sun may not rise or set at all.
TEST(SunTest, SunriseAndSunsetMatchPublishedTables) {
    const year_month_day winter = 2026y / December / 21, summer = 2026y / June / 21;
    const struct {
        double latitude, eastLongitude;
        year_month_day date;
        sys_seconds sunrise, sunset;
        DayKind kind = DayKind::kRiseAndSet;
    } cases[] = {
        {48.8566, 2.3522, winter, Utc(winter, 7, 41), Utc(winter, 15, 56)},  // Paris
        {48.8566, 2.3522, summer, Utc(summer, 3, 47), Utc(summer, 19, 58)},
        {40.7128, -74.0060, summer, Utc(summer, 9, 25), Utc(summer, 0, 31, +1)},  // New York
        {64.1466, -21.9426, summer, Utc(summer, 2, 55), Utc(summer, 0, 4, +1)},   // Reykjavik
        // Near the date line, east of it: sunrise on the UTC day before.
        {-33.8688, 151.2093, winter, Utc(winter, 18, 41, -1), Utc(winter, 9, 5)},   // Sydney
        {-18.1416, 178.4419, summer, Utc(summer, 18, 37, -1), Utc(summer, 5, 39)},  // Suva
        {69.6492, 18.9553, winter, {}, {}, DayKind::kPolarNight},                   // Tromsø
        {69.6492, 18.9553, summer, {}, {}, DayKind::kPolarDay},
        {-77.85, 166.67, winter, {}, {}, DayKind::kPolarDay},  // McMurdo
        {-90.0, 0.0, summer, {}, {}, DayKind::kPolarNight},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.latitude);
        const SunEvents events = SunEventsOn({c.latitude, -c.eastLongitude}, c.date);
        ASSERT_EQ(events.kind, c.kind);
        if (c.kind == DayKind::kRiseAndSet) {
            EXPECT_LE(MinutesApart(events.sunrise, c.sunrise), 1.0);
            EXPECT_LE(MinutesApart(events.sunset, c.sunset), 1.0);
        }
    }
    EXPECT_LE(MinutesApart(SunEventsOn({40.7128, 74.0060}, winter).solarNoon, Utc(winter, 16, 54)),
              1.0);
    EXPECT_EQ(SunEventsOn({65.0, 0.0}, summer).kind, DayKind::kRiseAndSet) << "a night in June";
}

// The sun overhead at the tropics at the solstices and on the equator at the equinoxes, over the
// meridian the equation of time gives; its elevation overhead, at the antipode, at a noon and at
// the pole.
TEST(SunTest, SubsolarPointAndElevation) {
    const std::tuple<sys_seconds, double, double> cases[] = {
        {Utc(2026y / 3 / 20, 14, 46), 0.0, 39.65},   {Utc(2026y / 6 / 21, 8, 24), 23.44, -54.45},
        {Utc(2026y / 9 / 23, 0, 5), 0.0, -176.89},   {Utc(2026y / 12 / 21, 20, 50), -23.44, 132.94},
        {Utc(2026y / 12 / 21, 12, 0), -23.44, 0.48},
    };
    for (const auto& [when, latitude, westLongitude] : cases) {
        const SunPosition sun = SunAt(when);
        EXPECT_NEAR(sun.subsolar.latitude, latitude, 0.02) << westLongitude;
        EXPECT_NEAR(sun.subsolar.longitude, westLongitude, 0.05);
    }
    const SunPosition sun = SunAt(Utc(2026y / 12 / 21, 11, 49));
    const std::tuple<GeoPoint, double, double> points[] = {
        {sun.subsolar, 90.0, 1e-6},
        {{-sun.subsolar.latitude, sun.subsolar.longitude - 180.0}, -90.0, 1e-6},
        {{48.8566, -2.3522}, 17.71, 0.05},  // Paris at its winter noon: 90 - 48.86 - 23.44
        {{90.0, 123.0}, -23.44, 0.02},      // the North Pole, whatever the hour
    };
    for (const auto& [point, elevation, tolerance] : points) {
        EXPECT_NEAR(SolarElevation(sun, point), elevation, tolerance) << elevation;
    }
}

// 180 W and 180 E are the same meridian and give the same solar day, the one whose noon falls
// within the date asked for.
TEST(SunTest, DateLineAndDistantYear) {
    const year_month_day date = 2026y / 3 / 20;
    const SunEvents east = SunEventsOn({0.0, -180.0}, date), west = SunEventsOn({0.0, 180.0}, date);
    EXPECT_EQ(east.sunrise, west.sunrise);
    EXPECT_EQ(east.sunset, west.sunset);
    EXPECT_EQ(east.solarNoon, west.solarNoon);
    EXPECT_GE(east.solarNoon, sys_seconds{sys_days{date}});
    EXPECT_LT(east.solarNoon, sys_seconds{sys_days{date} + days{1}});
    EXPECT_TRUE(east.sunrise < east.solarNoon && east.solarNoon < east.sunset);

    // At the far end of what --time accepts, the same day's sunrise is within minutes of this
    // year's.
    const GeoPoint paris{48.8566, -2.3522};
    // The sunrise's time of day, on the first day of the clock.
    const auto sunrise = [&](year_month_day day) {
        return sys_seconds{} + (SunEventsOn(paris, day).sunrise - sys_days{day});
    };
    EXPECT_LE(MinutesApart(sunrise(2100y / 6 / 21), sunrise(2026y / 6 / 21)), 3.0);
}

// Days when the sun only grazes the horizon, and noons next to the antimeridian, against
// python3-ephem (the sun's centre at -0.833 degree, no further refraction). A grazing day's
// events move by minutes for a hundredth of a degree of declination, hence their tolerance; the
// noon must be within seconds, also where it falls by the date line. Then a sweep of every day
// of a leap year near the polar circles: sunrise before noon before sunset, always.
TEST(SunTest, GrazingDaysAndNoonsByTheDateLine) {
    using S = sys_seconds;
    const auto at = [](year_month_day d, int h, int m, int s) {
        return S{sys_days{d}} + hours{h} + minutes{m} + seconds{s};
    };
    const struct {
        double latitude, eastLongitude;
        year_month_day date;
        S sunrise, noon, sunset;
    } cases[] = {
        {66.3, 76.34, 2024y / 7 / 4, at(2024y / 7 / 3, 19, 2, 20), at(2024y / 7 / 4, 6, 59, 8),
         at(2024y / 7 / 4, 18, 37, 55)},
        {65.9, -179.6, 2025y / 6 / 1, at(2025y / 6 / 1, 13, 10, 50), at(2025y / 6 / 1, 23, 56, 22),
         at(2025y / 6 / 2, 10, 45, 49)},
        {-66.0, 179.7, 2024y / 12 / 9, at(2024y / 12 / 9, 12, 30, 44),
         at(2024y / 12 / 9, 23, 53, 58), at(2024y / 12 / 10, 11, 23, 15)},
        {66.0, -179.99, 2026y / 1 / 6, at(2026y / 1 / 5, 22, 18, 33), at(2026y / 1 / 6, 0, 5, 34),
         at(2026y / 1 / 6, 1, 53, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.latitude << ", " << c.eastLongitude);
        const SunEvents events = SunEventsOn({c.latitude, -c.eastLongitude}, c.date);
        ASSERT_EQ(events.kind, DayKind::kRiseAndSet);
        EXPECT_LE(MinutesApart(events.solarNoon, c.noon), 10.0 / 60.0);
        EXPECT_LE(MinutesApart(events.sunrise, c.sunrise), 5.0);
        EXPECT_LE(MinutesApart(events.sunset, c.sunset), 5.0);
    }
    int counted = 0;
    for (double latitude : {-67.0, -66.4, -65.8, 63.5, 65.6, 66.0, 66.3, 66.5, 67.0}) {
        for (double westLongitude : {179.9, 90.0, 0.0, -76.34, -179.9}) {
            for (sys_days d = sys_days{2024y / 1 / 1}; d < sys_days{2025y / 1 / 1}; d += days{1}) {
                const SunEvents e = SunEventsOn({latitude, westLongitude}, year_month_day{d});
                if (e.kind == DayKind::kRiseAndSet) {
                    ++counted;
                    ASSERT_TRUE(e.sunrise <= e.solarNoon && e.solarNoon <= e.sunset)
                        << latitude << ", " << westLongitude << " on " << d.time_since_epoch();
                }
            }
        }
    }
    EXPECT_GT(counted, 10000);
}

// The azimuthal equidistant projection against GeographicLib's
// `GeodesicProj -z LAT0 LON0 -e 6371007.067746164 0 -p 9`, a sphere of the program's circumference
// (40,030.218 km, the one its distances are measured on): homes in Paris, at both poles and on the
// antimeridian, and points near the poles, on either side of 180 degrees and close to a home's
// antipode. Forward to a metre, inverse to 1e-9 degree; then round trips of random points, the
// antipode and the rim.
TEST(AzimuthalEquidistant, MatchesGeodesicProj) {
    // Home, point (longitudes west positive), and the oracle's x east and y north in metres.
    const std::tuple<double, double, double, double, double, double> cases[] = {
        {48.8566, -2.3522, 40.71, 74, -5420062.219361413, 2166512.335316294},
        {48.8566, -2.3522, 89.9, -10, 1614.395909873, 4563921.736412254},
        {48.8566, -2.3522, -89.5, 100, -200617.070115517, -15450491.965952396},
        {48.8566, -2.3522, 0, 179.999, 793644.498722565, 14556192.548518475},
        {48.8566, -2.3522, 0, -179.999, 794317.915601072, 14556147.835095879},
        {48.8566, -2.3522, -48.8, 177.6, -9727653.693995472, 17483968.072037768},
        {90, 0, 40.71, 74, -5268486.962083817, -1510714.326307974},
        {90, 0, 89.9, -10, 1930.881779808, -10950.574733657},
        {90, 0, -89.5, 100, -19656281.646916132, 3465932.794755935},
        {90, 0, 0, 179.999, -174.664776090, 10007554.498475762},
        {90, 0, 0, -179.999, 174.664776090, 10007554.498475762},
        {90, 0, -48.8, 177.6, -646303.518935906, 15420334.811198989},
        {-90, -45, 40.71, 74, -12711989.569892669, -7046370.880564698},
        {-90, -45, 89.9, -10, -11473817.007345863, 16386308.888764767},
        {-90, -45, -89.5, 100, -31889.430259438, -45542.826261158},
        {-90, -45, 0, 179.999, 7076286.142318542, -7076533.155613758},
        {-90, -45, 0, -179.999, 7076533.155613758, -7076286.142318542},
        {-90, -45, -48.8, 177.6, 3100928.600457671, -3372234.519173888},
        {0, -180, 40.71, 74, 8455847.233464980, 7568952.489177790},
        {0, -180, 89.9, -10, -3036.343776984, 10018504.614448281},
        {0, -180, -89.5, 100, 85921.651295968, -9997530.999092786},
        {0, -180, 0, 179.999, 111.195050001, 0.000000000},
        {0, -180, 0, -179.999, -111.195050001, 0.000000000},
        {0, -180, -48.8, 177.6, 198971.015524155, -5427563.269345710},
        {40.71, 74, 40.71, 74, 0.000000000, -0.000000000},
    };
    for (const auto& [lat0, lon0, lat, lon, x, y] : cases) {
        SCOPED_TRACE(::testing::Message() << lat0 << ", " << lon0 << " to " << lat << ", " << lon);
        const AzimuthalEquidistant projection({lat0, lon0});
        const auto plane = projection.Forward({lat, lon});
        ASSERT_TRUE(plane.has_value());
        EXPECT_NEAR(plane->x, x / 1000.0, 0.001);
        EXPECT_NEAR(plane->y, -y / 1000.0, 0.001);
        const auto back = projection.Inverse({x / 1000.0, -y / 1000.0});
        ASSERT_TRUE(back.has_value());
        EXPECT_NEAR(back->latitude, lat, 1e-9);
        if (std::abs(lat) < 90.0) {
            EXPECT_NEAR(std::remainder(back->longitude - lon, 360.0), 0.0, 1e-9);
        }
    }

    std::mt19937 random(2026);
    std::uniform_real_distribution<double> latitude(-90.0, 90.0), longitude(-180.0, 180.0);
    for (int i = 0; i < 2000; ++i) {
        const GeoPoint home{latitude(random), longitude(random)};
        const GeoPoint point{latitude(random), longitude(random)};
        const AzimuthalEquidistant projection(home);
        const auto back = projection.Inverse(*projection.Forward(point));
        ASSERT_TRUE(back.has_value());
        EXPECT_NEAR(back->latitude, point.latitude, 1e-9);
        EXPECT_NEAR(std::remainder(back->longitude - point.longitude, 360.0), 0.0, 1e-9);
    }

    // Home is the centre; its antipode is on the rim due south and every point of the rim is it;
    // beyond the rim and off the globe there is nothing.
    const AzimuthalEquidistant paris({48.8566, -2.3522});
    EXPECT_EQ(*paris.Forward({48.8566, -2.3522}), (PlanePoint{0.0, 0.0}));
    const auto antipode = paris.Forward({-48.8566, 177.6478});
    EXPECT_NEAR(antipode->x, 0.0, 1e-6);
    EXPECT_NEAR(antipode->y, AzimuthalEquidistant::kRimKm, 1e-6);
    const double rim = AzimuthalEquidistant::kRimKm, diagonal = rim / std::sqrt(2.0);
    for (const PlanePoint edge :
         {PlanePoint{rim, 0.0}, PlanePoint{0.0, -rim}, PlanePoint{-diagonal, diagonal}}) {
        const auto point = paris.Inverse(edge);
        ASSERT_TRUE(point.has_value());
        EXPECT_NEAR(point->latitude, -48.8566, 1e-4);
        EXPECT_NEAR(std::remainder(point->longitude - 177.6478, 360.0), 0.0, 1e-4);
    }
    EXPECT_FALSE(paris.Inverse({20016.0, 0.0}).has_value());
    EXPECT_FALSE(paris.Inverse({std::nan(""), 0.0}).has_value());
    EXPECT_FALSE(paris.Forward({91.0, 0.0}).has_value());
}

// The world map's projection is the arithmetic that places the route's marks, both ways.
TEST(Equirectangular, IsTheMapsArithmetic) {
    const Equirectangular map(9630.0, 4815.0);
    for (const GeoPoint p : {GeoPoint{40.71, 74.0}, GeoPoint{-33.87, -151.21}, GeoPoint{90, 180}}) {
        const MapPosition marks = DegreesToMap(p, 9630.0f, 4815.0f);
        const auto plane = map.Forward(p);
        ASSERT_TRUE(plane.has_value());
        EXPECT_EQ(plane->x, marks.x);
        EXPECT_EQ(plane->y, marks.y);
        const auto back = map.Inverse(*plane);
        EXPECT_NEAR(back->latitude, p.latitude, 1e-12);
        EXPECT_NEAR(back->longitude, p.longitude, 1e-12);
    }
    EXPECT_FALSE(map.Inverse({-1.0, 100.0}).has_value());
    EXPECT_FALSE(map.Forward({0.0, 180.5}).has_value());
}

// The mask at the winter solstice, 1x and 2x: every pixel has the shade of its own centre's
// elevation (the separable computation and its table agree with the direct formula), the Arctic
// is in the night and the Antarctic in the day.
TEST(NightMaskTest, MatchesElevationAtEveryPixel) {
    const SunPosition sun = SunAt(sys_days{2026y / 12 / 21} + hours{12});
    for (const int scale : {1, 2}) {
        const int width = 640 * scale, height = 320 * scale;
        const double tpp = 15.0 / scale;
        const NightMask mask = BuildNightMask(sun, width, height, tpp, 9630.0f, 4815.0f);
        ASSERT_EQ(mask.shade.size(), static_cast<std::size_t>(width * height));
        const auto at = [&](int x, int y) {
            return mask.shade[static_cast<std::size_t>(y * width + x)];
        };
        int worst = 0;
        for (int y = 0; y < height; y += 3) {
            for (int x = 0; x < width; x += 5) {
                const GeoPoint p =
                    MapToDegrees({(x + 0.5) * tpp, (y + 0.5) * tpp}, 9630.0f, 4815.0f);
                worst =
                    std::max(worst, std::abs(at(x, y) - ShadeAtElevation(SolarElevation(sun, p))));
            }
        }
        EXPECT_LE(worst, 1) << scale;
        EXPECT_EQ(at(width / 2, 2 * scale), kNightShade);  // the Arctic at noon
        EXPECT_EQ(at(width / 2, height / 2), 0);           // Greenwich at noon
    }
    EXPECT_TRUE(BuildNightMask(sun, 0, 320, 15.0, 9630.0f, 4815.0f).shade.empty());
}

// Any projection: the azimuthal map centred on Paris at the winter solstice's noon, 100 km to a
// pixel. Each pixel in the disc has its centre's shade, Paris is in the day, the North Pole
// (4,570 km due north) in the night, and the corners beyond the antipode are left alone.
TEST(NightMaskTest, ThroughAnyProjection) {
    const SunPosition sun = SunAt(sys_days{2026y / 12 / 21} + hours{12});
    const AzimuthalEquidistant paris({48.8566, -2.3522});
    const double rim = AzimuthalEquidistant::kRimKm;
    const int side = 402;
    const PlanePoint origin{-201 * 100.0, -201 * 100.0};
    const NightMask mask = BuildNightMask(sun, side, side, paris, origin, 100.0);
    ASSERT_EQ(mask.shade.size(), static_cast<std::size_t>(side * side));
    const auto at = [&](double xKm, double yKm) {
        const int x = static_cast<int>(std::floor((xKm - origin.x) / 100.0));
        const int y = static_cast<int>(std::floor((yKm - origin.y) / 100.0));
        return mask.shade[static_cast<std::size_t>(y * side + x)];
    };
    EXPECT_EQ(at(0.0, 0.0), 0);
    EXPECT_EQ(at(0.0, -4570.0), kNightShade);
    EXPECT_EQ(at(origin.x + 1.0, origin.y + 1.0), 0);
    int worst = 0;
    for (double y = origin.y + 50.0; y < -origin.y; y += 700.0) {
        for (double x = origin.x + 50.0; x < -origin.x; x += 700.0) {
            if (std::hypot(x, y) < rim) {
                const GeoPoint p = *paris.Inverse({x, y});
                worst =
                    std::max(worst, std::abs(at(x, y) - ShadeAtElevation(SolarElevation(sun, p))));
            }
        }
    }
    EXPECT_LE(worst, 1);
}

// The world picture laid on the disc pixel by pixel: each pixel takes the picture's pixel that the
// exact inverse finds at its centre, or a neighbour of it where the centre falls within a
// thousandth of a degree of their edge; pixels beyond the rim stay outside. Homes at a pole, on
// the antimeridian and in both hemispheres; the whole disc and a zoom on home.
TEST(AzimuthalPicture, TakesThePixelUnderEachPlace) {
    const int pw = 2048, ph = 1024;
    std::vector<std::uint32_t> picture(static_cast<std::size_t>(pw * ph));
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<std::uint32_t>(i);
    }
    const std::uint32_t outside = 0xFFFFFFFFu;
    const GeoPoint homes[] = {{48.8566, -2.3522}, {90.0, 0.0},       {-89.99, 45.0},
                              {0.0, 179.999},     {-41.29, -174.78}, {35.68, -139.69}};
    const double rim = AzimuthalEquidistant::kRimKm;
    for (const GeoPoint home : homes) {
        for (const double radius : {rim * 1.05, 500.0}) {
            SCOPED_TRACE(::testing::Message()
                         << home.latitude << " " << home.longitude << " " << radius);
            const AzimuthalEquidistant projection(home);
            const int side = 301;
            const double upp = 2.0 * radius / side;
            const PlanePoint origin{-radius, -radius};
            std::vector<std::uint32_t> out(static_cast<std::size_t>(side * side));
            DrawAzimuthalPicture(projection, origin, upp, side, side, {picture.data(), pw, ph},
                                 outside, out.data());
            int exact = 0, inside = 0;
            for (int j = 0; j < side; ++j) {
                for (int i = 0; i < side; ++i) {
                    const PlanePoint at{origin.x + (i + 0.5) * upp, origin.y + (j + 0.5) * upp};
                    const std::uint32_t got = out[static_cast<std::size_t>(j * side + i)];
                    const std::optional<GeoPoint> place = projection.Inverse(at);
                    if (!place) {
                        ASSERT_EQ(got, outside) << i << " " << j;
                        continue;
                    }
                    ++inside;
                    int column = 0, row = 0;
                    PicturePixel(*place, pw, ph, column, row);
                    const int gotColumn = static_cast<int>(got % pw);
                    const int gotRow = static_cast<int>(got / pw);
                    const int dc = std::abs(gotColumn - column);
                    ASSERT_LE(std::min(dc, pw - dc), 1) << i << " " << j;
                    ASSERT_LE(std::abs(gotRow - row), 1) << i << " " << j;
                    exact += got == static_cast<std::uint32_t>(row * pw + column);
                }
            }
            EXPECT_GE(exact, inside * 97 / 100);  // near a pole the columns are narrow
        }
    }
}

}  // namespace
}  // namespace orbida::geodesy
