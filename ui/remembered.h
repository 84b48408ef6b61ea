#pragma once

#include <QPoint>
#include <QString>
#include <optional>

#include "tracking/tick.h"

class QSettings;

namespace orbida::ui {

// What the user set, kept from one run to the next: the home as it was validated (a city's name
// of the list, a locator or coordinates as typed), the window's position, the unit of distances
// and whether the long route and the grey line are drawn. A value missing, of the wrong kind or out
// of range reads as not set; an unreadable settings file reads as nothing set at all.
struct Remembered {
    QString home;  // empty: none
    std::optional<QPoint> position;
    tracking::DistanceUnit unit = tracking::DistanceUnit::Kilometres;
    bool longRoute = false;
    bool greyLine = false;

    friend bool operator==(const Remembered&, const Remembered&) = default;
};

Remembered ReadRemembered(const QSettings& settings);

void RememberHome(QSettings& settings, const QString& home);
void RememberPosition(QSettings& settings, QPoint position);
void RememberUnit(QSettings& settings, tracking::DistanceUnit unit);
void RememberLongRoute(QSettings& settings, bool longRoute);
void RememberGreyLine(QSettings& settings, bool greyLine);

// Where the antenna rotator's daemon listens; an empty host means no rotator. A port out of
// range reads as the daemon's usual one.
struct RotatorAddress {
    QString host;
    quint16 port = 4533;
};

RotatorAddress ReadRotatorAddress(const QSettings& settings);
void RememberRotator(QSettings& settings, const RotatorAddress& address);

}  // namespace orbida::ui
