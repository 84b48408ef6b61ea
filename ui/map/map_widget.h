#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>
#include <optional>

#include <vector>
#include "geodesy/sun.h"

namespace orbida::ui {

// The map control Carte: the world map drawn unscaled at its top-left corner, then the crosshair
// lines Linelong and LineLat, the reference ring Entoure and the twelve route dots Shape1..Shape12,
// all clipped to its area. Positions are in twips of the map's own space, held as 32-bit floats;
// changing one repaints only the pixels it covers before and after.
class MapWidget : public QWidget {
  public:
    static constexpr int kDots = 12;

    explicit MapWidget(QWidget* parent = nullptr);

    void SetCrosshair(float x, float y);
    void SetCrosshairVisible(bool visible);
    void SetEntoure(float left, float top);
    // number is 1..12; a dot that is not placed keeps its position.
    void SetDotVisible(int number, bool visible);
    void SetDotPosition(int number, float top, float left);

    // The grey line: with a sun, the map is shown with the night side shaded and a small sun over
    // the subsolar point; without, as drawn. The shaded picture is built here, once per call,
    // and painted as the map until the next call.
    void SetSun(std::optional<geodesy::SunPosition> sun);
    const std::optional<geodesy::SunPosition>& Sun() const { return sun_; }
    // Where the sun mark is drawn, in pixels of the widget.
    QRect SunMarkRect() const;
    // The long-path route: hollow marks centred on the given points, in map twips; an empty list
    // hides them.
    void SetLongRoute(const std::vector<QPointF>& centres);
    const std::vector<QPointF>& LongRoute() const { return longRoute_; }
    // The pinned point's mark, centred on a point in map twips, or hidden.
    void SetPinMark(bool shown, QPointF centre = {});
    bool PinMarkShown() const { return pinShown_; }

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
    static QPixmap SunSprite(qreal ratio);
    void UseSharpMapIfNeeded();
    void BuildShadedMap();

    QPixmap map_;
    QPixmap shaded_;  // the map with the night shaded, while the grey line is on
    QPixmap sunSprite_;
    std::optional<geodesy::SunPosition> sun_;
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

    static QRect MarkRect(QPointF centreTwips, int radius);
    std::vector<QPointF> longRoute_;
    bool pinShown_ = false;
    QPointF pin_;
};

}  // namespace orbida::ui
