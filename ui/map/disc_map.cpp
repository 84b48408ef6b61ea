#include "ui/map/disc_map.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "geodesy/disc_raster.h"
#include "ui/map/world_lines.h"
#include "ui/window/packed_pictures.h"
#include "ui/window/style.h"

namespace orbida::ui {
namespace {

constexpr int kMargin = 4;  // pixels between the widget's edge and the whole world's rim
constexpr double kZoomStep = 1.25;
constexpr double kRimGap = 24.0;  // pixels: a ring closer to the rim than this is left out
const QColor kOutside(64, 64, 64);
const QColor kCoast(40, 40, 40);
const QColor kBorder(90, 90, 90);
const QColor kRing(255, 255, 255, 150);
const QColor kRingLabel(255, 255, 230);

double KmPerUnit(tracking::DistanceUnit unit) {
    switch (unit) {
        case tracking::DistanceUnit::StatuteMiles:
            return 1.609344;
        case tracking::DistanceUnit::NauticalMiles:
            return 1.852;
        case tracking::DistanceUnit::Kilometres:
            break;
    }
    return 1.0;
}

// The bearing lines' labels, every 30 degrees from north.
QString BearingLabel(int degrees) {
    switch (degrees) {
        case 0:
            return QStringLiteral("N");
        case 90:
            return QStringLiteral("E");
        case 180:
            return QStringLiteral("S");
        case 270:
            return QCoreApplication::translate("DiscMap", "O");
        default:
            return QString::number(degrees);
    }
}

// A text with a dark halo, readable on land, sea and night alike.
void DrawLabel(QPainter& painter, QPointF centre, const QString& text, const QColor& colour) {
    const QFontMetricsF metrics(painter.font());
    const QPointF at = centre - QPointF(metrics.horizontalAdvance(text) / 2.0,
                                        (metrics.descent() - metrics.ascent()) / 2.0);
    QPainterPath path;
    path.addText(at, painter.font(), text);
    painter.setPen(QPen(QColor(0, 0, 0, 170), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.fillPath(path, colour);
}

}  // namespace

DiscMap::DiscMap(QWidget* parent)
    : QWidget(parent), projection_(std::make_unique<geodesy::AzimuthalEquidistant>(centre_)) {
    setObjectName(QStringLiteral("CarteAzimutale"));
    setMinimumSize(200, 200);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QCoreApplication::translate("DiscMap", "Carte azimutale"));
}

DiscMap::~DiscMap() = default;

void DiscMap::Changed() {
    groundValid_ = false;
    update();
}

void DiscMap::SetCentre(geodesy::GeoPoint centre) {
    if (centre == centre_) {
        return;
    }
    centre_ = centre;
    projection_ = std::make_unique<geodesy::AzimuthalEquidistant>(centre_);
    Changed();
}

void DiscMap::SetUnit(tracking::DistanceUnit unit) {
    if (unit != unit_) {
        unit_ = unit;
        Changed();
    }
}

void DiscMap::SetRadiusKm(double km) {
    km = std::clamp(std::isfinite(km) ? km : kWorldRadiusKm, kMinRadiusKm, kWorldRadiusKm);
    if (km != radiusKm_) {
        radiusKm_ = km;
        Changed();
    }
}

void DiscMap::Zoom(double steps) {
    SetRadiusKm(radiusKm_ / std::pow(kZoomStep, steps));
}

double DiscMap::RingSpacingKm() const {
    // The smallest of the usual spacings that draws at most six rings to the edge.
    const double perUnit = KmPerUnit(unit_);
    for (const double spacing : {100.0, 250.0, 500.0, 1000.0, 2500.0}) {
        if (radiusKm_ / (spacing * perUnit) <= 6.0) {
            return spacing * perUnit;
        }
    }
    return 5000.0 * perUnit;
}

double DiscMap::UnitsPerPixel() const {
    const double half = std::min(width(), height()) / 2.0 - kMargin;
    return radiusKm_ / std::max(half, 1.0);
}

geodesy::PlanePoint DiscMap::Origin() const {
    const double upp = UnitsPerPixel();
    return {-width() / 2.0 * upp, -height() / 2.0 * upp};
}

QPoint DiscMap::PixelAt(geodesy::PlanePoint place) const {
    const double upp = UnitsPerPixel();
    const geodesy::PlanePoint origin = Origin();
    const double x = std::floor((place.x - origin.x) / upp);
    const double y = std::floor((place.y - origin.y) / upp);
    const auto clampInt = [](double v) { return static_cast<int>(std::clamp(v, -1.0e6, 1.0e6)); };
    return {clampInt(x), clampInt(y)};
}

std::optional<geodesy::GeoPoint> DiscMap::PlaceAt(QPoint pixel) const {
    if (!rect().contains(pixel)) {
        return std::nullopt;
    }
    const double upp = UnitsPerPixel();
    const geodesy::PlanePoint origin = Origin();
    return projection_->Inverse(
        {origin.x + (pixel.x() + 0.5) * upp, origin.y + (pixel.y() + 0.5) * upp});
}

// The ground is drawn again for a new home, zoom or unit, and for a new size or pixel ratio.
const QPixmap& DiscMap::Ground() const {
    const QSize pixels = (QSizeF(size()) * devicePixelRatioF()).toSize();
    if (!groundValid_ || ground_.size() != pixels) {
        DrawGround();
    }
    return ground_;
}

// The world picture pixel by pixel, then the lines and the graticule, at the screen's own pixels.
void DiscMap::DrawGround() const {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (world_.isNull()) {
        world_ = Picture("monde.jpg");
        if (world_.isNull()) {
            world_ = Picture("carte.jpg");
        }
        world_ = world_.convertToFormat(QImage::Format_RGB32);
        lines_ = std::make_unique<std::vector<Polyline>>(WorldLines());
    }
    QImage image(pixels, QImage::Format_RGB32);
    if (!image.isNull() && !world_.isNull()) {
        const double upp = UnitsPerPixel() / ratio;
        const geodesy::PlanePoint origin = Origin();
        geodesy::DrawAzimuthalPicture(*projection_, origin, upp, image.width(), image.height(),
                                      {reinterpret_cast<const std::uint32_t*>(world_.constBits()),
                                       world_.width(), world_.height()},
                                      kOutside.rgb(),
                                      reinterpret_cast<std::uint32_t*>(image.bits()));
    }
    image.setDevicePixelRatio(ratio);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        DrawLines(painter);
        DrawGraticule(painter);
    }
    ground_ = QPixmap::fromImage(std::move(image));
    ground_.setDevicePixelRatio(ratio);
    groundValid_ = true;
    ++groundsDrawn_;
}

// Coastlines and borders through the projection; a line is broken where it jumps across the
// rim (near home's antipode two neighbouring points may lie on opposite sides of the disc).
void DiscMap::DrawLines(QPainter& painter) const {
    if (!lines_) {
        return;
    }
    const double upp = UnitsPerPixel();
    const geodesy::PlanePoint origin = Origin();
    const double tear = std::min(width(), height()) / 4.0;
    const QRectF view = QRectF(rect()).adjusted(-tear, -tear, tear, tear);
    QPen coast(kCoast, 1.0);
    QPen border(kBorder, 0.8, Qt::DashLine);
    std::vector<QPointF> stroke;
    const auto flush = [&] {
        if (stroke.size() > 1) {
            painter.drawPolyline(stroke.data(), static_cast<int>(stroke.size()));
        }
        stroke.clear();
    };
    for (const Polyline& line : *lines_) {
        painter.setPen(line.kind == LineKind::Coast ? coast : border);
        std::optional<QPointF> before;
        for (const geodesy::GeoPoint& point : line.points) {
            const std::optional<geodesy::PlanePoint> place = projection_->Forward(point);
            if (!place) {
                flush();
                before.reset();
                continue;
            }
            const QPointF at((place->x - origin.x) / upp, (place->y - origin.y) / upp);
            if (before) {
                const QPointF step = at - *before;
                const bool torn = std::abs(step.x()) + std::abs(step.y()) > tear;
                const bool away = !view.contains(at) && !view.contains(*before);
                if (torn || away) {
                    flush();
                }
            }
            if (view.contains(at) || (before && view.contains(*before))) {
                if (stroke.empty() && before && view.contains(*before)) {
                    stroke.push_back(*before);
                }
                stroke.push_back(at);
            } else {
                flush();
            }
            before = at;
        }
        flush();
    }
}

// Range rings at the spacing that suits the zoom, labelled along the course 45 degrees; bearing
// lines every 30 degrees, labelled at the edge; the rim, home's antipode.
void DiscMap::DrawGraticule(QPainter& painter) const {
    const double upp = UnitsPerPixel();
    const QPointF centre(width() / 2.0, height() / 2.0);
    const double rim = geodesy::AzimuthalEquidistant::kRimKm / upp;
    const double edge = std::min(width(), height()) / 2.0 - kMargin;
    const double reach = std::min(rim, std::hypot(width(), height()) / 2.0);
    painter.setFont(UiFont(8.25, true));

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRing, 1.0, Qt::DotLine));
    for (int degrees = 0; degrees < 360; degrees += 30) {
        const double a = degrees * std::numbers::pi / 180.0;
        const QPointF dir(std::sin(a), -std::cos(a));
        painter.drawLine(centre + dir * 8.0, centre + dir * reach);
    }
    const double spacing = RingSpacingKm();
    const double perUnit = KmPerUnit(unit_);
    painter.setPen(QPen(kRing, 1.0));
    for (int n = 1;; ++n) {
        const double km = n * spacing;
        const double r = km / upp;
        if (r >= rim - kRimGap || r > reach) {
            break;
        }
        painter.drawEllipse(centre, r, r);
    }
    painter.setPen(QPen(QColor(255, 255, 255, 220), 1.5));
    painter.drawEllipse(centre, rim, rim);  // the antipode

    for (int n = 1;; ++n) {
        const double km = n * spacing;
        const double r = km / upp;
        if (r >= rim - kRimGap || r > edge - 6.0) {
            break;
        }
        const double a = 45.0 * std::numbers::pi / 180.0;
        DrawLabel(painter, centre + QPointF(std::sin(a), -std::cos(a)) * r,
                  QString::number(std::lround(km / perUnit)), kRingLabel);
    }
    const double labelAt = std::min(rim, edge) - 10.0;
    for (int degrees = 0; degrees < 360; degrees += 30) {
        const double a = degrees * std::numbers::pi / 180.0;
        DrawLabel(painter, centre + QPointF(std::sin(a), -std::cos(a)) * labelAt,
                  BearingLabel(degrees), Qt::white);
    }
    if (rim < edge + kMargin) {
        DrawLabel(painter, centre + QPointF(0.0, rim - 26.0),
                  QCoreApplication::translate("DiscMap", "antipode"), QColor(255, 220, 220));
    }
}

void DiscMap::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRegion& region = event->region();
    painter.setClipRegion(region);
    if (!GroundCovered()) {
        painter.drawPixmap(0, 0, Ground());
    }
    PaintLayers(painter, LayerLevel::Ground, region);
    PaintLayers(painter, LayerLevel::UnderDots, region);
    PaintLayers(painter, LayerLevel::Top, region);
}

void DiscMap::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0.0) {
        Zoom(notches);
    }
    event->accept();
}

void DiscMap::mousePressEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() == Qt::LeftButton && clicked) {
        clicked(global);
    } else if (event->button() == Qt::RightButton && menuAsked) {
        menuAsked(global);
    }
    event->accept();
}

void DiscMap::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        SetRadiusKm(kWorldRadiusKm);
    }
    event->accept();
}

void DiscMap::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Home:
            SetRadiusKm(kWorldRadiusKm);
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            Zoom(1.0);
            break;
        case Qt::Key_Minus:
            Zoom(-1.0);
            break;
        case Qt::Key_F11:
            window()->setWindowState(window()->windowState() ^ Qt::WindowFullScreen);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void DiscMap::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (left) {
        left();
    }
}

}  // namespace orbida::ui
