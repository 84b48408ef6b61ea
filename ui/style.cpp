#include "ui/style.h"

#include <QGuiApplication>
#include <QPixmap>
#include <cmath>

namespace orbida::ui {

QFont UiFont(double points, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                      QStringLiteral("Microsoft Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

QCursor HandCursor() {
    // Hot spot at the top of the fingertip; the sharper drawing on screens of ratio 2 or more.
    if (qApp != nullptr && qApp->devicePixelRatio() > 1.5) {
        QPixmap sharp(QStringLiteral(":/orbida/hand@2x.png"));
        sharp.setDevicePixelRatio(2.0);
        return QCursor(sharp, 1, 0);
    }
    return QCursor(QPixmap(QStringLiteral(":/orbida/hand.png")), 1, 0);
}

QCursor BlankCursor() {
    return QCursor(Qt::BlankCursor);
}

}  // namespace orbida::ui
