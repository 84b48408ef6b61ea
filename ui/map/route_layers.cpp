#include "ui/map/route_layers.h"

#include <QPainter>

#include "ui/window/style.h"

namespace orbida::ui {
namespace {

constexpr int kOutline = 2;         // pixels of an outline, centred on a shape's edge
constexpr int kLongMarkRadius = 3;  // a little smaller than the route dots
constexpr int kPinRadius = 5;

}  // namespace

void LongRouteLayer::SetPoints(std::vector<geodesy::GeoPoint> points) {
    if (points != points_) {
        Changing([&] { points_ = std::move(points); });
    }
}

QRegion LongRouteLayer::Area(const MapView& view) const {
    QRegion area;
    for (const geodesy::GeoPoint& point : points_) {
        if (const std::optional<QPoint> at = view.PixelOf(point)) {
            area += MarkRect(*at, kLongMarkRadius, kOutline);
        }
    }
    return area;
}

void LongRouteLayer::Paint(QPainter& painter, const MapView& view, const QRegion& region) {
    if (points_.empty()) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kLongPathOrange, 1.5));
    painter.setBrush(Qt::NoBrush);
    for (const geodesy::GeoPoint& point : points_) {
        const std::optional<QPoint> at = view.PixelOf(point);
        if (!at) {
            continue;
        }
        const QRect r = MarkRect(*at, kLongMarkRadius, kOutline);
        if (region.intersects(r)) {
            painter.drawEllipse(QRectF(r.center(), QSizeF())
                                    .adjusted(-kLongMarkRadius, -kLongMarkRadius, kLongMarkRadius,
                                              kLongMarkRadius));
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void PinLayer::SetPoint(std::optional<geodesy::GeoPoint> point) {
    if (point != point_) {
        Changing([&] { point_ = point; });
    }
}

QRegion PinLayer::Area(const MapView& view) const {
    const std::optional<QPoint> at = point_ ? view.PixelOf(*point_) : std::nullopt;
    return at ? QRegion(MarkRect(*at, kPinRadius, kOutline)) : QRegion();
}

void PinLayer::Paint(QPainter& painter, const MapView& view, const QRegion& region) {
    const std::optional<QPoint> at = point_ ? view.PixelOf(*point_) : std::nullopt;
    if (!at || !region.intersects(MarkRect(*at, kPinRadius, kOutline))) {
        return;
    }
    const QPointF c = QRectF(MarkRect(*at, kPinRadius, kOutline)).center();
    const double r = kPinRadius;
    const QPointF diamond[4] = {c + QPointF(0, -r), c + QPointF(r, 0), c + QPointF(0, r),
                                c + QPointF(-r, 0)};
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kPinMagenta);
    painter.drawPolygon(diamond, 4);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

}  // namespace orbida::ui
