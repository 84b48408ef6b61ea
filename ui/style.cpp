#include "ui/style.h"

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
    // Hot spot at the top of the fingertip.
    return QCursor(QPixmap(QStringLiteral(":/orbida/hand.png")), 1, 0);
}

QCursor BlankCursor() {
    return QCursor(Qt::BlankCursor);
}

}  // namespace orbida::ui
