#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>

#include "geodesy/map_projection.h"
#include "ui/map/map_layer.h"

namespace orbida::ui {

// The map control Carte: the world map drawn unscaled at its top-left corner, then the crosshair
// lines Linelong and LineLat, the reference ring Entoure and the twelve route dots Shape1..Shape12,
// all clipped to its area. Positions are in twips of the map's own space, held as 32-bit floats;
// changing one repaints only the pixels it covers before and after. Layers are drawn between
// them through the map's plate carrée, whose plane is the map's twips.
class MapWidget : public QWidget, public MapView {
  public:
    static constexpr int kDots = 12;

    explicit MapWidget(QWidget* parent = nullptr);

    void SetCrosshair(float x, float y);
    void SetCrosshairVisible(bool visible);
    void SetEntoure(float left, float top);
    // number is 1..12; a dot that is not placed keeps its position.
    void SetDotVisible(int number, bool visible);
    void SetDotPosition(int number, float top, float left);

    // While a point is pinned the pointer shows as the ordinary arrow over the map, to aim the
    // next click; otherwise the crosshair stands in for it.
    void SetArrowPointer(bool arrow);

    const geodesy::MapProjection& Projection() const override { return projection_; }
    QPoint PixelAt(geodesy::PlanePoint place) const override;
    geodesy::PlanePoint Origin() const override { return {}; }
    double UnitsPerPixel() const override;
    const QPixmap& Ground() const override { return map_; }
    void Repaint(const QRegion& area) override { update(area); }

    float CrosshairX() const { return crosshairX_; }
    float CrosshairY() const { return crosshairY_; }
    bool CrosshairVisible() const { return crosshairVisible_; }
    float EntoureLeft() const { return entoureLeft_; }
    float EntoureTop() const { return entoureTop_; }
    bool DotVisible(int number) const { return Dot(number).visible; }
    float DotTop(int number) const { return Dot(number).top; }
    float DotLeft(int number) const { return Dot(number).left; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void UpdatePointer();
    struct Shape {
        bool visible = false;
        float top = 0.0f;
        float left = 0.0f;
        float size = 105.0f;
    };

    const Shape& Dot(int number) const { return dots_[static_cast<std::size_t>(number - 1)]; }
    Shape& Dot(int number) { return dots_[static_cast<std::size_t>(number - 1)]; }
    QRect DotRect(const Shape& dot) const;
    QRect EntoureRect() const;
    QRect VerticalLineRect() const;
    QRect HorizontalLineRect() const;
    void Invalidate(const QRect& area);

    static QPixmap Sprite(float sizeTwips, qreal ratio);
    void UseSharpMapIfNeeded();

    QPixmap map_;
    geodesy::Equirectangular projection_;
    QPixmap circleSprite_;  // Shape1 and Shape3..Shape12
    QPixmap ovalSprite_;    // Shape2, a little smaller
    qreal spriteRatio_ = 0.0;
    float crosshairX_ = 4440.0f;  // Linelong: x, spanning y 0..4800
    float crosshairY_ = 2280.0f;  // LineLat: y, spanning x 0..9600
    bool crosshairVisible_ = true;
    QRect frameDirty_;  // what has changed since the last paint
    float entoureLeft_ = 3840.0f;
    float entoureTop_ = 1680.0f;
    std::array<Shape, kDots> dots_{};
    bool arrow_ = false;
};

}  // namespace orbida::ui
