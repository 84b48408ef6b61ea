#include "ui/parts/remembered.h"

#include "rotator/address.h"

namespace orbida::ui {
namespace {

const QString kHome = QStringLiteral("reference/home");
const QString kPosition = QStringLiteral("window/position");
const QString kUnit = QStringLiteral("display/unit");
const QString kLongRoute = QStringLiteral("display/longRoute");
const QString kGreyLine = QStringLiteral("display/greyLine");
const QString kBeacons = QStringLiteral("display/beacons");
const QString kRotatorHost = QStringLiteral("rotator/host");
const QString kRotatorPort = QStringLiteral("rotator/port");
const QString kDiscOpen = QStringLiteral("azimuthal/open");
const QString kWsjtxOn = QStringLiteral("wsjtx/on");
const QString kClusterOn = QStringLiteral("cluster/on");
const QString kClusterHost = QStringLiteral("cluster/host");
const QString kClusterPort = QStringLiteral("cluster/port");
const QString kClusterCall = QStringLiteral("cluster/call");
const QString kWsjtxAddress = QStringLiteral("wsjtx/address");
const QString kWsjtxPort = QStringLiteral("wsjtx/port");
const QString kWsjtxFollow = QStringLiteral("wsjtx/followDx");
const QString kDiscGeometry = QStringLiteral("azimuthal/geometry");
const QString kLanguage = QStringLiteral("display/language");

// The units by their stored names, which stay the same whatever the enum's order becomes.
const QString kUnitNames[] = {QStringLiteral("km"), QStringLiteral("mi"), QStringLiteral("nmi")};

// Settings values are read as text: a hand-edited or damaged file gives strings, and a string
// that is not exactly one of the expected forms reads as not set.
std::optional<int> ReadInt(const QVariant& value) {
    bool ok = false;
    const int n = value.toString().trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

}  // namespace

QStringList RememberedKeys() {
    return {kHome,        kPosition,     kUnit,        kLongRoute,    kGreyLine,
            kRotatorHost, kRotatorPort,  kDiscOpen,    kDiscGeometry, kBeacons,
            kWsjtxOn,     kWsjtxAddress, kWsjtxPort,   kWsjtxFollow,  kClusterOn,
            kClusterHost, kClusterPort,  kClusterCall, kLanguage};
}

Remembered ReadRemembered(const SettingsStore& settings) {
    Remembered r;
    const QVariant home = settings.Value(kHome);
    if (home.canConvert<QString>()) {
        r.home = home.toString().trimmed().left(200);
    }
    const QStringList position = settings.Value(kPosition).toStringList();
    if (position.size() == 2) {
        const auto x = ReadInt(position[0]);
        const auto y = ReadInt(position[1]);
        // Anything beyond a million pixels is no window position. Compared on both sides, since
        // the absolute value of the lowest int is itself.
        const auto near = [](int v) { return v > -1'000'000 && v < 1'000'000; };
        if (x && y && near(*x) && near(*y)) {
            r.position = QPoint(*x, *y);
        }
    }
    const QString unit = settings.Value(kUnit).toString();
    for (int i = 0; i < 3; ++i) {
        if (unit == kUnitNames[i]) {
            r.unit = static_cast<tracking::DistanceUnit>(i);
        }
    }
    r.longRoute = settings.Value(kLongRoute).toString() == QLatin1String("true");
    r.greyLine = settings.Value(kGreyLine).toString() == QLatin1String("true");
    r.beacons = settings.Value(kBeacons).toString() == QLatin1String("true");
    return r;
}

QString ReadLanguage(const SettingsStore& settings) {
    const QString language = settings.Value(kLanguage).toString();
    return language == QLatin1String("en") || language == QLatin1String("fr") ? language
                                                                              : QString();
}

void RememberLanguage(SettingsStore& settings, const QString& language) {
    settings.SetValue(kLanguage, language);
}

void RememberHome(SettingsStore& settings, const QString& home) {
    settings.SetValue(kHome, home);
}

void RememberPosition(SettingsStore& settings, QPoint position) {
    settings.SetValue(kPosition,
                      QStringList{QString::number(position.x()), QString::number(position.y())});
}

void RememberUnit(SettingsStore& settings, tracking::DistanceUnit unit) {
    settings.SetValue(kUnit, kUnitNames[static_cast<int>(unit)]);
}

void RememberLongRoute(SettingsStore& settings, bool longRoute) {
    settings.SetValue(kLongRoute, longRoute ? QStringLiteral("true") : QStringLiteral("false"));
}

void RememberBeacons(SettingsStore& settings, bool beacons) {
    settings.SetValue(kBeacons, beacons ? QStringLiteral("true") : QStringLiteral("false"));
}

void RememberGreyLine(SettingsStore& settings, bool greyLine) {
    settings.SetValue(kGreyLine, greyLine ? QStringLiteral("true") : QStringLiteral("false"));
}

RotatorAddress ReadRotatorAddress(const SettingsStore& settings) {
    RotatorAddress address;
    const auto port = ReadInt(settings.Value(kRotatorPort));
    if (port && *port >= 1 && *port <= 65535) {
        address.port = static_cast<quint16>(*port);
    }
    // Read as the dialog and the command line read it: a host the program would refuse there is
    // no rotator here, and one kept with its port or in brackets by an older version reads so.
    const rotator::AddressReading reading =
        rotator::ReadAddress(settings.Value(kRotatorHost).toString().toStdString(), address.port);
    if (!reading.address) {
        return {};
    }
    address.host = QString::fromStdString(reading.address->host);
    address.port = reading.address->port;
    return address;
}

void RememberRotator(SettingsStore& settings, const RotatorAddress& address) {
    settings.SetValue(kRotatorHost, address.host);
    settings.SetValue(kRotatorPort, QString::number(address.port));
}

DiscWindowState ReadDiscWindow(const SettingsStore& settings) {
    DiscWindowState state;
    state.open = settings.Value(kDiscOpen).toString() == QLatin1String("true");
    const QStringList parts = settings.Value(kDiscGeometry).toStringList();
    if (parts.size() == 4) {
        int v[4];
        for (int i = 0; i < 4; ++i) {
            const auto n = ReadInt(parts[i]);
            v[i] = n.value_or(-2'000'000);
        }
        const auto near = [](int p) { return p > -1'000'000 && p < 1'000'000; };
        const auto size = [](int s) { return s >= 200 && s <= 20'000; };
        if (near(v[0]) && near(v[1]) && size(v[2]) && size(v[3])) {
            state.geometry = QRect(v[0], v[1], v[2], v[3]);
        }
    }
    return state;
}

void RememberDiscWindow(SettingsStore& settings, const DiscWindowState& state) {
    settings.SetValue(kDiscOpen, state.open ? QStringLiteral("true") : QStringLiteral("false"));
    if (state.geometry) {
        const QRect& g = *state.geometry;
        settings.SetValue(kDiscGeometry,
                          QStringList{QString::number(g.x()), QString::number(g.y()),
                                      QString::number(g.width()), QString::number(g.height())});
    }
}

WsjtxState ReadWsjtx(const SettingsStore& settings) {
    WsjtxState state;
    state.on = settings.Value(kWsjtxOn).toString() == QLatin1String("true");
    state.followDx = settings.Value(kWsjtxFollow).toString() == QLatin1String("true");
    const QString address = settings.Value(kWsjtxAddress).toString().trimmed();
    if (!address.isEmpty() && address.size() <= 64) {
        state.address = address;
    }
    const auto port = ReadInt(settings.Value(kWsjtxPort));
    if (port && *port > 0 && *port < 65536) {
        state.port = static_cast<quint16>(*port);
    }
    return state;
}

void RememberWsjtx(SettingsStore& settings, const WsjtxState& state) {
    settings.SetValue(kWsjtxOn, state.on ? QStringLiteral("true") : QStringLiteral("false"));
    settings.SetValue(kWsjtxAddress, state.address);
    settings.SetValue(kWsjtxPort, QString::number(state.port));
    settings.SetValue(kWsjtxFollow,
                      state.followDx ? QStringLiteral("true") : QStringLiteral("false"));
}

ClusterState ReadCluster(const SettingsStore& settings) {
    ClusterState state;
    state.on = settings.Value(kClusterOn).toString() == QLatin1String("true");
    state.host = settings.Value(kClusterHost).toString().trimmed().left(253);
    state.call = settings.Value(kClusterCall).toString().trimmed().left(20);
    const auto port = ReadInt(settings.Value(kClusterPort));
    if (port && *port > 0 && *port < 65536) {
        state.port = static_cast<quint16>(*port);
    }
    return state;
}

void RememberCluster(SettingsStore& settings, const ClusterState& state) {
    settings.SetValue(kClusterOn, state.on ? QStringLiteral("true") : QStringLiteral("false"));
    settings.SetValue(kClusterHost, state.host);
    settings.SetValue(kClusterPort, QString::number(state.port));
    settings.SetValue(kClusterCall, state.call);
}

}  // namespace orbida::ui
