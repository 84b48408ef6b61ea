#include "ui/window/frame_widget.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tracking/dial.h"
#include "ui/window/style.h"
#include "ui/window/twips.h"

namespace orbida::ui {

FrameWidget::FrameWidget(const QString& caption, const QColor& captionColour, QWidget* parent)
    : QWidget(parent), caption_(caption), captionColour_(captionColour) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(UiFont(8.25, true));
}

void FrameWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    still_ = QPixmap();  // palette, font or screen changed: draw the still parts again
}

void FrameWidget::paintEvent(QPaintEvent* event) {
    if (!cacheStill_) {
        QPainter painter(this);
        painter.setClipRect(event->rect());
        painter.fillRect(event->rect(), palette().color(QPalette::Window));
        PaintStill(painter);
        PaintMoving(painter);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    if (still_.isNull() || still_.devicePixelRatio() != ratio ||
        still_.deviceIndependentSize() != QSizeF(size())) {
        still_ = QPixmap(size() * ratio);
        still_.setDevicePixelRatio(ratio);
        still_.fill(palette().color(QPalette::Window));
        QPainter still(&still_);
        still.setFont(font());  // a painter on an image does not take the widget's font
        PaintStill(still);
    }
    QPainter painter(this);
    painter.setClipRect(event->rect());
    painter.drawPixmap(0, 0, still_);
    PaintMoving(painter);
}

void FrameWidget::PaintStill(QPainter& painter) {
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    const QRect box = rect().adjusted(0, top, -2, -2);
    // Etched border: a dark line with a light one one pixel down and right.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(box);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.translated(1, 1));

    const int textWidth = metrics.horizontalAdvance(caption_);
    const QRect captionRect(7, 0, textWidth + 2, metrics.height());
    painter.fillRect(captionRect, palette().color(QPalette::Window));
    painter.setPen(captionColour_);
    painter.drawText(captionRect.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, caption_);
}

DialFrame::DialFrame(const QString& caption, const QColor& captionColour, QWidget* parent)
    : FrameWidget(caption, captionColour, parent) {
    cacheStill_ = true;
}

QRect DialFrame::NeedleRect() const {
    return NeedleRect(needleX2_, needleY2_);
}

QRect DialFrame::NeedleRect(float x2, float y2) {
    const QRectF ends = QRectF(QPointF(static_cast<double>(tracking::kNeedleX1),
                                       static_cast<double>(tracking::kNeedleY1)) /
                                   kTwipsPerPixel,
                               QPointF(static_cast<double>(std::clamp(x2, -1e6f, 1e6f)),
                                       static_cast<double>(std::clamp(y2, -1e6f, 1e6f))) /
                                   kTwipsPerPixel)
                            .normalized();
    return ends.toAlignedRect().adjusted(-3, -3, 3, 3);
}

void DialFrame::SetNeedle(float x2, float y2) {
    if (x2 != needleX2_ || y2 != needleY2_) {
        update(NeedleRect());
        needleX2_ = x2;
        needleY2_ = y2;
        update(NeedleRect());
    }
}

void DialFrame::SetNeedleVisible(bool visible) {
    if (visible != needleVisible_) {
        needleVisible_ = visible;
        update(NeedleRect());
    }
}

void DialFrame::SetLongNeedle(float x2, float y2, bool visible) {
    if (x2 == longX2_ && y2 == longY2_ && visible == longVisible_) {
        return;
    }
    MoveNeedle(longX2_, longY2_, longVisible_, x2, y2, visible);
}

void DialFrame::SetRotorNeedle(std::optional<double> heading) {
    const bool visible = heading.has_value() && std::isfinite(*heading);
    float x2 = rotorX2_;
    float y2 = rotorY2_;
    if (visible) {
        // On the same circle as the azimuth needle's free end.
        const double rad = *heading * std::numbers::pi / 180.0;
        x2 = static_cast<float>(std::sin(rad) * 300.0 + 2040.0);
        y2 = static_cast<float>(580.0 - std::cos(rad) * 300.0);
    }
    if (visible == rotorVisible_ && (!visible || (x2 == rotorX2_ && y2 == rotorY2_))) {
        return;
    }
    MoveNeedle(rotorX2_, rotorY2_, rotorVisible_, x2, y2, visible);
}

// Repaints where a needle was and where it now is, so that neither an old image nor a missing
// needle stays on the screen.
void DialFrame::MoveNeedle(float& x2, float& y2, bool& visible, float newX2, float newY2,
                           bool newVisible) {
    if (visible) {
        update(NeedleRect(x2, y2));
    }
    x2 = newX2;
    y2 = newY2;
    visible = newVisible;
    if (visible) {
        update(NeedleRect(x2, y2));
    }
}

void DialFrame::PaintStill(QPainter& painter) {
    FrameWidget::PaintStill(painter);
    // Cadran: green face, white outline of 2 pixels centred on its edge.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(kDialGreen);
    painter.drawEllipse(TwipRectF(1680, 240, 735, 735));
}

void DialFrame::PaintMoving(QPainter& painter) {
    const QPointF fixedEnd = QPointF(static_cast<double>(tracking::kNeedleX1),
                                     static_cast<double>(tracking::kNeedleY1)) /
                             kTwipsPerPixel;
    if (longVisible_) {
        // Under the short-path needle, which stays the one to read first.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kLongPathOrange, 1, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(fixedEnd, QPointF(static_cast<double>(std::clamp(longX2_, -1e6f, 1e6f)),
                                           static_cast<double>(std::clamp(longY2_, -1e6f, 1e6f))) /
                                       kTwipsPerPixel);
    }
    if (rotorVisible_) {
        // Where the antenna points, between the two courses it may be asked to take.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kRotorBlue, 2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(
            fixedEnd,
            QPointF(static_cast<double>(rotorX2_), static_cast<double>(rotorY2_)) / kTwipsPerPixel);
    }
    if (needleVisible_) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kPaleYellow, 2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(static_cast<double>(tracking::kNeedleX1),
                                 static_cast<double>(tracking::kNeedleY1)) /
                             kTwipsPerPixel,
                         QPointF(static_cast<double>(std::clamp(needleX2_, -1e6f, 1e6f)),
                                 static_cast<double>(std::clamp(needleY2_, -1e6f, 1e6f))) /
                             kTwipsPerPixel);
    }
}

}  // namespace orbida::ui
