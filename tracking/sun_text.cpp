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

// The UTC day of an event against the one its noon falls on: east of the date line a sunrise is
// often the evening before.
EventDay DayOf(std::chrono::sys_seconds event, std::chrono::sys_seconds noon) {
    using namespace std::chrono;
    const days apart = floor<days>(round<minutes>(event)) - floor<days>(noon);
    if (apart < days{0}) {
        return EventDay::kDayBefore;
    }
    return apart > days{0} ? EventDay::kDayAfter : EventDay::kSame;
}

std::string French(const SunTime& time) {
    const char* mark = time.day == EventDay::kDayBefore  ? " (veille)"
                       : time.day == EventDay::kDayAfter ? " (lendemain)"
                                                         : "";
    return time.hourMinute + " UTC" + mark;
}

}  // namespace

SunLine SunLineOf(const geodesy::SunEvents& events) {
    SunLine line;
    line.kind = events.kind;
    if (events.kind == geodesy::DayKind::kRiseAndSet) {
        line.sunrise = {HourMinute(events.sunrise), DayOf(events.sunrise, events.solarNoon)};
        line.sunset = {HourMinute(events.sunset), DayOf(events.sunset, events.solarNoon)};
    }
    return line;
}

std::string SunEventsText(std::string_view place, const geodesy::SunEvents& events) {
    const SunLine line = SunLineOf(events);
    std::string text(place);
    text += " : ";
    switch (line.kind) {
        case geodesy::DayKind::kPolarDay:
            return text + "Jour polaire";
        case geodesy::DayKind::kPolarNight:
            return text + "Nuit polaire";
        case geodesy::DayKind::kRiseAndSet:
            break;
    }
    return text + "Lever " + French(line.sunrise) + " · Coucher " + French(line.sunset);
}

}  // namespace orbida::tracking
