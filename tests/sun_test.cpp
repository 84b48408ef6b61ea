// The sun against published almanac figures: sunrise, solar noon and sunset tables, the subsolar
// latitude at the solstices and equinoxes, polar days and nights, the date line.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "geodesy/night_mask.h"
#include "geodesy/projection.h"
#include "geodesy/sun.h"

namespace orbida::geodesy {
namespace {

using namespace std::chrono;

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
TEST(SunTest, SunriseAndSunsetMatchPublishedTables) {
    struct Case {
        const char* place;
        double latitude;
        double eastLongitude;
        year_month_day date;
        sys_seconds sunrise;
        sys_seconds sunset;
    };
    const year_month_day winter = 2026y / December / 21;
    const year_month_day summer = 2026y / June / 21;
    const Case cases[] = {
        {"Paris, winter solstice", 48.8566, 2.3522, winter, Utc(winter, 7, 41),
         Utc(winter, 15, 56)},
        {"Paris, summer solstice", 48.8566, 2.3522, summer, Utc(summer, 3, 47),
         Utc(summer, 19, 58)},
        {"Paris, 2000-01-01", 48.8566, 2.3522, 2000y / 1 / 1, Utc(2000y / 1 / 1, 7, 44),
         Utc(2000y / 1 / 1, 16, 4)},
        {"London, summer", 51.5074, -0.1278, summer, Utc(summer, 3, 43), Utc(summer, 20, 21)},
        {"London, winter", 51.5074, -0.1278, winter, Utc(winter, 8, 4), Utc(winter, 15, 53)},
        // Sunset after midnight UTC.
        {"New York, summer", 40.7128, -74.0060, summer, Utc(summer, 9, 25), Utc(summer, 0, 31, +1)},
        {"New York, winter", 40.7128, -74.0060, winter, Utc(winter, 12, 17), Utc(winter, 21, 32)},
        // Close to the latitude of the midnight sun.
        {"Reykjavik, summer", 64.1466, -21.9426, summer, Utc(summer, 2, 55), Utc(summer, 0, 4, +1)},
        // Near the date line, east of it: sunrise on the UTC day before.
        {"Sydney, summer", -33.8688, 151.2093, winter, Utc(winter, 18, 41, -1), Utc(winter, 9, 5)},
        {"Suva, winter", -18.1416, 178.4419, summer, Utc(summer, 18, 37, -1), Utc(summer, 5, 39)},
    };
    for (const Case& c : cases) {
        const SunEvents events = SunEventsOn({c.latitude, -c.eastLongitude}, c.date);
        ASSERT_EQ(events.kind, DayKind::kRiseAndSet) << c.place;
        EXPECT_LE(MinutesApart(events.sunrise, c.sunrise), 1.0) << c.place;
        EXPECT_LE(MinutesApart(events.sunset, c.sunset), 1.0) << c.place;
    }
}

TEST(SunTest, SolarNoonAndSubsolarPoint) {
    // Solar noon from the tables.
    const year_month_day winter = 2026y / December / 21;
    EXPECT_LE(MinutesApart(SunEventsOn({48.8566, -2.3522}, winter).solarNoon, Utc(winter, 11, 49)),
              1.0);
    EXPECT_LE(MinutesApart(SunEventsOn({40.7128, 74.0060}, winter).solarNoon, Utc(winter, 16, 54)),
              1.0);

    // The sun overhead at the tropics at the solstices and on the equator at the equinoxes; the
    // meridian it stands over from the equation of time at each instant.
    struct Case {
        sys_seconds when;
        double latitude;
        double westLongitude;
    };
    const Case cases[] = {
        {Utc(2026y / 3 / 20, 14, 46), 0.0, 39.65},   {Utc(2026y / 6 / 21, 8, 24), 23.44, -54.45},
        {Utc(2026y / 9 / 23, 0, 5), 0.0, -176.89},   {Utc(2026y / 12 / 21, 20, 50), -23.44, 132.94},
        {Utc(2026y / 12 / 21, 12, 0), -23.44, 0.48},
    };
    for (const Case& c : cases) {
        const SunPosition sun = SunAt(c.when);
        const auto at = c.when.time_since_epoch().count();
        EXPECT_NEAR(sun.subsolar.latitude, c.latitude, 0.02) << at;
        EXPECT_NEAR(sun.subsolar.longitude, c.westLongitude, 0.05) << at;
        EXPECT_GE(sun.subsolar.longitude, -180.0);
        EXPECT_LT(sun.subsolar.longitude, 180.0);
    }
}

TEST(SunTest, SolarElevation) {
    const SunPosition sun = SunAt(Utc(2026y / 12 / 21, 11, 49));
    struct Case {
        GeoPoint point;
        double elevation;
        double tolerance;
    };
    const Case cases[] = {
        {sun.subsolar, 90.0, 1e-6},
        {{-sun.subsolar.latitude, sun.subsolar.longitude - 180.0}, -90.0, 1e-6},
        // Paris at its winter noon: 90 - 48.86 - 23.44.
        {{48.8566, -2.3522}, 17.71, 0.05},
        // The North Pole: minus the declination, whatever the hour.
        {{90.0, 123.0}, -23.44, 0.02},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(SolarElevation(sun, c.point), c.elevation, c.tolerance)
            << c.point.latitude << " " << c.point.longitude;
    }
}

TEST(SunTest, PolarDayAndNight) {
    struct Case {
        const char* place;
        GeoPoint point;
        year_month_day date;
        DayKind kind;
    };
    const Case cases[] = {
        {"Tromsø, December", {69.6492, -18.9553}, 2026y / 12 / 21, DayKind::kPolarNight},
        {"Tromsø, June", {69.6492, -18.9553}, 2026y / 6 / 21, DayKind::kPolarDay},
        {"McMurdo, December", {-77.85, -166.67}, 2026y / 12 / 21, DayKind::kPolarDay},
        {"North Pole, June", {90.0, 0.0}, 2026y / 6 / 21, DayKind::kPolarDay},
        {"South Pole, June", {-90.0, 0.0}, 2026y / 6 / 21, DayKind::kPolarNight},
        {"65 N still has a night in June", {65.0, 0.0}, 2026y / 6 / 21, DayKind::kRiseAndSet},
        {"Tromsø at the equinox", {69.6492, -18.9553}, 2026y / 3 / 20, DayKind::kRiseAndSet},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SunEventsOn(c.point, c.date).kind, c.kind) << c.place;
    }
}

// 180 W and 180 E are the same meridian and give the same solar day, the one whose noon falls
// within the date asked for; years far from now stay within a few minutes of this one's figures.
TEST(SunTest, DateLineAndDistantYears) {
    const year_month_day date = 2026y / 3 / 20;
    const SunEvents east = SunEventsOn({0.0, -180.0}, date);
    const SunEvents west = SunEventsOn({0.0, 180.0}, date);
    EXPECT_EQ(east.sunrise, west.sunrise);
    EXPECT_EQ(east.sunset, west.sunset);
    EXPECT_EQ(east.solarNoon, west.solarNoon);
    EXPECT_GE(east.solarNoon, sys_seconds{sys_days{date}});
    EXPECT_LT(east.solarNoon, sys_seconds{sys_days{date} + days{1}});
    EXPECT_LT(east.sunrise, east.solarNoon);
    EXPECT_GT(east.sunset, east.solarNoon);

    const GeoPoint paris{48.8566, -2.3522};
    const SunEvents now = SunEventsOn(paris, 2026y / 6 / 21);
    for (const int year : {1900, 2000, 2100}) {
        const year_month_day far = std::chrono::year{year} / 6 / 21;
        const SunEvents then = SunEventsOn(paris, far);
        const auto shift = sys_days{2026y / 6 / 21} - sys_days{far};
        EXPECT_LE(MinutesApart(then.sunrise + shift, now.sunrise), 3.0) << year;
        EXPECT_LE(MinutesApart(then.sunset + shift, now.sunset), 3.0) << year;
    }
}

// The mask at the winter solstice, 1x and 2x: every pixel has the shade of its own centre's
// elevation (the separable computation and its table agree with the direct formula), the Arctic
// is in the night and the Antarctic in the day.
TEST(NightMaskTest, MatchesElevationAtEveryPixel) {
    const SunPosition sun = SunAt(sys_days{2026y / 12 / 21} + hours{12});
    for (const int scale : {1, 2}) {
        const int width = 640 * scale;
        const int height = 320 * scale;
        const double tpp = 15.0 / scale;
        const NightMask mask = BuildNightMask(sun, width, height, tpp, 9630.0f, 4815.0f);
        ASSERT_EQ(mask.shade.size(), static_cast<std::size_t>(width * height));
        int worst = 0;
        for (int y = 0; y < height; y += 3) {
            for (int x = 0; x < width; x += 5) {
                const GeoPoint p =
                    MapToDegrees({(x + 0.5) * tpp, (y + 0.5) * tpp}, 9630.0f, 4815.0f);
                const int expected = ShadeAtElevation(SolarElevation(sun, p));
                const int got = mask.shade[static_cast<std::size_t>(y * width + x)];
                worst = std::max(worst, std::abs(got - expected));
            }
        }
        EXPECT_LE(worst, 1) << scale;
        const auto at = [&](int x, int y) {
            return mask.shade[static_cast<std::size_t>(y * width + x)];
        };
        EXPECT_EQ(at(0, 2 * scale), kNightShade);
        EXPECT_EQ(at(width / 2, 2 * scale), kNightShade);
        EXPECT_EQ(at(0, height - 2 * scale), 0);
        EXPECT_EQ(at(width / 2, height / 2), 0);            // noon at Greenwich
        EXPECT_EQ(at(2 * scale, height / 2), kNightShade);  // midnight on the date line
    }
    EXPECT_TRUE(BuildNightMask(sun, 0, 320, 15.0, 9630.0f, 4815.0f).shade.empty());
}

}  // namespace
}  // namespace orbida::geodesy
