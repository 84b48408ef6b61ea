#include "ui/map/map_layer.h"

#include <algorithm>

namespace orbida::ui {
namespace {

template <typename T>
void Erase(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

std::optional<QPoint> MapView::PixelOf(geodesy::GeoPoint point) const {
    const std::optional<geodesy::PlanePoint> place = Projection().Forward(point);
    if (!place) {
        return std::nullopt;
    }
    return PixelAt(*place);
}

MapView::~MapView() {
    for (MapLayer* layer : layers_) {
        Erase(layer->views_, this);
        layer->Forget(*this);
    }
}

void MapView::AddLayer(MapLayer* layer) {
    if (std::find(layers_.begin(), layers_.end(), layer) != layers_.end()) {
        return;
    }
    layers_.push_back(layer);
    layer->views_.push_back(this);
    Repaint(layer->Area(*this));
}

void MapView::RemoveLayer(MapLayer* layer) {
    if (std::find(layers_.begin(), layers_.end(), layer) == layers_.end()) {
        return;
    }
    Repaint(layer->Area(*this));
    Erase(layers_, layer);
    Erase(layer->views_, this);
    layer->Forget(*this);
}

void MapView::PaintLayers(QPainter& painter, LayerLevel level, const QRegion& region) {
    for (MapLayer* layer : layers_) {
        if (layer->Stacking() == level) {
            layer->Paint(painter, *this, region);
        }
    }
}

bool MapView::GroundCovered() const {
    return std::any_of(layers_.begin(), layers_.end(),
                       [](const MapLayer* layer) { return layer->CoversGround(); });
}

MapLayer::~MapLayer() {
    for (MapView* view : views_) {
        Erase(view->layers_, this);
    }
}

void MapLayer::RepaintAll() {
    for (MapView* view : views_) {
        view->Repaint(QRegion(-100000, -100000, 200000, 200000));
    }
}

QRect MarkRect(QPoint centre, int radius, int outline) {
    const int half = radius + outline;
    return QRect(centre.x() - half, centre.y() - half, 2 * half + 1, 2 * half + 1);
}

}  // namespace orbida::ui
