#include "ui/window/readout_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace orbida::ui {

ReadoutLabel::ReadoutLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ReadoutLabel::LayOut() {
    glyphs_ = QGlyphRun();
    useGlyphs_ = false;
    const QList<quint32> indexes = rawFont_.glyphIndexesForString(laidOutText_);
    bool complete = indexes.size() == laidOutText_.size();
    for (const quint32 index : indexes) {
        complete = complete && index != 0;  // 0: the font has no glyph for the character
    }
    if (complete) {
        const QList<QPointF> advances =
            rawFont_.advancesForGlyphIndexes(indexes, QRawFont::KernedAdvances);
        QList<QPointF> positions;
        positions.reserve(advances.size());
        QPointF pen(0.0, rawFont_.ascent());
        for (const QPointF& advance : advances) {
            positions.append(pen);
            pen += advance;
        }
        if (pen.x() <= laidOutWidth_) {
            glyphs_.setRawFont(rawFont_);
            glyphs_.setGlyphIndexes(indexes);
            glyphs_.setPositions(positions);
            glyphsWidth_ = pen.x();
            useGlyphs_ = true;
            return;
        }
    }
    const QFontMetrics metrics(laidOutFont_);
    staticText_.setTextFormat(Qt::PlainText);
    staticText_.setText(metrics.horizontalAdvance(laidOutText_) <= laidOutWidth_
                            ? laidOutText_
                            : metrics.elidedText(laidOutText_, Qt::ElideRight, laidOutWidth_));
    staticText_.prepare(QTransform(), laidOutFont_);
}

void ReadoutLabel::paintEvent(QPaintEvent*) {
    const int available = contentsRect().width();
    if (font() != laidOutFont_) {
        laidOutFont_ = font();
        rawFont_ = QRawFont::fromFont(laidOutFont_);
        laidOutWidth_ = -1;
    }
    if (text() != laidOutText_ || available != laidOutWidth_) {
        laidOutText_ = text();
        laidOutWidth_ = available;
        LayOut();
    }
    const double width = useGlyphs_ ? glyphsWidth_ : staticText_.size().width();
    double x = 0.0;
    if (alignment() & Qt::AlignRight) {
        x = available - width;
    } else if (alignment() & Qt::AlignHCenter) {
        x = (available - width) / 2.0;
    }
    QPainter painter(this);
    const QWidget* under = parentWidget();
    painter.fillRect(rect(), under != nullptr ? under->palette().color(under->backgroundRole())
                                              : palette().color(backgroundRole()));
    painter.setPen(palette().color(foregroundRole()));
    // Whole pixels keep the glyph cache warm: glyphs are cached per sub-pixel offset.
    const QPointF at(std::round(x), 0.0);
    if (useGlyphs_) {
        painter.drawGlyphRun(at, glyphs_);
    } else {
        painter.setFont(laidOutFont_);
        painter.drawStaticText(at, staticText_);
    }
}

}  // namespace orbida::ui
