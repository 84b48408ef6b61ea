// Pins the numbers the map, the distance, the course and the route sampling must produce,
// including the last digits that come from the truncated constants and 32-bit float scales.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "geodesy/course.h"
#include "geodesy/distance.h"
#include "geodesy/numbers.h"
#include "geodesy/projection.h"
#include "geodesy/route.h"

namespace orbida::geodesy {
namespace {

const double kPi = 4.0 * std::atan(1.0);
const double kDegToRad = kPi / 180.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(GetDistanceKm, KnownDistances) {
    struct Case {
        const char* name;
        double lonA, latA, lonB, latB;
        double km;
        double tolerance;
    };
    const Case cases[] = {
        {"same point at the origin", 0, 0, 0, 0, 0.0, 0.0},
        {"same point, Paris", -2.35, 48.85, -2.35, 48.85, 0.0, 0.0},
        {"half way round the equator eastwards", 0, 0, 180, 0, 20015.109, 1e-9},
        {"half way round the equator westwards", 0, 0, -180, 0, 20015.109, 1e-9},
        {"pole to pole", 0, 90, 0, -90, 20015.109, 1e-9},
        {"a quarter of the equator, a little short", 0, 0, 90, 0, 10007.55, 0.01},
        {"Paris to New York", -2.35, 48.85, 74.0, 40.71, 5837.14, 0.01},
        {"New York to Paris", 74.0, 40.71, -2.35, 48.85, 5837.14, 0.01},
        {"both signs flipped", 2.35, 48.85, -74.0, 40.71, 5837.14, 0.01},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(GetDistanceKm(c.lonA, c.latA, c.lonB, c.latB), c.km, c.tolerance);
    }
}

// The truncated constants are part of every distance ever shown: with exact values these
// readings from Paris would lose or gain a kilometre.
TEST(GetDistanceKm, TruncatedConstantsDecideTheKilometre) {
    struct Case {
        const char* constant;
        double lat, lon;
        double km;
    };
    const Case cases[] = {
        {"degrees per radian", -3.68, -134.4, 13255.0},
        {"degrees per radian", 63.24, 102.28, 5927.0},
        {"quarter turn", -57.0, -28.0, 12004.0},
        {"quarter turn", -88.0, -104.0, 15479.0},
        {"full turn", -84.88, 23.71, 14923.0},
        {"full turn", -39.1, 87.73, 13166.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.constant << ": " << c.lat << ", " << c.lon);
        EXPECT_EQ(std::trunc(GetDistanceKm(-2.36, 48.85, c.lon, c.lat)), c.km);
    }
}

// Rounding can put the cosine a hair outside [-1, 1] for a pointer resting on the city or on its
// antipode; that is a distance of 0 or half the circumference, never the failure value.
TEST(GetDistanceKm, CoincidentAndAntipodalPointsOnTheHundredthGrid) {
    int outside = 0;
    for (int i = -9000; i <= 9000; i += 7) {
        const double lat = i / 100.0;
        for (int j = -18000; j <= 18000; j += 1013) {
            const double lon = j / 100.0;
            const double same = GetDistanceKm(lon, lat, lon, lat);
            // The truncated quarter turn makes near-zero distances a few metres negative; the
            // readout truncates them to 0.
            ASSERT_GT(same, -0.01) << lat << " " << lon;
            ASSERT_LT(same, 0.05) << lat << " " << lon;
            const double opposite = GetDistanceKm(lon, lat, lon + 180.0, -lat);
            ASSERT_GT(opposite, 20015.0) << lat << " " << lon;
            ASSERT_LE(opposite, 20015.2) << lat << " " << lon;
            const double c1 = (90.0 - lat) / 57.295779518;
            const double x = std::cos(c1) * std::cos(c1) + std::sin(c1) * std::sin(c1);
            outside += x > 1.0 ? 1 : 0;
        }
    }
    EXPECT_GT(outside, 0) << "the grid no longer reaches the rounding case";
}

TEST(GetDistanceKm, NonFiniteInputFails) {
    EXPECT_EQ(GetDistanceKm(kNaN, 0, 0, 0), kDistanceFailure);
    EXPECT_EQ(GetDistanceKm(0, 0, 0, std::numeric_limits<double>::infinity()), kDistanceFailure);
    EXPECT_NEAR(GetDistanceKm(1e300, 0, 1e300, 0), 0.0, 1e-9);
}

// Where the spherical formulas have no number, the course is still north or south.
TEST(ComputeCourse, UndefinedCasesGiveNorthOrSouth) {
    struct Case {
        const char* name;
        double refLat, refLon, curLat, curLon;
        double course;
    };
    const Case cases[] = {
        {"on the reference point", 48.85, -2.35, 48.85, -2.35, 0.0},
        {"on the origin", 0.01, 0.01, 0.01, 0.01, 0.0},
        {"on the antipode", 0.0, 90.0, 0.0, -90.0, 0.0},
        {"north on the same meridian", 48.85, -2.35, 60.0, -2.35, 0.0},
        {"south on the same meridian", 48.85, -2.35, 10.0, -2.35, kPi},
        {"from the north pole", 90.0, 0.01, 40.0, 74.0, kPi},
        {"from the south pole", -90.0, 0.01, 40.0, 74.0, 0.0},
        {"over the pole on the opposite meridian", 80.0, 0.01, 70.0, -179.99, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Course r = ComputeCourse(c.refLat * kDegToRad, c.refLon * kDegToRad,
                                       c.curLat * kDegToRad, c.curLon * kDegToRad, kPi);
        EXPECT_TRUE(std::isfinite(r.angularDistance));
        EXPECT_NEAR(r.courseAngle, c.course, 1e-3);
    }
    const Course nan = ComputeCourse(kNaN, 0, 0, 0, kPi);
    EXPECT_TRUE(std::isfinite(nan.courseAngle) && std::isfinite(nan.angularDistance));
}

TEST(MapToDegrees, ScaleFollowsTheControlSize) {
    struct Case {
        double x, y;
        double lon, lat;
    };
    const Case cases[] = {
        {0, 0, 180.00, 90.00},         {4815, 2407.5, 0.00, 0.00},  {9600, 4800, -178.88, -89.44},
        {9630, 4815, -180.00, -90.00}, {-15, 4830, 180.56, -90.57}, {-30, 0, 181.12, 90.00},
        {4800, 0, 0.56, 90.00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        const GeoPoint p = MapToDegrees({c.x, c.y}, 9630.0f, 4815.0f);
        EXPECT_DOUBLE_EQ(p.longitude, c.lon);
        EXPECT_DOUBLE_EQ(p.latitude, c.lat);
    }
    EXPECT_DOUBLE_EQ(FloorHundredths(-0.561), -0.57);
}

// Values beyond float range are pinned, and a NaN never reaches a widget.
TEST(ToControlFloat, ClampsToFloatRange) {
    constexpr float kMax = std::numeric_limits<float>::max();
    struct Case {
        double value;
        float expected;
    };
    const Case cases[] = {{1.5, 1.5f},   {-4807.9214, -4807.9214f},
                          {1e300, kMax}, {-1e300, -kMax},
                          {kNaN, 0.0f},  {-kNaN, 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ToControlFloat(c.value), c.expected);
    }
}

struct Expected {
    int dot;
    double lonDeg;
    double latDeg;
};

void ExpectSamples(const RoutePlan& plan, std::initializer_list<Expected> expected) {
    for (const Expected& e : expected) {
        SCOPED_TRACE(testing::Message() << "Shape" << e.dot);
        bool found = false;
        for (std::size_t i = 0; i < plan.count; ++i) {
            if (plan.samples[i].dot == e.dot) {
                found = true;
                EXPECT_NEAR(plan.samples[i].longitude / kDegToRad, e.lonDeg, 5e-5);
                EXPECT_NEAR(plan.samples[i].latitude, e.latDeg, 5e-5);
            }
        }
        EXPECT_TRUE(found);
    }
}

RoutePlan Sample(double refLat, double refLon, double curLat, double curLon) {
    return SampleRoute(refLat * kDegToRad, refLon * kDegToRad, curLat * kDegToRad,
                       curLon * kDegToRad, kDegToRad, kPi);
}

TEST(SampleRoute, DirectCase) {
    const RoutePlan plan = Sample(48.85, -2.35, 40.71, 74.0);
    EXPECT_EQ(plan.routeCase, RouteCase::Direct);
    ASSERT_EQ(plan.count, 6u);
    const int order[] = {10, 1, 2, 3, 4, 5};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(plan.samples[i].dot, order[i]);
    }
    ExpectSamples(plan, {{10, -0.0595, 49.4231},
                         {1, 5.2850, 50.5413},
                         {2, 20.5550, 52.2290},
                         {3, 35.8250, 51.8941},
                         {4, 51.0950, 49.4693},
                         {5, 66.3650, 44.4651}});
}

// Across the +-180 line every one of the eleven samples has its own longitude, whichever side
// the reference is on, and each lies on the great circle through the two points.
TEST(SampleRoute, EverySampleAcrossTheAntimeridianForBothSides) {
    struct Case {
        const char* name;
        double refLat, refLon, curLat, curLon;
        std::array<double, 12> longitudes;  // by dot number, index 0 unused
    };
    const Case cases[] = {
        {"reference west of Greenwich (positive)",
         34.05,
         118.25,
         35.68,
         -139.69,
         {0, -165.484, -217.072, -268.66, -320.248, -371.836, 178, 158.0833, 138.1667, -178,
          -147.4282, 123.6818}},
        {"reference east of Greenwich (negative)",
         35.68,
         -139.69,
         34.05,
         118.25,
         {0, 144.044, 195.632, 247.22, 298.808, 350.396, 178, -165.23, -152.46, -178, 125.9882,
          -143.1727}},
    };
    // Unit vector of a point, longitudes in radians.
    const auto unit = [](double lat, double lon) {
        return std::array<double, 3>{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon),
                                     std::sin(lat)};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RoutePlan plan = Sample(c.refLat, c.refLon, c.curLat, c.curLon);
        ASSERT_EQ(plan.routeCase, RouteCase::Antimeridian);
        ASSERT_EQ(plan.count, 11u);
        const int order[] = {10, 1, 2, 3, 4, 5, 6, 7, 8, 11, 9};
        const auto r = unit(c.refLat * kDegToRad, c.refLon * kDegToRad);
        const auto p = unit(c.curLat * kDegToRad, c.curLon * kDegToRad);
        const std::array<double, 3> normal = {r[1] * p[2] - r[2] * p[1], r[2] * p[0] - r[0] * p[2],
                                              r[0] * p[1] - r[1] * p[0]};
        for (std::size_t i = 0; i < plan.count; ++i) {
            const RouteSample& s = plan.samples[i];
            SCOPED_TRACE(testing::Message() << "Shape" << s.dot);
            ASSERT_EQ(s.dot, order[i]);
            EXPECT_NEAR(s.longitude / kDegToRad, c.longitudes[static_cast<std::size_t>(s.dot)],
                        1e-4);
            const auto q = unit(s.latitude * kDegToRad, s.longitude);
            EXPECT_NEAR(normal[0] * q[0] + normal[1] * q[1] + normal[2] * q[2], 0.0, 1e-9);
        }
    }
}

TEST(SampleRoute, CaseBoundaryAndAntipodalMeridians) {
    EXPECT_EQ(SampleRoute(0.1, 0.0, 0.2, 180.0, 1.0, kPi).routeCase, RouteCase::Antimeridian);
    EXPECT_EQ(SampleRoute(0.1, 0.0, 0.2, 179.99999, 1.0, kPi).routeCase, RouteCase::Direct);
    EXPECT_EQ(Sample(0, 90, 10, -89.99).routeCase, RouteCase::Direct);
    const RoutePlan plan = Sample(10, 5, -20, -175);
    for (std::size_t i = 0; i < plan.count; ++i) {
        EXPECT_NEAR(std::abs(plan.samples[i].latitude), 90.0, 5e-5) << plan.samples[i].dot;
    }
}

// A cursor exactly on the reference meridian makes the formula 0 / 0: the dots then run along
// the meridian between the two latitudes.
TEST(SampleRoute, CursorOnTheReferenceMeridian) {
    const RoutePlan plan = Sample(48.85, -2.35, 10.0, -2.35);
    EXPECT_EQ(plan.routeCase, RouteCase::Direct);
    ExpectSamples(plan, {{10, -2.35, 48.85 - 38.85 * 0.03},
                         {3, -2.35, 48.85 - 38.85 * 0.5},
                         {5, -2.35, 48.85 - 38.85 * 0.9}});
}

}  // namespace
}  // namespace orbida::geodesy
