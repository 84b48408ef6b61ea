#pragma once

// The eighteen beacons of the NCDXF/IARU International Beacon Project and their schedule. Each
// beacon sends for ten seconds on 14.100 MHz, then steps up one band every ten seconds through
// 28.200 MHz; the next beacon in order takes its place on 14.100 MHz. The whole round is three
// minutes, and a round starts at every hour (and so at every UTC midnight), so the schedule is a
// function of the UTC clock alone.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "geodesy/geo_point.h"

namespace orbida::stations::beacons {

inline constexpr int kBeaconCount = 18;
inline constexpr int kBandCount = 5;
inline constexpr int kSlotSeconds = 10;
inline constexpr int kCycleSeconds = kBeaconCount * kSlotSeconds;

// Band 0 to 4, in kHz.
inline constexpr std::array<int, kBandCount> kBandKilohertz = {14100, 18110, 21150, 24930, 28200};

struct Beacon {
    std::string_view call;
    std::string_view site;     // as the foundation names it ("United Nations NY")
    std::string_view locator;  // Maidenhead, six characters
};

// In schedule order: beacon 0 opens each round on 14.100 MHz.
extern const std::array<Beacon, kBeaconCount> kBeacons;

// The beacon (an index into kBeacons) sending on `band` at `unixSeconds` (seconds since
// 1970-01-01 UTC, any value, before 1970 too); nothing for a band outside 0 to 4.
std::optional<int> BeaconOnAir(std::int64_t unixSeconds, int band);

struct OnAir {
    int band = 0;
    int kilohertz = 0;
    int beacon = 0;
    int secondsLeft = 0;  // 1 to 10: whole seconds until the next beacon takes the band
};

// What each of the five bands carries at `unixSeconds`, band 0 first.
std::array<OnAir, kBandCount> OnAirNow(std::int64_t unixSeconds);

// The centre of a beacon's locator square (latitude north, longitude west positive); nothing
// for an index outside kBeacons.
std::optional<geodesy::GeoPoint> BeaconPosition(int beacon);

}  // namespace orbida::stations::beacons
