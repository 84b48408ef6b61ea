// The pictures decoded at build time are those of ui/resources, pixel for pixel and at their pixel
// ratio; a picture left unpacked still comes from the resources, and an icon carries its "@2x"
// variant.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <algorithm>
#include <string_view>

#include "ui/packed_pictures.h"

namespace orbida::ui {
namespace {

TEST(PackedPictures, AreTheResourcePictures) {
    const struct {
        const char* name;
        bool packed;
    } cases[] = {
        {"carte.jpg", true},     {"icon.png", true},     {"icon@2x.png", true},
        {"hand@2x.png", true},   {"minimise.png", true}, {"quitte@2x.png", true},
        {"carte@2x.jpg", false},  // the sharp map, read only on a screen that needs it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QImage source(QStringLiteral(ORBIDA_RESOURCES "/") + QLatin1String(c.name));
        ASSERT_FALSE(source.isNull());
        source = source.convertToFormat(
            source.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        const QImage picture = Picture(c.name);
        EXPECT_EQ(picture.convertToFormat(source.format()), source);
        EXPECT_EQ(picture.devicePixelRatio(),
                  std::string_view(c.name).find("@2x.") != std::string_view::npos ? 2.0 : 1.0);
        EXPECT_EQ(std::ranges::any_of(PackedPictures(),
                                      [&](const PackedPicture& p) {
                                          return std::string_view(p.name) == c.name &&
                                                 p.pixels == picture.constBits();
                                      }),
                  c.packed);
    }
    EXPECT_TRUE(Picture("absente.png").isNull());

    // Both sizes of an icon: the 13-pixel glyph and its 26-pixel variant.
    const QIcon quitte = PictureIcon("quitte.png");
    EXPECT_EQ(quitte.pixmap(QSize(13, 13), 1.0).size(), QSize(13, 13));
    EXPECT_EQ(quitte.pixmap(QSize(13, 13), 2.0).size(), QSize(26, 26));
}

}  // namespace
}  // namespace orbida::ui
