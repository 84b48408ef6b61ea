#include "geodesy/sun.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orbida::geodesy {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kMinutesPerDay = 1440.0;

double Wrap360(double degrees) {
    const double r = std::fmod(degrees, 360.0);
    return r < 0.0 ? r + 360.0 : r;
}

// Longitude brought into [-180, 180).
double WrapLongitude(double degrees) {
    return Wrap360(degrees + 180.0) - 180.0;
}

// Declination and equation of time at a Julian day (the NOAA spreadsheet's columns, in order).
struct SolarTerms {
    double declination = 0.0;
    double equationOfTime = 0.0;
};

SolarTerms Terms(double julianDay) {
    const double t = (julianDay - 2451545.0) / 36525.0;  // Julian centuries from J2000.0
    const double meanLong = Wrap360(280.46646 + t * (36000.76983 + t * 0.0003032));
    const double meanAnom = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double ecc = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double m = meanAnom * kDeg;
    const double centre = std::sin(m) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                          std::sin(2.0 * m) * (0.019993 - 0.000101 * t) +
                          std::sin(3.0 * m) * 0.000289;
    const double trueLong = meanLong + centre;
    const double omega = (125.04 - 1934.136 * t) * kDeg;
    const double apparentLong = trueLong - 0.00569 - 0.00478 * std::sin(omega);
    const double meanObliquity =
        23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double obliquity = meanObliquity + 0.00256 * std::cos(omega);

    SolarTerms out;
    out.declination = std::asin(std::sin(obliquity * kDeg) * std::sin(apparentLong * kDeg)) / kDeg;
    const double y = std::pow(std::tan(obliquity * kDeg / 2.0), 2.0);
    const double l0 = meanLong * kDeg;
    const double e = y * std::sin(2.0 * l0) - 2.0 * ecc * std::sin(m) +
                     4.0 * ecc * y * std::sin(m) * std::cos(2.0 * l0) -
                     0.5 * y * y * std::sin(4.0 * l0) - 1.25 * ecc * ecc * std::sin(2.0 * m);
    out.equationOfTime = 4.0 * e / kDeg;
    return out;
}

double JulianDayOfMinutes(std::chrono::sys_days date, double minutes) {
    const auto days = static_cast<double>(date.time_since_epoch().count());
    return 2440587.5 + days + minutes / kMinutesPerDay;
}

// Cosine of the hour angle at which the sun crosses the sunrise altitude: above 1 the sun never
// climbs to it that day, below -1 it never sinks to it.
double CosSunriseHourAngle(double latitude, double declination) {
    const double phi = latitude * kDeg;
    const double delta = declination * kDeg;
    return (std::sin(kSunriseAltitude * kDeg) - std::sin(phi) * std::sin(delta)) /
           (std::cos(phi) * std::cos(delta));
}

std::chrono::sys_seconds At(std::chrono::sys_days date, double minutes) {
    return std::chrono::sys_seconds{date.time_since_epoch()} +
           std::chrono::seconds{std::llround(minutes * 60.0)};
}

}  // namespace

double JulianDay(std::chrono::sys_seconds utc) {
    return 2440587.5 + static_cast<double>(utc.time_since_epoch().count()) / kSecondsPerDay;
}

SunPosition SunAt(std::chrono::sys_seconds utc) {
    const SolarTerms terms = Terms(JulianDay(utc));
    const auto seconds = static_cast<double>(utc.time_since_epoch().count());
    const double minutesOfDay = std::fmod(seconds / 60.0, kMinutesPerDay);
    SunPosition sun;
    sun.declination = terms.declination;
    sun.equationOfTime = terms.equationOfTime;
    // Apparent noon at Greenwich comes equationOfTime minutes before 12:00 UTC; the subsolar
    // meridian moves west by a quarter of a degree a minute.
    sun.subsolar = GeoPoint{terms.declination,
                            WrapLongitude((minutesOfDay + terms.equationOfTime - 720.0) / 4.0)};
    return sun;
}

double SolarElevation(const SunPosition& sun, GeoPoint point) {
    const double phi = point.latitude * kDeg;
    const double delta = sun.declination * kDeg;
    // With both longitudes west-positive, the hour angle is how far the sun has gone past the
    // point's meridian towards the west.
    const double hourAngle = (sun.subsolar.longitude - point.longitude) * kDeg;
    const double s =
        std::sin(phi) * std::sin(delta) + std::cos(phi) * std::cos(delta) * std::cos(hourAngle);
    return std::asin(std::clamp(s, -1.0, 1.0)) / kDeg;
}

SunEvents SunEventsOn(GeoPoint point, std::chrono::year_month_day utcDate) {
    std::chrono::sys_days date{utcDate};
    // At the poles themselves the hour angle is undefined; a hair off them behaves the same.
    const double latitude = std::clamp(point.latitude, -89.9999, 89.9999);
    const double longitude = WrapLongitude(point.longitude);

    // Solar noon, refined with the equation of time at noon. It is moved by a whole day when it
    // falls outside the date, so that 180 W and 180 E give the same day; the next pass then takes
    // the equation of time on the day the noon now falls on (near the antimeridian the
    // neighbouring day's differs by up to half a minute).
    double noon = 720.0 + 4.0 * longitude;
    for (int pass = 0; pass < 3; ++pass) {
        noon = 720.0 + 4.0 * longitude - Terms(JulianDayOfMinutes(date, noon)).equationOfTime;
        if (noon < 0.0) {
            noon += kMinutesPerDay;
        } else if (noon >= kMinutesPerDay) {
            noon -= kMinutesPerDay;
        }
    }
    const SolarTerms atNoon = Terms(JulianDayOfMinutes(date, noon));

    SunEvents events;
    events.solarNoon = At(date, noon);
    const double noonCos = CosSunriseHourAngle(latitude, atNoon.declination);
    if (noonCos > 1.0) {
        events.kind = DayKind::kPolarNight;
        return events;
    }
    if (noonCos < -1.0) {
        events.kind = DayKind::kPolarDay;
        return events;
    }

    // Each event is the hour angle away from noon, found again with the sun as it is at that
    // event's own time: the declination moves by up to 0.4 degree a day, enough for minutes at
    // high latitudes. Counted from noon rather than from midnight, a sunrise can never be taken
    // for the next day's on a day when the sun only grazes the horizon (66.3 N 76.34 E on
    // 2024-07-04: its sunrise is near 19:00 the evening before, not after its own noon).
    auto event = [&](double sign) {
        double minutes = noon;
        for (int pass = 0; pass < 3; ++pass) {
            const SolarTerms terms = Terms(JulianDayOfMinutes(date, minutes));
            const double c =
                std::clamp(CosSunriseHourAngle(latitude, terms.declination), -1.0, 1.0);
            const double hourAngle = std::acos(c) / kDeg;
            minutes =
                noon + 4.0 * sign * hourAngle - (terms.equationOfTime - atNoon.equationOfTime);
        }
        // A sun that barely rises: the equation of time's drift must not carry the event past
        // noon.
        return sign < 0.0 ? std::min(minutes, noon) : std::max(minutes, noon);
    };
    events.sunrise = At(date, event(-1.0));
    events.sunset = At(date, event(1.0));
    return events;
}

}  // namespace orbida::geodesy
