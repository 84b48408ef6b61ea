// The NCDXF/IARU beacons: who sends on which band at an instant, across the turn of a slot and of
// the day, before 1970 and at the ends of the 64-bit range; where each beacon stands.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "stations/ncdxf_beacons.h"

namespace orbida::stations::beacons {
namespace {

std::string CallOf(int beacon) {
    return std::string(kBeacons[static_cast<std::size_t>(beacon)].call);
}

// Each case worked out by hand from the rule "band b carries beacon (floor(s/10) - b) mod 18".
// 2026-12-21T12:00:40Z is second 43240 of its day (a day is 480 rounds of 180 s), slot 4324,
// 4324 mod 18 = 4: ZL6B on 14.100 MHz, 4U1UN four bands up on 28.200 MHz.
struct OnAirCase {
    const char* when;
    std::int64_t seconds;
    const char* calls[kBandCount];  // band 0 (14.100) to band 4 (28.200)
    int secondsLeft;
};
const OnAirCase kOnAir[] = {
    {"2026-12-21T12:00:40Z", 1797854440, {"ZL6B", "KH6RS", "W6WX", "VE8AT", "4U1UN"}, 10},
    {"2026-12-21T12:00:39Z", 1797854439, {"KH6RS", "W6WX", "VE8AT", "4U1UN", "YV5B"}, 1},
    {"2026-12-21T23:59:55Z", 1797897595, {"YV5B", "OA4B", "LU4AA", "CS3B", "OH2B"}, 5},
    {"2026-12-22T00:00:00Z", 1797897600, {"4U1UN", "YV5B", "OA4B", "LU4AA", "CS3B"}, 10},
    {"1970-01-01T00:00:00Z", 0, {"4U1UN", "YV5B", "OA4B", "LU4AA", "CS3B"}, 10},
    // Before 1970 the slot is still the floor: second -1 is the last of slot -1 (17 mod 18).
    {"1969-12-31T23:59:59Z", -1, {"YV5B", "OA4B", "LU4AA", "CS3B", "OH2B"}, 1},
    {"1969-12-31T23:59:49Z", -11, {"OA4B", "LU4AA", "CS3B", "OH2B", "4X6TU"}, 1},
    // floor(s/10) mod 18 is 0 for the largest value and 17 for the smallest.
    {"int64 max",
     std::numeric_limits<std::int64_t>::max(),
     {"4U1UN", "YV5B", "OA4B", "LU4AA", "CS3B"},
     3},
    {"int64 min",
     std::numeric_limits<std::int64_t>::min(),
     {"YV5B", "OA4B", "LU4AA", "CS3B", "OH2B"},
     8},
};

TEST(NcdxfBeacons, OnAirAtInstants) {
    for (const OnAirCase& c : kOnAir) {
        SCOPED_TRACE(c.when);
        const auto bands = OnAirNow(c.seconds);
        for (int band = 0; band < kBandCount; ++band) {
            const OnAir& on = bands[static_cast<std::size_t>(band)];
            EXPECT_EQ(on.band, band);
            EXPECT_EQ(CallOf(on.beacon), c.calls[band]) << "band " << band;
            EXPECT_EQ(on.secondsLeft, c.secondsLeft);
            EXPECT_EQ(BeaconOnAir(c.seconds, band), on.beacon);
        }
    }
}

TEST(NcdxfBeacons, RefusesBandsAndBeaconsOutsideTheTables) {
    for (const int band : {-1, kBandCount, std::numeric_limits<int>::min()}) {
        EXPECT_FALSE(BeaconOnAir(0, band)) << band;
    }
    for (const int beacon : {-1, kBeaconCount}) {
        EXPECT_FALSE(BeaconPosition(beacon)) << beacon;
    }
}

// The schedule order, and each locator against the coordinates a beacon monitor's station list
// gives (turned to longitude west positive), to a tenth of a degree: a letter off by one or a
// sign turned shows. That list still has the older sites of VE8AT (Eureka), 5Z4B (Nairobi) and
// OH2B (Espoo); those rows check the order alone.
struct PlaceCase {
    const char* call;
    double latitude;
    double longitude;
};
constexpr double kOldSite = std::numeric_limits<double>::quiet_NaN();
const PlaceCase kPlaces[] = {
    {"4U1UN", 40.75, 73.97},    {"VE8AT", kOldSite, 0},    {"W6WX", 37.16, 121.91},
    {"KH6RS", 20.76, 156.34},   {"ZL6B", -41.04, -175.59}, {"VK6RBP", -32.11, -116.07},
    {"JA2IGY", 34.46, -136.78}, {"RR9O", 55.05, -82.92},   {"VR2B", 22.27, -114.15},
    {"4S7B", 6.89, -79.86},     {"ZS6DN", -25.91, -28.27}, {"5Z4B", kOldSite, 0},
    {"4X6TU", 32.07, -34.76},   {"OH2B", kOldSite, 0},     {"CS3B", 32.71, 16.81},
    {"LU4AA", -34.60, 58.40},   {"OA4B", -12.09, 77.02},   {"YV5B", 9.09, 67.82},
};

TEST(NcdxfBeacons, ScheduleOrderAndPlaces) {
    for (int beacon = 0; beacon < kBeaconCount; ++beacon) {
        const PlaceCase& c = kPlaces[beacon];
        const Beacon& b = kBeacons[static_cast<std::size_t>(beacon)];
        SCOPED_TRACE(c.call);
        EXPECT_EQ(b.call, c.call);
        EXPECT_FALSE(b.site.empty());
        EXPECT_EQ(b.locator.size(), 6u);
        const auto position = BeaconPosition(beacon);
        ASSERT_TRUE(position);
        if (!std::isnan(c.latitude)) {
            EXPECT_NEAR(position->latitude, c.latitude, 0.1);
            EXPECT_NEAR(position->longitude, c.longitude, 0.1);
        }
    }
}

}  // namespace
}  // namespace orbida::stations::beacons
