#include "ui/map/grey_line_layer.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "geodesy/night_mask.h"

namespace orbida::ui {
namespace {

constexpr int kSunMark = 13;  // pixels, the sun mark's side
// The night is a deep blue laid over the map: darker than the day, the borders still showing.
constexpr int kNightRed = 4;
constexpr int kNightGreen = 8;
constexpr int kNightBlue = 40;

// The sun mark: a yellow disc with short rays, outlined so that it shows on land and sea alike.
QPixmap SunSprite(qreal ratio) {
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

}  // namespace

void GreyLineLayer::SetSun(std::optional<geodesy::SunPosition> sun) {
    sun_ = sun;
    shaded_.clear();
    RepaintAll();
}

QRect GreyLineLayer::SunMarkRect(const MapView& view) const {
    const std::optional<QPoint> at = sun_ ? view.PixelOf(sun_->subsolar) : std::nullopt;
    if (!at) {
        return {};
    }
    return QRect(at->x() - kSunMark / 2, at->y() - kSunMark / 2, kSunMark, kSunMark);
}

QRegion GreyLineLayer::Area(const MapView& view) const {
    (void)view;
    return sun_ ? QRegion(-100000, -100000, 200000, 200000) : QRegion();
}

// Each pixel of the ground mixed with the night colour by its shade; the mask is placed with the
// map's own projection at the picture's resolution.
const QPixmap& GreyLineLayer::ShadedGround(const MapView& view) {
    const QPixmap& ground = view.Ground();
    auto cached = std::find_if(shaded_.begin(), shaded_.end(),
                               [&](const Shaded& s) { return s.view == &view; });
    if (cached != shaded_.end() && cached->ground == ground.cacheKey()) {
        return cached->picture;
    }
    QImage image = ground.toImage().convertToFormat(QImage::Format_RGB32);
    const double ratio = ground.devicePixelRatio();
    const geodesy::NightMask mask =
        geodesy::BuildNightMask(*sun_, image.width(), image.height(), view.Projection(),
                                view.Origin(), view.UnitsPerPixel() / ratio);
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
    QPixmap picture = QPixmap::fromImage(image);
    picture.setDevicePixelRatio(ratio);
    if (cached == shaded_.end()) {
        shaded_.push_back({&view, ground.cacheKey(), picture});
        return shaded_.back().picture;
    }
    cached->ground = ground.cacheKey();
    cached->picture = picture;
    return cached->picture;
}

void GreyLineLayer::Forget(const MapView& view) {
    std::erase_if(shaded_, [&](const Shaded& s) { return s.view == &view; });
}

void GreyLineLayer::Paint(QPainter& painter, const MapView& view, const QRegion& region) {
    if (!sun_) {
        return;
    }
    painter.drawPixmap(0, 0, ShadedGround(view));
    const qreal ratio = painter.device()->devicePixelRatioF();
    if (sunSprite_.isNull() || sunSprite_.devicePixelRatio() != ratio) {
        sunSprite_ = SunSprite(ratio);
    }
    const QRect mark = SunMarkRect(view);
    if (!mark.isEmpty() && region.intersects(mark)) {
        painter.drawPixmap(mark.topLeft(), sunSprite_);
    }
}

}  // namespace orbida::ui
