#include "ui/window/packed_pictures.h"

#include <string>

namespace orbida::ui {

QImage Picture(std::string_view name) {
    for (const PackedPicture& p : PackedPictures()) {
        if (name == p.name) {
            QImage image(p.pixels, p.width, p.height, p.bytesPerLine,
                         static_cast<QImage::Format>(p.format));
            image.setDevicePixelRatio(p.ratio);
            return image;
        }
    }
    return QImage(QStringLiteral(":/orbida/") +
                  QLatin1String(name.data(), static_cast<qsizetype>(name.size())));
}

QPixmap PicturePixmap(std::string_view name) {
    return QPixmap::fromImage(Picture(name));
}

QIcon PictureIcon(std::string_view name) {
    QIcon icon(PicturePixmap(name));
    const std::string::size_type dot = name.rfind('.');
    std::string sharp(name.substr(0, dot));
    sharp += "@2x";
    sharp += name.substr(dot == std::string_view::npos ? name.size() : dot);
    const QPixmap larger = PicturePixmap(sharp);
    if (!larger.isNull()) {
        icon.addPixmap(larger);
    }
    return icon;
}

}  // namespace orbida::ui
