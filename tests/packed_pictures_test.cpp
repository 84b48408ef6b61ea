// The pictures decoded at build time are those of ui/resources, pixel for pixel and at their pixel
// ratio; a picture left unpacked still comes from the resources, and an icon carries its "@2x"
// variant.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "geodesy/projection.h"
#include "ui/window/packed_pictures.h"

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
        {"monde.jpg", false},     // the world picture, read only by a map that reprojects it
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

// The map's own geography lies where the readouts name it: four straight borders of the picture
// (Alaska and Yukon on 141° W, Canada and the United States on 49° N, Egypt and Libya on 25° E,
// Egypt and Sudan on 22° N) are found on each row or column that crosses them as the darkest
// pixel near where they must be, and that pixel's centre, read through the map's projection at
// the control's size, names the border within half a pixel. A picture that does not fill the
// control drifts by up to 1.4° at the right edge.
TEST(PackedPictures, MapShowsTheGeographyTheReadoutsName) {
    const struct {
        bool meridian;   // a border along a meridian (found on each row) or along a parallel
        double degrees;  // its longitude (west positive) or latitude
        double from,
            to;  // the stretch crossed: latitudes for a meridian, longitudes for a parallel
    } borders[] = {
        {true, 141.0, 61.0, 69.0},
        {false, 49.0, 100.0, 120.0},
        {true, -25.0, 23.0, 29.0},
        {false, 22.0, -31.0, -26.0},
    };
    for (const int scale : {1, 2}) {
        const QImage map = scale == 1 ? Picture("carte.jpg")
                                      : QImage(QStringLiteral(ORBIDA_RESOURCES "/carte@2x.jpg"));
        ASSERT_EQ(map.size(), QSize(642 * scale, 321 * scale));
        const double tpp = 15.0 / scale;
        const auto pixelOf = [&](double twips) { return static_cast<int>(twips / tpp); };
        for (const auto& b : borders) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << ", border " << b.degrees);
            const geodesy::GeoPoint on =
                b.meridian ? geodesy::GeoPoint{0.0, b.degrees} : geodesy::GeoPoint{b.degrees, 0.0};
            const geodesy::MapPosition at = geodesy::DegreesToMap(on, 9630.0f, 4815.0f);
            const int expected = pixelOf(b.meridian ? at.x : at.y);
            std::vector<int> found;
            for (double d = b.from; d <= b.to; d += 0.25 / scale) {
                const geodesy::GeoPoint along =
                    b.meridian ? geodesy::GeoPoint{d, 0.0} : geodesy::GeoPoint{0.0, d};
                const geodesy::MapPosition a = geodesy::DegreesToMap(along, 9630.0f, 4815.0f);
                const int line = pixelOf(b.meridian ? a.y : a.x);
                int darkest = expected;
                for (int p = expected - 4 * scale; p <= expected + 4 * scale; ++p) {
                    const auto grey = [&](int q) {
                        return qGray(b.meridian ? map.pixel(q, line) : map.pixel(line, q));
                    };
                    if (grey(p) < grey(darkest)) {
                        darkest = p;
                    }
                }
                found.push_back(darkest);
            }
            std::ranges::sort(found);
            const double centre = (found[found.size() / 2] + 0.5) * tpp;
            const geodesy::GeoPoint named = geodesy::MapToDegrees(
                b.meridian ? geodesy::MapPosition{centre, 0.0} : geodesy::MapPosition{0.0, centre},
                9630.0f, 4815.0f);
            const double halfPixel = 90.0 / 321.0 / scale;  // degrees, alike in both directions
            EXPECT_NEAR(b.meridian ? named.longitude : named.latitude, b.degrees, halfPixel + 0.01);
        }
    }
}

}  // namespace
}  // namespace orbida::ui
