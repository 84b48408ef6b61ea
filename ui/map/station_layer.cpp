#include "ui/map/station_layer.h"

#include <QPainter>
#include <algorithm>
#include <limits>

namespace orbida::ui {
namespace {

constexpr int kPick = 6;        // pixels around a mark that still pick it
constexpr int kAlphaStep = 16;  // the fading in sixteen steps

}  // namespace

void StationLayer::SetMarks(std::vector<Mark> marks) {
    if (marks != marks_) {
        Changing([&] { marks_ = std::move(marks); });
    }
}

// The whole map while there are marks: placing thousands of marks twice to find the pixels a
// change touches costs more than painting the map once more.
QRegion StationLayer::Area(const MapView& view) const {
    (void)view;
    return marks_.empty() ? QRegion() : QRegion(-100000, -100000, 200000, 200000);
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

const QPixmap& StationLayer::Sprite(const Mark& mark, qreal ratio) {
    if (ratio != spriteRatio_) {
        sprites_.clear();
        spriteRatio_ = ratio;
    }
    const int step = mark.colour.alpha() / kAlphaStep;
    const auto key = std::make_tuple(mark.colour.rgb(), step, mark.approximate);
    auto found = sprites_.find(key);
    if (found != sprites_.end()) {
        return found->second;
    }
    const int side = 2 * (kRadius + 1) + 1;
    QPixmap sprite(QSize(side, side) * ratio);
    sprite.setDevicePixelRatio(ratio);
    sprite.fill(Qt::transparent);
    QPainter painter(&sprite);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor colour = mark.colour;
    colour.setAlpha(std::min(255, step * kAlphaStep + kAlphaStep / 2));
    const QPointF c(side / 2.0, side / 2.0);
    if (mark.approximate) {
        painter.setPen(QPen(colour, 1.5));
        painter.setBrush(Qt::NoBrush);
    } else {
        painter.setPen(QPen(QColor(0, 0, 0, colour.alpha()), 1));
        painter.setBrush(colour);
    }
    painter.drawEllipse(c, kRadius, kRadius);
    painter.end();
    return sprites_.emplace(key, std::move(sprite)).first->second;
}

void StationLayer::Paint(QPainter& painter, const MapView& view, const QRegion& region) {
    const QRect bounds = region.boundingRect();
    const qreal ratio = painter.device()->devicePixelRatioF();
    for (const Mark& mark : marks_) {
        const std::optional<QPoint> at = view.PixelOf(mark.place);
        if (!at || !bounds.intersects(MarkRect(*at, kRadius, 1))) {
            continue;
        }
        painter.drawPixmap(*at - QPoint(kRadius + 1, kRadius + 1), Sprite(mark, ratio));
    }
}

}  // namespace orbida::ui
