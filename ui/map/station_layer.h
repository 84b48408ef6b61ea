#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "geodesy/geo_point.h"
#include "ui/map/map_layer.h"

namespace orbida::ui {

// The stations heard: a small disc each in the colour of its kind, fading with age; a station
// placed only by its country is a ring. Over the route, under the pin.
class StationLayer final : public MapLayer {
  public:
    struct Mark {
        std::uint64_t id = 0;  // the station's in its store
        geodesy::GeoPoint place;
        QColor colour;  // its alpha is the fading
        bool approximate = false;
        friend bool operator==(const Mark&, const Mark&) = default;
    };
    static constexpr int kRadius = 3;

    StationLayer() : MapLayer(LayerLevel::UnderDots) {}
    void SetMarks(std::vector<Mark> marks);
    const std::vector<Mark>& Marks() const { return marks_; }
    // The station whose mark is nearest a pixel of a view, within a few pixels; 0 when none.
    std::uint64_t StationAt(const MapView& view, QPoint pixel) const;

    void Paint(QPainter& painter, const MapView& view, const QRegion& region) override;
    QRegion Area(const MapView& view) const override;
    void Forget(const MapView& view) override;

  private:
    // The marks' pixels on a view, kept while the marks and the view's plane stay the same: a
    // pointer move repaints a few small areas, each of which would otherwise place every mark.
    struct Placed {
        const MapView* view = nullptr;
        geodesy::PlanePoint origin;
        double unitsPerPixel = 0.0;
        std::vector<std::optional<QPoint>> pixels;
    };
    const std::vector<std::optional<QPoint>>& PixelsOn(const MapView& view) const;

    // A mark drawn once for each colour, fading step and kind, at the screen's pixel ratio:
    // thousands of marks are then thousands of small copies, not thousands of shapes.
    const QPixmap& Sprite(const Mark& mark, qreal ratio);

    std::vector<Mark> marks_;
    mutable std::vector<Placed> placed_;
    std::map<std::tuple<QRgb, int, bool>, QPixmap> sprites_;
    qreal spriteRatio_ = 0.0;
};

}  // namespace orbida::ui
