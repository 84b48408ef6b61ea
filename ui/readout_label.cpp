#include "ui/readout_label.h"

#include <QPainter>
#include <cmath>

namespace orbida::ui {

void ReadoutLabel::paintEvent(QPaintEvent*) {
    if (text() != laidOutText_ || font() != laidOutFont_) {
        laidOutText_ = text();
        laidOutFont_ = font();
        laidOut_.setText(laidOutText_);
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
