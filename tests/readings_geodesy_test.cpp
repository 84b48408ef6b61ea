// The long path and the locator squares: the readings a station aims and logs by.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "geodesy/distance.h"
#include "geodesy/locator.h"
#include "geodesy/long_path.h"

namespace orbida::geodesy {
namespace {

bool NegativeZero(double v) {
    return v == 0.0 && std::signbit(v);
}

TEST(LongPath, AzimuthAndDistance) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double shortAzimuth, longAzimuth;
    } azimuths[] = {{292, 112},  {0, 180},  {180, 0}, {360, 180},  {179.9, 359},
                    {-0.0, 180}, {-180, 0}, {540, 0}, {-0.5, 179}, {inf, 0}};
    for (const auto& c : azimuths) {
        SCOPED_TRACE(c.shortAzimuth);
        const double got = LongPathAzimuth(c.shortAzimuth);
        EXPECT_EQ(got, c.longAzimuth);
        EXPECT_FALSE(NegativeZero(got));
    }
    const struct {
        double shortKm, longKm;
    } distances[] = {{0, 40030.218},      {20015.109, 20015.109}, {5854.5, 34175.718},
                     {-0.003, 40030.218}, {20016.0, 20015.109},   {inf, 40030.218}};
    for (const auto& c : distances) {
        SCOPED_TRACE(c.shortKm);
        EXPECT_NEAR(LongPathDistanceKm(c.shortKm), c.longKm, 1e-9);
    }

    // Random pairs: the two readings add up to the circumference, within the truncation.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> lat(-90, 90), lon(-180, 180);
    for (int i = 0; i < 1000; ++i) {
        const double km = GetDistanceKm(lon(random), lat(random), lon(random), lat(random));
        const double sum = std::trunc(km) + std::trunc(LongPathDistanceKm(km));
        ASSERT_TRUE(sum == 40030.0 || sum == 40029.0) << km;
    }
}

TEST(LongPath, PointsFollowTheOtherArc) {
    const struct {
        const char* name;
        GeoPoint from, to;
    } cases[] = {
        {"Paris to New York", {48.85, -2.35}, {40.71, 74.0}},
        {"Los Angeles to Tokyo", {34.05, 118.25}, {35.68, -139.69}},
        {"same point", {10, 20}, {10, 20}},
        {"antipode", {10, 20}, {-10, -160}},
        {"from the north pole", {90, 0}, {0, 0}},
        {"pole to pole", {-90, 0}, {90, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double shortKm =
            GetDistanceKm(c.from.longitude, c.from.latitude, c.to.longitude, c.to.latitude);
        const double stepKm = LongPathDistanceKm(shortKm) / (kLongPathPoints + 1);
        GeoPoint previous = c.from;
        for (const GeoPoint& p : LongPathPoints(c.from, c.to)) {
            ASSERT_TRUE(std::isfinite(p.latitude) && std::isfinite(p.longitude));
            EXPECT_FALSE(NegativeZero(p.latitude) || NegativeZero(p.longitude));
            EXPECT_LE(std::abs(p.latitude), 90.0);
            EXPECT_LE(std::abs(p.longitude), 180.0);
            // Evenly spaced along the long way.
            EXPECT_NEAR(
                GetDistanceKm(previous.longitude, previous.latitude, p.longitude, p.latitude),
                stepKm, 1.0);
            previous = p;
        }
        EXPECT_NEAR(
            GetDistanceKm(previous.longitude, previous.latitude, c.to.longitude, c.to.latitude),
            stepKm, 1.0);
    }
    // Paris to New York the long way runs east, over Asia: the first point is east of Paris.
    EXPECT_LT(LongPathPoints({48.85, -2.35}, {40.71, 74.0})[0].longitude, -2.35);
}

TEST(Locator, CentreOfSquares) {
    const struct {
        const char* text;
        double latitude, longitude;
    } known[] = {{"JN18EU", 48.854167, -2.375},
                 {"jn18eu", 48.854167, -2.375},
                 {"JJ00", 0.5, -1.0},
                 {"AA00aa00aa", -89.99991319, 179.99982639},
                 {"RR99XX99XX", 89.99991319, -179.99982639}};
    for (const auto& c : known) {
        SCOPED_TRACE(c.text);
        const auto centre = LocatorCentre(c.text);
        ASSERT_TRUE(centre.has_value());
        EXPECT_NEAR(centre->latitude, c.latitude, 1e-6);
        EXPECT_NEAR(centre->longitude, c.longitude, 1e-6);
    }
    for (const char* bad : {"", "JN1", "JN18E", "SS99", "JS18", "JN1A", "JN18YA", "JN18EU0A",
                            "JN18EU00Y0", "JN18EU00AY", "JN18EU00AAB", "J N18"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(LocatorCentre(bad).has_value());
    }

    // Every 4-character square and random longer ones: the centre lies in its own square.
    for (char f1 = 'A'; f1 <= 'R'; ++f1) {
        for (char f2 = 'A'; f2 <= 'R'; ++f2) {
            for (char d1 = '0'; d1 <= '9'; ++d1) {
                for (char d2 = '0'; d2 <= '9'; ++d2) {
                    const std::string square{f1, f2, d1, d2};
                    const GeoPoint c = LocatorCentre(square).value();
                    ASSERT_EQ(LocatorOf(c.latitude, c.longitude, 4), square);
                }
            }
        }
    }
    std::mt19937 random(11);
    const auto pick = [&random](const char* alphabet, int size) {
        return alphabet[std::uniform_int_distribution<int>(0, size - 1)(random)];
    };
    const char* field = "ABCDEFGHIJKLMNOPQR";
    const char* digit = "0123456789";
    const char* sub = "ABCDEFGHIJKLMNOPQRSTUVWX";
    for (int i = 0; i < 3000; ++i) {
        const std::string text{pick(field, 18), pick(field, 18), pick(digit, 10), pick(digit, 10),
                               pick(sub, 24),   pick(sub, 24),   pick(digit, 10), pick(digit, 10),
                               pick(sub, 24),   pick(sub, 24)};
        for (const std::size_t length : {6u, 8u, 10u}) {
            const std::string square = text.substr(0, length);
            const GeoPoint c = LocatorCentre(square).value();
            ASSERT_EQ(LocatorOf(c.latitude, c.longitude, static_cast<int>(length)), square);
        }
    }
}

}  // namespace
}  // namespace orbida::geodesy
