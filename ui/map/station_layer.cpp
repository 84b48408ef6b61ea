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
        Changing([&] {
            marks_ = std::move(marks);
            placed_.clear();
        });
    }
}

const std::vector<std::optional<QPoint>>& StationLayer::PixelsOn(const MapView& view) const {
    auto placed = std::find_if(placed_.begin(), placed_.end(),
                               [&](const Placed& p) { return p.view == &view; });
    if (placed != placed_.end() && placed->origin == view.Origin() &&
        placed->unitsPerPixel == view.UnitsPerPixel()) {
        return placed->pixels;
    }
    if (placed == placed_.end()) {
        placed = placed_.insert(placed_.end(), Placed{&view, {}, 0.0, {}});
    }
    placed->origin = view.Origin();
    placed->unitsPerPixel = view.UnitsPerPixel();
    placed->pixels.clear();
    placed->pixels.reserve(marks_.size());
    for (const Mark& mark : marks_) {
        placed->pixels.push_back(view.PixelOf(mark.place));
    }
    return placed->pixels;
}

void StationLayer::Forget(const MapView& view) {
    std::erase_if(placed_, [&](const Placed& p) { return p.view == &view; });
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
    const std::vector<std::optional<QPoint>>& pixels = PixelsOn(view);
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        if (!pixels[i]) {
            continue;
        }
        const int d = (*pixels[i] - pixel).manhattanLength();
        if (d <= kPick && d < nearest) {
            nearest = d;
            best = marks_[i].id;
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
    const std::vector<std::optional<QPoint>>& pixels = PixelsOn(view);
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        const std::optional<QPoint>& at = pixels[i];
        if (!at || !bounds.intersects(MarkRect(*at, kRadius, 1))) {
            continue;
        }
        painter.drawPixmap(*at - QPoint(kRadius + 1, kRadius + 1), Sprite(marks_[i], ratio));
    }
}

}  // namespace orbida::ui
