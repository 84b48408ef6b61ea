#pragma once

#include <chrono>

#include "geodesy/geo_point.h"

namespace orbida::geodesy {

// The sun seen from the Earth at one instant, from NOAA's solar calculator equations (after
// Meeus, Astronomical Algorithms). Good to about 0.01 degree over the years 1900 to 2200.
struct SunPosition {
    double declination = 0.0;     // degrees, north positive
    double equationOfTime = 0.0;  // minutes: apparent solar time minus mean solar time
    // The point where the sun stands at the zenith: latitude = declination, longitude WEST
    // positive like every longitude of the program, in [-180, 180).
    GeoPoint subsolar;
};

// Julian day of a UTC instant (2451545.0 is 2000-01-01 12:00 UTC).
double JulianDay(std::chrono::sys_seconds utc);

SunPosition SunAt(std::chrono::sys_seconds utc);

// The sun's geometric elevation above the horizon, in degrees (no refraction), at a point given
// with a WEST-positive longitude. Negative at night.
double SolarElevation(const SunPosition& sun, GeoPoint point);

// The altitude of the sun's centre at sunrise and sunset: the upper limb on the horizon, with the
// standard refraction.
inline constexpr double kSunriseAltitude = -0.833;

enum class DayKind {
    kRiseAndSet,  // the sun rises and sets
    kPolarDay,    // the sun stays above the horizon all day
    kPolarNight,  // the sun stays below it all day
};

// Sunrise, solar noon and sunset of one solar day at a point, as UTC instants rounded to the
// second. The solar day is the one whose noon falls within the given UTC date, so at places far
// from Greenwich the sunrise can fall on the day before and the sunset on the day after.
// sunrise and sunset mean nothing on a polar day or night; solarNoon is always set.
struct SunEvents {
    DayKind kind = DayKind::kRiseAndSet;
    std::chrono::sys_seconds sunrise{};
    std::chrono::sys_seconds solarNoon{};
    std::chrono::sys_seconds sunset{};
};

// point: latitude north positive, longitude WEST positive.
SunEvents SunEventsOn(GeoPoint point, std::chrono::year_month_day utcDate);

}  // namespace orbida::geodesy
