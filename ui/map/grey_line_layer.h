#pragma once

#include <QPixmap>
#include <optional>
#include <vector>

#include "geodesy/sun.h"
#include "ui/map/map_layer.h"

namespace orbida::ui {

// The grey line on a map: its ground with the night side shaded, and a small sun over the
// subsolar point. A map's shaded picture is made once for each sun and ground, when first
// painted.
class GreyLineLayer final : public MapLayer {
  public:
    GreyLineLayer() : MapLayer(LayerLevel::Ground) {}
    // Without a sun the layer shows nothing.
    void SetSun(std::optional<geodesy::SunPosition> sun);
    const std::optional<geodesy::SunPosition>& Sun() const { return sun_; }
    // Where the sun mark is drawn on a view, in pixels of its widget; empty without a sun.
    QRect SunMarkRect(const MapView& view) const;

    void Paint(QPainter& painter, const MapView& view, const QRegion& region) override;
    QRegion Area(const MapView& view) const override;
    bool CoversGround() const override { return sun_.has_value(); }
    void Forget(const MapView& view) override;
    // How many views it keeps a shaded picture for.
    std::size_t Kept() const { return shaded_.size(); }

  private:
    struct Shaded {
        const MapView* view = nullptr;
        qint64 ground = 0;  // the ground picture's cache key
        QPixmap picture;
    };
    const QPixmap& ShadedGround(const MapView& view);

    std::optional<geodesy::SunPosition> sun_;
    std::vector<Shaded> shaded_;
    QPixmap sunSprite_;
};

}  // namespace orbida::ui
