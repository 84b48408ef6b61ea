#include "tracking/sun_text.h"

#include <chrono>
#include <cstdio>

namespace orbida::tracking {
namespace {

std::string HourMinute(std::chrono::sys_seconds t) {
    using namespace std::chrono;
    // Rounded to the nearest minute, then taken within its day: 23:59:40 reads 00:00.
    const sys_time<minutes> rounded = round<minutes>(t);
    const minutes ofDay = rounded - floor<days>(rounded);
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(ofDay.count() / 60),
                  static_cast<int>(ofDay.count() % 60));
    return text;
}

// " (veille)" or " (lendemain)" for an event on the UTC day before or after the one its noon
// falls on: east of the date line a sunrise is often the evening before.
std::string DayMark(std::chrono::sys_seconds event, std::chrono::sys_seconds noon) {
    using namespace std::chrono;
    const days apart = floor<days>(round<minutes>(event)) - floor<days>(noon);
    if (apart < days{0}) {
        return " (veille)";
    }
    return apart > days{0} ? " (lendemain)" : "";
}

}  // namespace

std::string SunEventsText(std::string_view place, const geodesy::SunEvents& events) {
    std::string text(place);
    text += " : ";
    switch (events.kind) {
        case geodesy::DayKind::kPolarDay:
            return text + "Jour polaire";
        case geodesy::DayKind::kPolarNight:
            return text + "Nuit polaire";
        case geodesy::DayKind::kRiseAndSet:
            break;
    }
    return text + "Lever " + HourMinute(events.sunrise) + " UTC" +
           DayMark(events.sunrise, events.solarNoon) + " · Coucher " + HourMinute(events.sunset) +
           " UTC" + DayMark(events.sunset, events.solarNoon);
}

}  // namespace orbida::tracking
