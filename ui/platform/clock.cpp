#include "ui/platform/clock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimeZone>

namespace orbida::ui {

WallTime SystemClock::Now() const {
    return std::chrono::time_point_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now());
}

TimeOption ParseTimeOption(const QString& text) {
    const QString trimmed = text.trimmed();
    const QDateTime parsed = QDateTime::fromString(trimmed, Qt::ISODateWithMs);
    TimeOption result;
    if (!parsed.isValid()) {
        result.error =
            QCoreApplication::translate("Clock",
                                        "--time : « %1 » n'est pas une date et une heure ISO 8601 "
                                        "(exemple : 2026-06-21T12:00Z)")
                .arg(text);
        return result;
    }
    // A date alone reads as its midnight in local time: say what is missing rather than the zone.
    if (!trimmed.contains(QLatin1Char('T')) && !trimmed.contains(QLatin1Char(' '))) {
        result.error = QCoreApplication::translate(
                           "Clock", "--time : « %1 » n'a pas d'heure (exemple : 2026-06-21T12:00Z)")
                           .arg(text);
        return result;
    }
    // Without a zone the text would mean local time, which depends on the machine.
    if (parsed.timeSpec() == Qt::LocalTime || parsed.offsetFromUtc() != 0) {
        result.error = QCoreApplication::translate(
                           "Clock",
                           "--time : « %1 » doit être en UTC, terminé par Z (exemple : "
                           "2026-06-21T12:00Z)")
                           .arg(text);
        return result;
    }
    // The sun's equations hold for a few centuries around the present.
    const int year = parsed.date().year();
    if (year < 1900 || year > 2200) {
        result.error = QCoreApplication::translate(
                           "Clock", "--time : l'année %1 est hors de la plage 1900 à 2200")
                           .arg(year);
        return result;
    }
    result.time = WallTime{std::chrono::milliseconds{parsed.toMSecsSinceEpoch()}};
    return result;
}

}  // namespace orbida::ui
