#pragma once

#include <vector>

namespace orbida::ui {

class MapLayer;
class MapView;

// The maps of the program and the layers they share: the window's own map, and the maps that
// parts open and close, each shown with every layer given for all maps; the layers for the other
// maps only are left off the window's.
class MapViews {
  public:
    explicit MapViews(MapView* windowMap) : windowMap_(windowMap) {}

    void AddLayer(MapLayer* layer);
    void AddLayerToOtherMaps(MapLayer* layer);
    void AddView(MapView* view);
    void RemoveView(MapView* view);

  private:
    MapView* windowMap_;
    std::vector<MapLayer*> layers_;       // on every map
    std::vector<MapLayer*> otherLayers_;  // on the maps besides the window's
    std::vector<MapView*> views_;         // the maps besides the window's
};

}  // namespace orbida::ui
