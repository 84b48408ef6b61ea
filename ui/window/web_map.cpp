#include "ui/window/web_map.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace orbida::ui {

QString AddressNumber(double value) {
    if (!std::isfinite(value) || value == 0.0) {
        return QStringLiteral("0");
    }
    // Fixed notation with as many decimals as 15 significant digits leave, then no trailing zeros.
    const int exponent = static_cast<int>(std::floor(std::log10(std::abs(value))));
    const int decimals = std::clamp(14 - exponent, 0, 330);
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0'))) {
            text.chop(1);
        }
        if (text.endsWith(QLatin1Char('.'))) {
            text.chop(1);
        }
    }
    return text;
}

QString WebMapAddress(geodesy::GeoPoint reference) {
    return kWebMapBase + QStringLiteral("/maps/map.adp?latlongtype=decimal&latitude=") +
           AddressNumber(reference.latitude) + QStringLiteral("&longitude=") +
           AddressNumber(-reference.longitude) + QStringLiteral("&zoom=3");
}

QString WebMapTooltip(const QString& cityText) {
    return QCoreApplication::translate("WebMap", "  Situer %1 avec %2  ")
        .arg(cityText, kWebMapBase);
}

}  // namespace orbida::ui
