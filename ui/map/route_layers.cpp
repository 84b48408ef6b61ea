#include "ui/map/route_layers.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "geodesy/map_projection.h"
#include "ui/window/style.h"

namespace orbida::ui {
namespace {

constexpr int kOutline = 2;         // pixels of an outline, centred on a shape's edge
constexpr int kLongMarkRadius = 3;  // a little smaller than the route dots
constexpr int kPinRadius = 5;
constexpr int kHomeHalf = 5;       // the home square's half side
constexpr double kStepKm = 100.0;  // a line's points, this far apart at most
constexpr int kMaxSteps = 128;
constexpr std::size_t kStepsPerRect = 8;
constexpr int kTearPixels = 100;

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

std::vector<std::vector<QPoint>> LineStrokes(const MapView& view, const BearingLine& line) {
    std::vector<std::vector<QPoint>> strokes;
    if (!(line.km > 0.0) || !std::isfinite(line.course)) {
        return strokes;
    }
    // The points along the course are those of the azimuthal map centred on the line's start,
    // on the straight line from its centre.
    const geodesy::AzimuthalEquidistant around(line.from);
    const double course = line.course * std::numbers::pi / 180.0;
    const double km = std::min(line.km, geodesy::AzimuthalEquidistant::kRimKm);
    const int steps = std::clamp(static_cast<int>(std::ceil(km / kStepKm)), 2, kMaxSteps);
    std::vector<QPoint> stroke;
    std::optional<QPoint> before;
    int lastJump = 0;
    for (int i = 0; i <= steps; ++i) {
        const double d = km * i / steps;
        const std::optional<geodesy::GeoPoint> point =
            around.Inverse({d * std::sin(course), -d * std::cos(course)});
        const std::optional<QPoint> at = point ? view.PixelOf(*point) : std::nullopt;
        if (!at) {
            continue;
        }
        // A step far longer than the one before is the map tearing the line apart (the line
        // crosses the antimeridian of a flat map, or a pole on it), not the line itself.
        const int jump =
            before ? std::max(std::abs(at->x() - before->x()), std::abs(at->y() - before->y())) : 0;
        if (jump > kTearPixels && jump > 8 * std::max(lastJump, 1)) {
            if (stroke.size() > 1) {
                strokes.push_back(std::move(stroke));
            }
            stroke.clear();
        } else {
            lastJump = jump;
        }
        stroke.push_back(*at);
        before = at;
    }
    if (stroke.size() > 1) {
        strokes.push_back(std::move(stroke));
    }
    return strokes;
}

void BearingLayer::SetLines(std::vector<BearingLine> lines) {
    if (lines != lines_) {
        Changing([&] {
            lines_ = std::move(lines);
            drawn_.clear();
        });
    }
}

const std::vector<BearingLayer::Strokes>& BearingLayer::StrokesOn(const MapView& view) const {
    const std::optional<QPoint> start =
        lines_.empty() ? std::nullopt : view.PixelOf(lines_.front().from);
    auto drawn =
        std::find_if(drawn_.begin(), drawn_.end(), [&](const Drawn& d) { return d.view == &view; });
    if (drawn != drawn_.end() && drawn->origin == view.Origin() &&
        drawn->unitsPerPixel == view.UnitsPerPixel() && drawn->start == start) {
        return drawn->strokes;
    }
    if (drawn == drawn_.end()) {
        drawn = drawn_.insert(drawn_.end(), Drawn{&view, {}, 0.0, {}, {}});
    }
    drawn->origin = view.Origin();
    drawn->unitsPerPixel = view.UnitsPerPixel();
    drawn->start = start;
    drawn->strokes.clear();
    for (const BearingLine& line : lines_) {
        drawn->strokes.push_back(LineStrokes(view, line));
    }
    return drawn->strokes;
}

void BearingLayer::Forget(const MapView& view) {
    std::erase_if(drawn_, [&](const Drawn& d) { return d.view == &view; });
}

QRegion BearingLayer::Area(const MapView& view) const {
    QRegion area;
    for (const Strokes& strokes : StrokesOn(view)) {
        for (const std::vector<QPoint>& stroke : strokes) {
            // A rectangle for every few steps: a region of fewer rectangles clips faster.
            for (std::size_t i = 0; i + 1 < stroke.size(); i += kStepsPerRect) {
                const std::size_t end = std::min(i + kStepsPerRect, stroke.size() - 1);
                QRect box(stroke[i], QSize(1, 1));
                for (std::size_t k = i + 1; k <= end; ++k) {
                    box |= QRect(stroke[k], QSize(1, 1));
                }
                area += box.adjusted(-3, -3, 3, 3);
            }
        }
    }
    return area;
}

void BearingLayer::Paint(QPainter& painter, const MapView& view, const QRegion& region) {
    (void)region;  // the painter is clipped to it
    painter.setRenderHint(QPainter::Antialiasing);
    const std::vector<Strokes>& strokes = StrokesOn(view);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        painter.setPen(QPen(lines_[i].colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const std::vector<QPoint>& stroke : strokes[i]) {
            painter.drawPolyline(stroke.data(), static_cast<int>(stroke.size()));
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void HomeLayer::SetPoint(std::optional<geodesy::GeoPoint> point) {
    if (point != point_) {
        Changing([&] { point_ = point; });
    }
}

QRegion HomeLayer::Area(const MapView& view) const {
    const std::optional<QPoint> at = point_ ? view.PixelOf(*point_) : std::nullopt;
    return at ? QRegion(MarkRect(*at, kHomeHalf, kOutline)) : QRegion();
}

void HomeLayer::Paint(QPainter& painter, const MapView& view, const QRegion& region) {
    const std::optional<QPoint> at = point_ ? view.PixelOf(*point_) : std::nullopt;
    if (!at || !region.intersects(MarkRect(*at, kHomeHalf, kOutline))) {
        return;
    }
    QPen red(kRed, kOutline);
    red.setJoinStyle(Qt::MiterJoin);
    painter.setPen(red);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        QRectF(*at - QPoint(kHomeHalf, kHomeHalf), QSizeF(2 * kHomeHalf, 2 * kHomeHalf))
            .translated(0.5, 0.5));
}

}  // namespace orbida::ui
