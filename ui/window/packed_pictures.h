#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <span>
#include <string_view>

namespace orbida::ui {

// A picture decoded at build time (ui/pack/pack_pictures.cpp): its pixels live in the program's
// read-only data, so showing it costs no decoder and no copy.
struct PackedPicture {
    const char* name;  // as in ui/resources, "carte.jpg", "icon@2x.png"
    const unsigned char* pixels;
    int width;
    int height;
    int bytesPerLine;
    int format;  // a QImage::Format
    int ratio;   // device pixel ratio it is drawn for
};

// Every packed picture (written by the build).
std::span<const PackedPicture> PackedPictures();

// The picture of that name in ui/resources: the packed pixels when it was packed (no copy: the
// image must not be painted on), else read from the program's resources. Null when neither.
QImage Picture(std::string_view name);
QPixmap PicturePixmap(std::string_view name);
// An icon of the picture and, when there is one, its "@2x" variant.
QIcon PictureIcon(std::string_view name);

}  // namespace orbida::ui
