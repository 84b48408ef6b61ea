#include "ui/map/station_layer.h"

#include <QPainter>
#include <limits>

namespace orbida::ui {
namespace {

constexpr int kPick = 6;  // pixels around a mark that still pick it

}  // namespace

void StationLayer::SetMarks(std::vector<Mark> marks) {
    if (marks != marks_) {
        Changing([&] { marks_ = std::move(marks); });
    }
}

// One rectangle around all the marks: thousands of marks make a region of thousands of
// rectangles otherwise, slower to clip to than the few pixels it saves.
QRegion StationLayer::Area(const MapView& view) const {
    QRect area;
    for (const Mark& mark : marks_) {
        if (const std::optional<QPoint> at = view.PixelOf(mark.place)) {
            area |= MarkRect(*at, kRadius, 1);
        }
    }
    return area;
}

std::uint64_t StationLayer::StationAt(const MapView& view, QPoint pixel) const {
    std::uint64_t best = 0;
    int nearest = std::numeric_limits<int>::max();
    for (const Mark& mark : marks_) {
        const std::optional<QPoint> at = view.PixelOf(mark.place);
        if (!at) {
            continue;
        }
        const int d = (*at - pixel).manhattanLength();
        if (d <= kPick && d < nearest) {
            nearest = d;
            best = mark.id;
        }
    }
    return best;
}

void StationLayer::Paint(QPainter& painter, const MapView& view, const QRegion& region) {
    const QRect bounds = region.boundingRect();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Mark& mark : marks_) {
        const std::optional<QPoint> at = view.PixelOf(mark.place);
        if (!at || !bounds.intersects(MarkRect(*at, kRadius, 1))) {
            continue;
        }
        const QPointF c(at->x() + 0.5, at->y() + 0.5);
        QColor edge(0, 0, 0, mark.colour.alpha());
        if (mark.approximate) {
            painter.setPen(QPen(mark.colour, 1.5));
            painter.setBrush(Qt::NoBrush);
        } else {
            painter.setPen(QPen(edge, 1));
            painter.setBrush(mark.colour);
        }
        painter.drawEllipse(c, kRadius, kRadius);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

}  // namespace orbida::ui
