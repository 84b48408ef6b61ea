#pragma once

#include <QColor>
#include <QString>
#include <vector>

#include "geodesy/geo_point.h"
#include "ui/map/map_layer.h"

namespace orbida::ui {

// Beacons on a map: those on the air a triangle in their band's colour with their call beside
// it, the others a faint dot. Over the route, under the pin.
class BeaconLayer final : public MapLayer {
  public:
    struct Mark {
        geodesy::GeoPoint place;
        QString call;
        QColor colour;  // invalid: off the air, drawn faint
        friend bool operator==(const Mark&, const Mark&) = default;
    };

    BeaconLayer() : MapLayer(LayerLevel::UnderDots) {}
    // An empty list hides them.
    void SetMarks(std::vector<Mark> marks);
    const std::vector<Mark>& Marks() const { return marks_; }

    void Paint(QPainter& painter, const MapView& view, const QRegion& region) override;
    QRegion Area(const MapView& view) const override;

  private:
    // The call goes to the left of its triangle where it would cross the map's right edge.
    static bool LabelOnTheLeft(QPoint at, const Mark& mark, const MapView& view);
    QRect MarkArea(QPoint at, const Mark& mark, const MapView& view) const;
    std::vector<Mark> marks_;
};

}  // namespace orbida::ui
