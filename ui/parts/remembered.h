#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

#include "tracking/tick.h"
#include "ui/parts/settings_store.h"

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
    bool beacons = false;

    friend bool operator==(const Remembered&, const Remembered&) = default;
};

// The keys of the settings file that the program reads and writes; the store keeps only these.
QStringList RememberedKeys();

Remembered ReadRemembered(const SettingsStore& settings);

void RememberHome(SettingsStore& settings, const QString& home);
void RememberPosition(SettingsStore& settings, QPoint position);
void RememberUnit(SettingsStore& settings, tracking::DistanceUnit unit);
void RememberLongRoute(SettingsStore& settings, bool longRoute);
void RememberGreyLine(SettingsStore& settings, bool greyLine);
void RememberBeacons(SettingsStore& settings, bool beacons);

// The language chosen in the map's menu, "en" or "fr"; empty: the desktop's (also for anything
// else found in the file).
QString ReadLanguage(const SettingsStore& settings);
void RememberLanguage(SettingsStore& settings, const QString& language);

// Where the antenna rotator's daemon listens; an empty host means no rotator. A port out of
// range reads as the daemon's usual one; the host is read with rotator::ReadAddress, so that one
// it refuses reads as no rotator.
struct RotatorAddress {
    QString host;
    quint16 port = 4533;
};

RotatorAddress ReadRotatorAddress(const SettingsStore& settings);

// Listening to WSJT-X: whether, where (an address or a multicast group, and a port; anything
// unreadable reads as 127.0.0.1 and 2237), and whether its DX pins the target.
struct WsjtxState {
    bool on = false;
    QString address = QStringLiteral("127.0.0.1");
    quint16 port = 2237;
    bool followDx = false;
};

WsjtxState ReadWsjtx(const SettingsStore& settings);
void RememberWsjtx(SettingsStore& settings, const WsjtxState& state);

// The DX cluster node: whether to connect, its host and port (7300 when unreadable) and the call
// to log in with. The password is never written.
struct ClusterState {
    bool on = false;
    QString host;
    quint16 port = 7300;
    QString call;
};

ClusterState ReadCluster(const SettingsStore& settings);
void RememberCluster(SettingsStore& settings, const ClusterState& state);

// The azimuthal map's window: whether it was open, and where and how large (a size below 200
// pixels or beyond 20,000, or a place beyond a million pixels, reads as not set).
struct DiscWindowState {
    bool open = false;
    std::optional<QRect> geometry;
};

DiscWindowState ReadDiscWindow(const SettingsStore& settings);
void RememberDiscWindow(SettingsStore& settings, const DiscWindowState& state);
void RememberRotator(SettingsStore& settings, const RotatorAddress& address);

}  // namespace orbida::ui
