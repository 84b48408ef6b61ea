#include "ui/map_widget.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>
#include <numbers>

#include "geodesy/night_mask.h"
#include "geodesy/projection.h"

#include "ui/packed_pictures.h"
#include "ui/style.h"
#include "ui/twips.h"

namespace orbida::ui {
namespace {

constexpr float kLineLength = 4800.0f;  // Linelong spans y 0..4800
constexpr float kLineWidth = 9600.0f;   // LineLat spans x 0..9600
constexpr float kEntoureSize = 140.0f;
constexpr int kOutline = 2;   // pixels, centred on the shape's edge
constexpr int kSunMark = 13;  // pixels, the sun mark's side
// The night is a deep blue laid over the map: darker than the day, the borders still showing.
constexpr int kNightRed = 4;
constexpr int kNightGreen = 8;
constexpr int kNightBlue = 40;

// Pixel of a twip coordinate, clamped so that far-away positions stay representable.
int PixelOf(float twips) {
    const double px = std::floor(static_cast<double>(twips) / kTwipsPerPixel);
    return static_cast<int>(std::clamp(px, -1.0e6, 1.0e6));
}

}  // namespace

MapWidget::MapWidget(QWidget* parent) : QWidget(parent), map_(PicturePixmap("carte.jpg")) {
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
    return QRect(PixelOf(dot.left), PixelOf(dot.top), size, size);
}

QRect MapWidget::EntoureRect() const {
    const int size = Px(static_cast<double>(kEntoureSize));
    return QRect(PixelOf(entoureLeft_), PixelOf(entoureTop_), size, size);
}

QRect MapWidget::VerticalLineRect() const {
    return QRect(PixelOf(crosshairX_), 0, 1, Px(static_cast<double>(kLineLength)) + 1);
}

QRect MapWidget::HorizontalLineRect() const {
    return QRect(0, PixelOf(crosshairY_), Px(static_cast<double>(kLineWidth)) + 1, 1);
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

QRect MapWidget::SunMarkRect() const {
    if (!sun_) {
        return {};
    }
    const geodesy::MapPosition at =
        geodesy::DegreesToMap(sun_->subsolar, static_cast<float>(width()) * kTwipsPerPixelF,
                              static_cast<float>(height()) * kTwipsPerPixelF);
    const int x = PixelOf(static_cast<float>(at.x));
    const int y = PixelOf(static_cast<float>(at.y));
    return QRect(x - kSunMark / 2, y - kSunMark / 2, kSunMark, kSunMark);
}

void MapWidget::SetSun(std::optional<geodesy::SunPosition> sun) {
    sun_ = sun;
    shaded_ = QPixmap();
    if (sun_) {
        BuildShadedMap();
    }
    update();
}

void MapWidget::UseSharpMapIfNeeded() {
    if (devicePixelRatioF() > 1.0 && map_.devicePixelRatio() < 2.0) {
        QPixmap sharp(QStringLiteral(":/orbida/carte@2x.jpg"));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            map_ = sharp;
            if (sun_) {
                BuildShadedMap();
            }
        }
    }
}

// Each pixel of the picture mixed with the night colour by its shade; the mask is placed with
// the map's own projection at the picture's resolution.
void MapWidget::BuildShadedMap() {
    QImage image = map_.toImage().convertToFormat(QImage::Format_RGB32);
    const double ratio = map_.devicePixelRatio();
    const geodesy::NightMask mask =
        geodesy::BuildNightMask(*sun_, image.width(), image.height(), kTwipsPerPixel / ratio,
                                static_cast<float>(width()) * kTwipsPerPixelF,
                                static_cast<float>(height()) * kTwipsPerPixelF);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const std::uint8_t* shade =
            mask.shade.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.width);
        for (int x = 0; x < image.width(); ++x) {
            const int a = shade[x];
            if (a == 0) {
                continue;
            }
            const QRgb c = line[x];
            const int keep = 255 - a;
            line[x] = qRgb((qRed(c) * keep + kNightRed * a) / 255,
                           (qGreen(c) * keep + kNightGreen * a) / 255,
                           (qBlue(c) * keep + kNightBlue * a) / 255);
        }
    }
    shaded_ = QPixmap::fromImage(image);
    shaded_.setDevicePixelRatio(ratio);
}

// The sun mark: a yellow disc with short rays, outlined so that it shows on land and sea alike.
QPixmap MapWidget::SunSprite(qreal ratio) {
    QPixmap sprite(QSize(kSunMark, kSunMark) * ratio);
    sprite.setDevicePixelRatio(ratio);
    sprite.fill(Qt::transparent);
    QPainter painter(&sprite);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kSunMark / 2.0, kSunMark / 2.0);
    painter.setPen(QPen(QColor(255, 140, 0), 1.5));
    for (int i = 0; i < 8; ++i) {
        const double angle = i * std::numbers::pi / 4.0;
        const QPointF dir(std::cos(angle), std::sin(angle));
        painter.drawLine(centre + dir * 4.0, centre + dir * 6.0);
    }
    painter.setBrush(QColor(255, 230, 0));
    painter.setPen(QPen(QColor(200, 90, 0), 1.0));
    painter.drawEllipse(centre, 3.0, 3.0);
    return sprite;
}

namespace {
constexpr int kLongMarkRadius = 3;  // pixels: a little smaller than the route dots
constexpr int kPinRadius = 5;
}  // namespace

QRect MapWidget::MarkRect(QPointF centreTwips, int radius) {
    const int x = PixelOf(static_cast<float>(centreTwips.x()));
    const int y = PixelOf(static_cast<float>(centreTwips.y()));
    return QRect(x - radius - kOutline, y - radius - kOutline, 2 * (radius + kOutline) + 1,
                 2 * (radius + kOutline) + 1);
}

void MapWidget::SetLongRoute(const std::vector<QPointF>& centres) {
    if (centres == longRoute_) {
        return;
    }
    for (const QPointF& c : longRoute_) {
        update(MarkRect(c, kLongMarkRadius));
    }
    longRoute_ = centres;
    for (const QPointF& c : longRoute_) {
        update(MarkRect(c, kLongMarkRadius));
    }
}

void MapWidget::SetPinMark(bool shown, QPointF centre) {
    if (shown == pinShown_ && (!shown || centre == pin_)) {
        return;
    }
    if (pinShown_) {
        update(MarkRect(pin_, kPinRadius));
    }
    pinShown_ = shown;
    pin_ = centre;
    if (pinShown_) {
        update(MarkRect(pin_, kPinRadius));
    }
    UpdatePointer();
}

// The crosshair stands in for the pointer, which is hidden only where the crosshair follows it.
// Where the point measured (left of and above the pointer) lies off the map, as over the map's
// top strip, and while a point is pinned (the crosshair stays on the pin), the user keeps the
// ordinary arrow to see where a click will land.
void MapWidget::UpdatePointer() {
    const bool blank = crosshairVisible_ && !pinShown_;
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
        sunSprite_ = SunSprite(ratio);
    }
    const QPixmap& shown = shaded_.isNull() ? map_ : shaded_;

    // The picture is exactly the control's 9630 x 4815 twips, so that each of its pixels shows
    // the place the readouts name there; should a picture ever be smaller, what it leaves over
    // shows the control's own background, the system window colour.
    const QRect picture(QPoint(0, 0), map_.deviceIndependentSize().toSize());
    const QRegion strip = region.subtracted(picture);
    for (const QRect& r : strip) {
        painter.fillRect(r, palette().color(QPalette::Base));
    }
    painter.drawPixmap(0, 0, shown);

    if (sun_) {
        const QRect mark = SunMarkRect();
        if (region.intersects(mark)) {
            painter.drawPixmap(mark.topLeft(), sunSprite_);
        }
    }

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

    // The long route under the route dots: small hollow circles of another colour.
    if (!longRoute_.empty()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kLongPathOrange, 1.5));
        painter.setBrush(Qt::NoBrush);
        for (const QPointF& c : longRoute_) {
            const QRect r = MarkRect(c, kLongMarkRadius);
            if (region.intersects(r)) {
                painter.drawEllipse(QRectF(r.center(), QSizeF())
                                        .adjusted(-kLongMarkRadius, -kLongMarkRadius,
                                                  kLongMarkRadius, kLongMarkRadius));
            }
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
    }

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

    if (pinShown_ && region.intersects(MarkRect(pin_, kPinRadius))) {
        // A magenta diamond with a dark edge: unlike the red rings and the crosshair.
        const QPointF c = QRectF(MarkRect(pin_, kPinRadius)).center();
        const double r = kPinRadius;
        const QPointF diamond[4] = {c + QPointF(0, -r), c + QPointF(r, 0), c + QPointF(0, r),
                                    c + QPointF(-r, 0)};
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(kPinMagenta);
        painter.drawPolygon(diamond, 4);
    }
}

}  // namespace orbida::ui
