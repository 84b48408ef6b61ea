#include "ui/map/map_widget.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "ui/window/packed_pictures.h"
#include "ui/window/style.h"
#include "ui/window/twips.h"

namespace orbida::ui {
namespace {

constexpr float kLineLength = 4800.0f;  // Linelong spans y 0..4800
constexpr float kLineWidth = 9600.0f;   // LineLat spans x 0..9600
constexpr float kEntoureSize = 140.0f;
constexpr int kOutline = 2;  // pixels, centred on the shape's edge

// Pixel of a twip coordinate, clamped so that far-away positions stay representable.
int TwipsPixel(float twips) {
    const double px = std::floor(static_cast<double>(twips) / kTwipsPerPixel);
    return static_cast<int>(std::clamp(px, -1.0e6, 1.0e6));
}

float ControlTwips(int pixels) {
    return static_cast<float>(pixels) * kTwipsPerPixelF;
}

}  // namespace

MapWidget::MapWidget(QWidget* parent)
    : QWidget(parent),
      map_(PicturePixmap("carte.jpg")),
      projection_(ControlTwips(width()), ControlTwips(height())) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(BlankCursor());
    // Design positions: Shape1..Shape5 stand in a column left of the centre until the first tick.
    const float tops[kDots] = {960,  1200, 1440, 1680, 1920, 2280,
                               2520, 2760, 3000, 3240, 3480, 3720};
    for (int n = 1; n <= kDots; ++n) {
        Shape& dot = Dot(n);
        dot.left = 3480.0f;
        dot.top = tops[n - 1];
        dot.visible = n <= 5;
        dot.size = n == 2 ? 100.0f : 105.0f;  // Shape2 is the smaller oval
    }
}

QRect MapWidget::DotRect(const Shape& dot) const {
    const int size = static_cast<int>(std::lround(static_cast<double>(dot.size) / kTwipsPerPixel));
    return QRect(TwipsPixel(dot.left), TwipsPixel(dot.top), size, size);
}

QRect MapWidget::EntoureRect() const {
    const int size = Px(static_cast<double>(kEntoureSize));
    return QRect(TwipsPixel(entoureLeft_), TwipsPixel(entoureTop_), size, size);
}

QRect MapWidget::VerticalLineRect() const {
    return QRect(TwipsPixel(crosshairX_), 0, 1, Px(static_cast<double>(kLineLength)) + 1);
}

QRect MapWidget::HorizontalLineRect() const {
    return QRect(0, TwipsPixel(crosshairY_), Px(static_cast<double>(kLineWidth)) + 1, 1);
}

namespace {
// The area to repaint for a shape: its rectangle plus the half of the outline drawn outside.
QRect Dirty(const QRect& r) {
    return r.adjusted(-kOutline, -kOutline, kOutline, kOutline);
}
}  // namespace

// The shapes that move in one frame (the two lines, the dots, the ring) are repainted as one
// rectangle around them all: several small rectangles cost more to compose and copy to the screen
// than the one picture blit that covers them.
void MapWidget::Invalidate(const QRect& area) {
    frameDirty_ = frameDirty_.united(area);
    update(frameDirty_);
}

void MapWidget::SetCrosshair(float x, float y) {
    if (x != crosshairX_) {
        if (crosshairVisible_) {
            Invalidate(VerticalLineRect());
        }
        crosshairX_ = x;
        if (crosshairVisible_) {
            Invalidate(VerticalLineRect());
        }
    }
    if (y != crosshairY_) {
        if (crosshairVisible_) {
            Invalidate(HorizontalLineRect());
        }
        crosshairY_ = y;
        if (crosshairVisible_) {
            Invalidate(HorizontalLineRect());
        }
    }
}

void MapWidget::SetCrosshairVisible(bool visible) {
    if (visible != crosshairVisible_) {
        crosshairVisible_ = visible;
        UpdatePointer();
        Invalidate(VerticalLineRect());
        Invalidate(HorizontalLineRect());
    }
}

void MapWidget::SetEntoure(float left, float top) {
    if (left != entoureLeft_ || top != entoureTop_) {
        Invalidate(Dirty(EntoureRect()));
        entoureLeft_ = left;
        entoureTop_ = top;
        Invalidate(Dirty(EntoureRect()));
    }
}

void MapWidget::SetDotVisible(int number, bool visible) {
    Shape& dot = Dot(number);
    if (dot.visible != visible) {
        dot.visible = visible;
        Invalidate(Dirty(DotRect(dot)));
    }
}

void MapWidget::SetDotPosition(int number, float top, float left) {
    Shape& dot = Dot(number);
    if (dot.top != top || dot.left != left) {
        const QRect before = DotRect(dot);
        dot.top = top;
        dot.left = left;
        if (dot.visible) {
            const QRect after = DotRect(dot);
            if (before != after) {
                Invalidate(Dirty(before));
                Invalidate(Dirty(after));
            }
        }
    }
}

void MapWidget::UseSharpMapIfNeeded() {
    if (devicePixelRatioF() > 1.0 && map_.devicePixelRatio() < 2.0) {
        QPixmap sharp(QStringLiteral(":/orbida/carte@2x.jpg"));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            map_ = sharp;
        }
    }
}

QPoint MapWidget::PixelAt(geodesy::PlanePoint place) const {
    return QPoint(TwipsPixel(static_cast<float>(place.x)), TwipsPixel(static_cast<float>(place.y)));
}

double MapWidget::UnitsPerPixel() const {
    return kTwipsPerPixel;
}

void MapWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    projection_ = geodesy::Equirectangular(ControlTwips(width()), ControlTwips(height()));
}

void MapWidget::SetArrowPointer(bool arrow) {
    arrow_ = arrow;
    UpdatePointer();
}

// The crosshair stands in for the pointer, which is hidden only where the crosshair follows it.
// Where the point measured (left of and above the pointer) lies off the map, as over the map's
// top strip, and while a point is pinned (the crosshair stays on the pin), the user keeps the
// ordinary arrow to see where a click will land.
void MapWidget::UpdatePointer() {
    const bool blank = crosshairVisible_ && !arrow_;
    if (blank != (cursor().shape() == Qt::BlankCursor)) {
        setCursor(blank ? BlankCursor() : QCursor(Qt::ArrowCursor));
    }
}

// A dot's outline drawn once into a small transparent image, at the screen's pixel ratio, and
// then copied: antialiasing twelve ellipses on every pointer move cost a quarter of a move.
QPixmap MapWidget::Sprite(float sizeTwips, qreal ratio) {
    const double size = static_cast<double>(sizeTwips) / kTwipsPerPixel;
    const int side = static_cast<int>(std::ceil(size)) + 2 * kOutline;
    QPixmap sprite(QSize(side, side) * ratio);
    sprite.setDevicePixelRatio(ratio);
    sprite.fill(Qt::transparent);
    QPainter painter(&sprite);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kRed, kOutline));
    painter.drawEllipse(QRectF(kOutline, kOutline, size, size));
    return sprite;
}

void MapWidget::paintEvent(QPaintEvent* event) {
    frameDirty_ = QRect();
    QPainter painter(this);
    const QRegion& region = event->region();
    painter.setClipRegion(region);

    const qreal ratio = devicePixelRatioF();
    UseSharpMapIfNeeded();
    if (spriteRatio_ != ratio) {
        spriteRatio_ = ratio;
        circleSprite_ = Sprite(105.0f, ratio);
        ovalSprite_ = Sprite(100.0f, ratio);
    }

    // The picture is exactly the control's 9630 x 4815 twips, so that each of its pixels shows
    // the place the readouts name there; should a picture ever be smaller, what it leaves over
    // shows the control's own background, the system window colour.
    const QRect picture(QPoint(0, 0), map_.deviceIndependentSize().toSize());
    const QRegion strip = region.subtracted(picture);
    for (const QRect& r : strip) {
        painter.fillRect(r, palette().color(QPalette::Base));
    }
    if (!GroundCovered()) {
        painter.drawPixmap(0, 0, map_);
    }
    PaintLayers(painter, LayerLevel::Ground, region);

    // Bottom of the stacking first: the crosshair, the ring, then the dots.
    if (crosshairVisible_) {
        // One pixel in the system window-text colour.
        painter.fillRect(VerticalLineRect(), palette().color(QPalette::Text));
        painter.fillRect(HorizontalLineRect(), palette().color(QPalette::Text));
    }

    const QRect ring = EntoureRect();
    if (region.intersects(Dirty(ring))) {
        QPen red(kRed, kOutline);
        red.setJoinStyle(Qt::MiterJoin);
        painter.setPen(red);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(ring));
    }

    PaintLayers(painter, LayerLevel::UnderDots, region);

    static constexpr int kOrder[kDots] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 10, 11};
    for (int n : kOrder) {
        const Shape& dot = Dot(n);
        if (dot.visible) {
            const QRect r = DotRect(dot);
            if (region.intersects(Dirty(r))) {
                painter.drawPixmap(r.topLeft() - QPoint(kOutline, kOutline),
                                   n == 2 ? ovalSprite_ : circleSprite_);
            }
        }
    }

    PaintLayers(painter, LayerLevel::Top, region);
}

}  // namespace orbida::ui
