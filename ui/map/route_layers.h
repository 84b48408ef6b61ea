#pragma once

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

}  // namespace orbida::ui
