#include "ui/map/map_views.h"

#include <algorithm>

#include "ui/map/map_layer.h"

namespace orbida::ui {

void MapViews::AddLayer(MapLayer* layer) {
    layers_.push_back(layer);
    windowMap_->AddLayer(layer);
    for (MapView* view : views_) {
        view->AddLayer(layer);
    }
}

void MapViews::AddLayerToOtherMaps(MapLayer* layer) {
    otherLayers_.push_back(layer);
    for (MapView* view : views_) {
        view->AddLayer(layer);
    }
}

void MapViews::AddView(MapView* view) {
    views_.push_back(view);
    for (const auto* list : {&layers_, &otherLayers_}) {
        for (MapLayer* layer : *list) {
            view->AddLayer(layer);
        }
    }
}

void MapViews::RemoveView(MapView* view) {
    std::erase(views_, view);
    for (const auto* list : {&layers_, &otherLayers_}) {
        for (MapLayer* layer : *list) {
            view->RemoveLayer(layer);
        }
    }
}

}  // namespace orbida::ui
