#include "ui/readout_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace orbida::ui {

void ReadoutLabel::paintEvent(QPaintEvent*) {
    const int available = contentsRect().width();
    if (text() != laidOutText_ || font() != laidOutFont_ || available != laidOutWidth_) {
        laidOutText_ = text();
        laidOutFont_ = font();
        laidOutWidth_ = available;
        const QFontMetrics metrics(laidOutFont_);
        const bool fits = metrics.horizontalAdvance(laidOutText_) <= available;
        laidOut_.setText(fits ? laidOutText_
                              : metrics.elidedText(laidOutText_, Qt::ElideRight, available));
        laidOut_.setTextFormat(Qt::PlainText);
        laidOut_.prepare(QTransform(), laidOutFont_);
    }
    const double width = laidOut_.size().width();
    double x = 0.0;
    if (alignment() & Qt::AlignRight) {
        x = contentsRect().width() - width;
    } else if (alignment() & Qt::AlignHCenter) {
        x = (contentsRect().width() - width) / 2.0;
    }
    QPainter painter(this);
    painter.setFont(laidOutFont_);
    painter.setPen(palette().color(foregroundRole()));
    // Whole pixels keep the glyph cache warm: glyphs are cached per sub-pixel offset.
    painter.drawStaticText(QPointF(std::round(x), 0.0), laidOut_);
}

}  // namespace orbida::ui
