#pragma once

#include <QPixmap>
#include <QPoint>
#include <QRegion>
#include <optional>
#include <vector>

#include "geodesy/geo_point.h"
#include "geodesy/map_projection.h"

class QPainter;

namespace orbida::ui {

class MapLayer;

// Where a layer is drawn among the map's own shapes (the crosshair, the home ring and the route
// dots): on the ground under all of them, under the route dots, or over everything.
enum class LayerLevel { Ground, UnderDots, Top };

// A map as its layers see it: a projection from the globe to a plane, and the plane laid on the
// widget's pixels. Pixels are device-independent, counted from the widget's top-left corner.
class MapView {
  public:
    virtual const geodesy::MapProjection& Projection() const = 0;
    // The pixel that holds a point of the plane.
    virtual QPoint PixelAt(geodesy::PlanePoint place) const = 0;
    // The point of the plane at the top-left corner of the widget, and the plane's units to a
    // pixel.
    virtual geodesy::PlanePoint Origin() const = 0;
    virtual double UnitsPerPixel() const = 0;
    // The picture drawn under every layer, at its own pixel ratio.
    virtual const QPixmap& Ground() const = 0;
    // Asks for the pixels of an area to be painted again.
    virtual void Repaint(const QRegion& area) = 0;

    // The pixel of a point of the globe; none where the map does not show it.
    std::optional<QPoint> PixelOf(geodesy::GeoPoint point) const;

    // A layer shown on this map from now on, over those of its level added before.
    void AddLayer(MapLayer* layer);
    void RemoveLayer(MapLayer* layer);
    const std::vector<MapLayer*>& Layers() const { return layers_; }
    // The first layer of a kind, or null.
    template <typename Layer>
    Layer* FindLayer() const {
        for (MapLayer* layer : layers_) {
            if (auto* found = dynamic_cast<Layer*>(layer)) {
                return found;
            }
        }
        return nullptr;
    }

  protected:
    MapView() = default;
    virtual ~MapView();
    MapView(const MapView&) = delete;
    MapView& operator=(const MapView&) = delete;
    // Paints the layers of one level within region, in the order they were added.
    void PaintLayers(QPainter& painter, LayerLevel level, const QRegion& region);
    bool GroundCovered() const;

  private:
    friend class MapLayer;
    std::vector<MapLayer*> layers_;
};

// Something drawn over maps from points of the globe, the same on every map that shows it
// whatever its projection. A layer knows the views it is on and has them repaint what a change
// uncovers and covers.
class MapLayer {
  public:
    explicit MapLayer(LayerLevel level) : level_(level) {}
    virtual ~MapLayer();
    MapLayer(const MapLayer&) = delete;
    MapLayer& operator=(const MapLayer&) = delete;

    LayerLevel Stacking() const { return level_; }
    // Paints the part of the layer within region.
    virtual void Paint(QPainter& painter, const MapView& view, const QRegion& region) = 0;
    // The pixels the layer covers on a view.
    virtual QRegion Area(const MapView& view) const = 0;
    // True when the layer paints the whole ground itself, which then needs no painting under it.
    virtual bool CoversGround() const { return false; }
    // The view no longer shows the layer (it was removed, or the view is gone): what the layer
    // kept for it can go.
    virtual void Forget(const MapView& view) { (void)view; }

  protected:
    // Runs a change of what the layer shows, with the pixels it covered and covers repainted.
    template <typename Change>
    void Changing(Change&& change) {
        for (MapView* view : views_) {
            view->Repaint(Area(*view));
        }
        change();
        for (MapView* view : views_) {
            view->Repaint(Area(*view));
        }
    }
    void RepaintAll();

  private:
    friend class MapView;
    LayerLevel level_;
    std::vector<MapView*> views_;
};

// A round mark's pixels: a square of side 2 (radius + outline) + 1 around its centre.
QRect MarkRect(QPoint centre, int radius, int outline);

}  // namespace orbida::ui
