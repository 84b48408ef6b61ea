#include "ui/remembered.h"

#include <QSettings>

namespace orbida::ui {
namespace {

const QString kHome = QStringLiteral("reference/home");
const QString kPosition = QStringLiteral("window/position");
const QString kUnit = QStringLiteral("display/unit");
const QString kLongRoute = QStringLiteral("display/longRoute");
const QString kGreyLine = QStringLiteral("display/greyLine");
const QString kRotatorHost = QStringLiteral("rotator/host");
const QString kRotatorPort = QStringLiteral("rotator/port");

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

Remembered ReadRemembered(const QSettings& settings) {
    Remembered r;
    if (settings.status() != QSettings::NoError) {
        return r;
    }
    const QVariant home = settings.value(kHome);
    if (home.canConvert<QString>()) {
        r.home = home.toString().trimmed().left(200);
    }
    const QStringList position = settings.value(kPosition).toStringList();
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
    const QString unit = settings.value(kUnit).toString();
    for (int i = 0; i < 3; ++i) {
        if (unit == kUnitNames[i]) {
            r.unit = static_cast<tracking::DistanceUnit>(i);
        }
    }
    r.longRoute = settings.value(kLongRoute).toString() == QLatin1String("true");
    r.greyLine = settings.value(kGreyLine).toString() == QLatin1String("true");
    return r;
}

void RememberHome(QSettings& settings, const QString& home) {
    settings.setValue(kHome, home);
}

void RememberPosition(QSettings& settings, QPoint position) {
    settings.setValue(kPosition,
                      QStringList{QString::number(position.x()), QString::number(position.y())});
}

void RememberUnit(QSettings& settings, tracking::DistanceUnit unit) {
    settings.setValue(kUnit, kUnitNames[static_cast<int>(unit)]);
}

void RememberLongRoute(QSettings& settings, bool longRoute) {
    settings.setValue(kLongRoute, longRoute ? QStringLiteral("true") : QStringLiteral("false"));
}

void RememberGreyLine(QSettings& settings, bool greyLine) {
    settings.setValue(kGreyLine, greyLine ? QStringLiteral("true") : QStringLiteral("false"));
}

RotatorAddress ReadRotatorAddress(const QSettings& settings) {
    RotatorAddress address;
    if (settings.status() != QSettings::NoError) {
        return address;
    }
    const QString host = settings.value(kRotatorHost).toString().trimmed();
    // A host name is at most 253 characters, and never holds a space or a control character.
    bool plain = !host.isEmpty() && host.size() <= 253;
    for (const QChar c : host) {
        plain = plain && c.isPrint() && !c.isSpace();
    }
    if (!plain) {
        return address;
    }
    address.host = host;
    const auto port = ReadInt(settings.value(kRotatorPort));
    if (port && *port >= 1 && *port <= 65535) {
        address.port = static_cast<quint16>(*port);
    }
    return address;
}

void RememberRotator(QSettings& settings, const RotatorAddress& address) {
    settings.setValue(kRotatorHost, address.host);
    settings.setValue(kRotatorPort, QString::number(address.port));
}

}  // namespace orbida::ui
