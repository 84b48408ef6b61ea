#pragma once

#include <QColor>
#include <optional>
#include <vector>

#include "geodesy/geo_point.h"
#include "ui/map/map_layer.h"

namespace orbida::ui {

// The long-path route: small hollow orange circles on its points, under the route dots.
class LongRouteLayer final : public MapLayer {
  public:
    LongRouteLayer() : MapLayer(LayerLevel::UnderDots) {}
    // An empty list hides the route.
    void SetPoints(std::vector<geodesy::GeoPoint> points);
    const std::vector<geodesy::GeoPoint>& Points() const { return points_; }

    void Paint(QPainter& painter, const MapView& view, const QRegion& region) override;
    QRegion Area(const MapView& view) const override;

  private:
    std::vector<geodesy::GeoPoint> points_;
};

// The pinned target: a magenta diamond with a dark edge, over everything else on the map.
class PinLayer final : public MapLayer {
  public:
    PinLayer() : MapLayer(LayerLevel::Top) {}
    void SetPoint(std::optional<geodesy::GeoPoint> point);
    const std::optional<geodesy::GeoPoint>& Point() const { return point_; }

    void Paint(QPainter& painter, const MapView& view, const QRegion& region) override;
    QRegion Area(const MapView& view) const override;

  private:
    std::optional<geodesy::GeoPoint> point_;
};

// A great circle leaving a point on a course, for a distance: the short path to the target, the
// long path on to home's antipode, the antenna's heading. On the azimuthal map centred on the
// point it is a straight line from the centre.
struct BearingLine {
    geodesy::GeoPoint from;
    double course = 0.0;  // degrees clockwise from north
    double km = 0.0;
    QColor colour;

    friend bool operator==(const BearingLine&, const BearingLine&) = default;
};

// Lines along courses, under the route dots.
class BearingLayer final : public MapLayer {
  public:
    BearingLayer() : MapLayer(LayerLevel::UnderDots) {}
    void SetLines(std::vector<BearingLine> lines);
    const std::vector<BearingLine>& Lines() const { return lines_; }

    void Paint(QPainter& painter, const MapView& view, const QRegion& region) override;
    QRegion Area(const MapView& view) const override;
    void Forget(const MapView& view) override;

  private:
    using Strokes = std::vector<std::vector<QPoint>>;
    // Each line's strokes on a view, kept while the lines and the view's plane stay the same:
    // a move of the pointer repaints the area the lines covered and cover, and paints them,
    // from one computation.
    struct Drawn {
        const MapView* view = nullptr;
        geodesy::PlanePoint origin;
        double unitsPerPixel = 0.0;
        std::optional<QPoint> start;  // the first line's start, which moves with the projection
        std::vector<Strokes> strokes;
    };
    const std::vector<Strokes>& StrokesOn(const MapView& view) const;

    std::vector<BearingLine> lines_;
    mutable std::vector<Drawn> drawn_;
};

// Home on a map that has no ring of its own: a red square around it, over everything.
class HomeLayer final : public MapLayer {
  public:
    HomeLayer() : MapLayer(LayerLevel::Top) {}
    void SetPoint(std::optional<geodesy::GeoPoint> point);
    const std::optional<geodesy::GeoPoint>& Point() const { return point_; }

    void Paint(QPainter& painter, const MapView& view, const QRegion& region) override;
    QRegion Area(const MapView& view) const override;

  private:
    std::optional<geodesy::GeoPoint> point_;
};

// The pixels of a line through a view, in strokes: a stroke ends where the map tears the line
// apart (at the antimeridian of a flat map, at the rim of the azimuthal one).
std::vector<std::vector<QPoint>> LineStrokes(const MapView& view, const BearingLine& line);

}  // namespace orbida::ui
