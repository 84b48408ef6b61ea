#pragma once

#include <string>
#include <string_view>

#include "geodesy/sun.h"

namespace orbida::tracking {

// One line of sunrise and sunset for a place: "Domicile : Lever 07:41 UTC · Coucher 15:56 UTC",
// or "Domicile : Jour polaire" / "Domicile : Nuit polaire". Times are UTC hours and minutes,
// rounded to the nearest minute; an event on the UTC day before or after the noon's shows its own
// hour, marked " (veille)" or " (lendemain)".
std::string SunEventsText(std::string_view place, const geodesy::SunEvents& events);

// The same line's pieces, for a window that words it in another language.
enum class EventDay { kSame, kDayBefore, kDayAfter };
struct SunTime {
    std::string hourMinute;  // "07:41", UTC
    EventDay day = EventDay::kSame;
};
struct SunLine {
    geodesy::DayKind kind = geodesy::DayKind::kRiseAndSet;
    SunTime sunrise;  // both empty for a polar day or night
    SunTime sunset;
};
SunLine SunLineOf(const geodesy::SunEvents& events);

}  // namespace orbida::tracking
