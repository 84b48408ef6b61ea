#include "ui/map/beacon_layer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include "ui/window/style.h"

namespace orbida::ui {
namespace {

constexpr int kHalf = 5;   // the triangle's half width
constexpr int kFaint = 2;  // the dot's radius
constexpr int kLabelGap = 3;

QFont LabelFont() {
    return UiFont(7.5, true);
}

}  // namespace

void BeaconLayer::SetMarks(std::vector<Mark> marks) {
    if (marks != marks_) {
        Changing([&] { marks_ = std::move(marks); });
    }
}

bool BeaconLayer::LabelOnTheLeft(QPoint at, const Mark& mark, const MapView& view) {
    const int width = QFontMetrics(LabelFont()).horizontalAdvance(mark.call) + 4;
    return at.x() + kHalf + kLabelGap + width > view.Ground().deviceIndependentSize().width();
}

// The triangle and its call beside it, or the faint dot.
QRect BeaconLayer::MarkArea(QPoint at, const Mark& mark, const MapView& view) const {
    if (!mark.colour.isValid()) {
        return MarkRect(at, kFaint, 1);
    }
    const QFontMetrics metrics(LabelFont());
    const int width = metrics.horizontalAdvance(mark.call) + 4;
    const int left = LabelOnTheLeft(at, mark, view) ? at.x() - kHalf - 2 - kLabelGap - width
                                                    : at.x() - kHalf - 2;
    return QRect(left, at.y() - kHalf - 2, 2 * kHalf + 4 + kLabelGap + width,
                 std::max(2 * kHalf + 4, metrics.height() + 2));
}

QRegion BeaconLayer::Area(const MapView& view) const {
    QRegion area;
    for (const Mark& mark : marks_) {
        if (const std::optional<QPoint> at = view.PixelOf(mark.place)) {
            area += MarkArea(*at, mark, view);
        }
    }
    return area;
}

void BeaconLayer::Paint(QPainter& painter, const MapView& view, const QRegion& region) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(LabelFont());
    // The faint ones first, so that a beacon on the air is never under one that is not.
    for (const bool onAir : {false, true}) {
        for (const Mark& mark : marks_) {
            const std::optional<QPoint> at = view.PixelOf(mark.place);
            if (mark.colour.isValid() != onAir || !at ||
                !region.intersects(MarkArea(*at, mark, view))) {
                continue;
            }
            const QPointF c(at->x() + 0.5, at->y() + 0.5);
            if (!onAir) {
                painter.setPen(QPen(QColor(0, 0, 0, 140), 1));
                painter.setBrush(QColor(255, 255, 255, 150));
                painter.drawEllipse(c, kFaint, kFaint);
                continue;
            }
            const QPointF triangle[3] = {c + QPointF(0, -kHalf), c + QPointF(kHalf, kHalf),
                                         c + QPointF(-kHalf, kHalf)};
            painter.setPen(QPen(Qt::black, 1));
            painter.setBrush(mark.colour);
            painter.drawPolygon(triangle, 3);
            QPainterPath text;
            const QFontMetricsF metrics(painter.font());
            const qreal baseline = (metrics.ascent() - metrics.descent()) / 2;
            text.addText(c + QPointF(LabelOnTheLeft(*at, mark, view)
                                         ? -kHalf - kLabelGap - metrics.horizontalAdvance(mark.call)
                                         : kHalf + kLabelGap,
                                     baseline),
                         painter.font(), mark.call);
            painter.setPen(
                QPen(QColor(0, 0, 0, 180), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(text);
            painter.fillPath(text, mark.colour);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

}  // namespace orbida::ui
