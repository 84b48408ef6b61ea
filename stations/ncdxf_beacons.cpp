#include "stations/ncdxf_beacons.h"

#include "geodesy/locator.h"

namespace orbida::stations::beacons {
namespace {

// Floor division and its remainder, for instants before 1970 as well: second -1 lies in the
// last slot of the previous round, not in the first one of its own.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
    const std::int64_t r = a % b;  // never overflows, unlike a - FloorDiv(a, b) * b
    return (r != 0 && (r < 0) != (b < 0)) ? r + b : r;
}

}  // namespace

// Sites and locators of the foundation's beacon network as last known here; older lists disagree
// for some rows (VE8AT at Eureka NU, OH2B at Espoo, 5Z4B at Nairobi, KH6WO on Oahu before KH6RS),
// and the locators of 5Z4B, OH2B and CS3B are still to be checked against the foundation's
// current table. The order is the schedule's and does not depend on them.
const std::array<Beacon, kBeaconCount> kBeacons = {{
    {"4U1UN", "United Nations NY", "FN30as"},
    {"VE8AT", "Inuvik NT", "CP38gh"},
    {"W6WX", "Mt Umunhum CA", "CM97bd"},
    {"KH6RS", "Maui HI", "BL10ts"},
    {"ZL6B", "Masterton", "RE78tw"},
    {"VK6RBP", "Rolystone WA", "OF87av"},
    {"JA2IGY", "Mt Asama", "PM84jk"},
    {"RR9O", "Novosibirsk", "NO14kx"},
    {"VR2B", "Hong Kong", "OL72bg"},
    {"4S7B", "Colombo", "MJ96wv"},
    {"ZS6DN", "Pretoria", "KG44dc"},
    {"5Z4B", "Kikuyu", "KI88hr"},
    {"4X6TU", "Tel Aviv", "KM72jb"},
    {"OH2B", "Lohja", "KP20eh"},
    {"CS3B", "Sao Jorge", "IM12or"},
    {"LU4AA", "Buenos Aires", "GF05tj"},
    {"OA4B", "Lima", "FH17mw"},
    {"YV5B", "Caracas", "FJ69cc"},
}};

std::optional<int> BeaconOnAir(std::int64_t unixSeconds, int band) {
    if (band < 0 || band >= kBandCount) {
        return std::nullopt;
    }
    // The slot's number is taken modulo the round before the band is subtracted, so that no
    // instant near the ends of the 64-bit range overflows.
    const std::int64_t slot = FloorMod(FloorDiv(unixSeconds, kSlotSeconds), kBeaconCount);
    return static_cast<int>(FloorMod(slot - band, kBeaconCount));
}

std::array<OnAir, kBandCount> OnAirNow(std::int64_t unixSeconds) {
    const int secondsLeft = kSlotSeconds - static_cast<int>(FloorMod(unixSeconds, kSlotSeconds));
    std::array<OnAir, kBandCount> bands{};
    for (int band = 0; band < kBandCount; ++band) {
        OnAir& on = bands[static_cast<std::size_t>(band)];
        on.band = band;
        on.kilohertz = kBandKilohertz[static_cast<std::size_t>(band)];
        on.beacon = *BeaconOnAir(unixSeconds, band);
        on.secondsLeft = secondsLeft;
    }
    return bands;
}

std::optional<geodesy::GeoPoint> BeaconPosition(int beacon) {
    if (beacon < 0 || beacon >= kBeaconCount) {
        return std::nullopt;
    }
    return geodesy::LocatorCentre(kBeacons[static_cast<std::size_t>(beacon)].locator);
}

}  // namespace orbida::stations::beacons
