#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "geodesy/map_projection.h"
#include "tracking/tick.h"
#include "ui/map/map_layer.h"

namespace orbida::ui {

struct Polyline;

// The world around home in azimuthal-equidistant projection: every straight line from the centre
// is a great circle, its direction the course and its length the distance; the rim is home's
// antipode. The ground (the world picture laid pixel by pixel, the coastlines and borders as lines,
// the range rings and the bearing lines) is drawn once for each home, zoom, size and unit; what
// moves is drawn by the layers over it. Always centred on home; the wheel zooms from the whole
// world down to a 500 km radius, a double click or the Home key shows the whole world again.
class DiscMap final : public QWidget, public MapView {
  public:
    static constexpr double kMinRadiusKm = 500.0;
    // The whole world: the rim and a margin around it.
    static constexpr double kWorldRadiusKm = geodesy::AzimuthalEquidistant::kRimKm * 1.03;

    explicit DiscMap(QWidget* parent = nullptr);
    ~DiscMap() override;

    void SetCentre(geodesy::GeoPoint centre);
    geodesy::GeoPoint Centre() const { return centre_; }
    // The unit of the range rings' spacing and labels.
    void SetUnit(tracking::DistanceUnit unit);
    // The distance from the centre to the nearest edge of the widget.
    double RadiusKm() const { return radiusKm_; }
    void SetRadiusKm(double km);
    // Zooms in (steps > 0) or out by steps of a quarter.
    void Zoom(double steps);
    // The range rings' spacing in kilometres, for the radius shown and the unit.
    double RingSpacingKm() const;

    // The place under a pixel of the widget; none beyond the rim.
    std::optional<geodesy::GeoPoint> PlaceAt(QPoint pixel) const;

    // Called with the global position of a left click, and of a right click (the map's menu).
    std::function<void(QPoint)> clicked;
    std::function<void(QPoint)> menuAsked;
    // Called when the pointer leaves the map.
    std::function<void()> left;

    // MapView
    const geodesy::MapProjection& Projection() const override { return *projection_; }
    QPoint PixelAt(geodesy::PlanePoint place) const override;
    geodesy::PlanePoint Origin() const override;
    double UnitsPerPixel() const override;
    const QPixmap& Ground() const override;
    void Repaint(const QRegion& area) override { update(area); }

    // How many times the ground was drawn (the world is never drawn again for a pointer move).
    int GroundsDrawn() const { return groundsDrawn_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void DrawGround() const;
    void DrawLines(QPainter& painter) const;
    void DrawGraticule(QPainter& painter) const;
    void Changed();

    geodesy::GeoPoint centre_;
    std::unique_ptr<geodesy::AzimuthalEquidistant> projection_;
    tracking::DistanceUnit unit_ = tracking::DistanceUnit::Kilometres;
    double radiusKm_ = kWorldRadiusKm;
    mutable QImage world_;  // the world picture, read at the first drawing
    mutable std::unique_ptr<std::vector<Polyline>> lines_;  // coastlines and borders, then too
    mutable QPixmap ground_;
    mutable bool groundValid_ = false;
    mutable int groundsDrawn_ = 0;
};

}  // namespace orbida::ui
