// The azimuthal map: its pixels against GeographicLib's projection, the ground drawn only when it
// must be, the zoom's bounds, the grey line through it, and its window as a target for the main
// window's readouts.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <chrono>
#include <cmath>
#include <numbers>

#include "form_fixture.h"
#include "geodesy/sun.h"
#include "ui/map/disc_map.h"
#include "ui/map/grey_line_layer.h"
#include "ui/map/route_layers.h"
#include "ui/parts/azimuthal_part.h"
#include "ui/parts/remembered.h"
#include "ui/parts/settings_store.h"

namespace orbida::testing {
namespace {

using geodesy::GeoPoint;
using ui::DiscMap;

// `GeodesicProj -z 48.8566 2.3522 -e 6371007.067746164 0`: places seen from Paris, in km east and
// north (the map's y runs south).
struct FromParis {
    GeoPoint place;
    double east;
    double north;
};
constexpr FromParis kFromParis[] = {
    {{40.7143, 74.0060}, -5419.884, 2167.293},     // New York: 291.8 °, 5,837 km
    {{-33.8678, -151.2073}, 15788.447, 6194.907},  // Sydney
    {{90.0, 0.0}, 0.0, 4574.942},                  // the North Pole
    {{35.68, -139.69}, 5352.379, 8105.159},        // Tokyo
};
constexpr GeoPoint kParis{48.8566, -2.3522};

// Each place lies at the pixel its projected kilometres give, within a pixel, whatever the size,
// the zoom and the screen's pixel ratio; the pixel reads back as the place within a pixel's
// kilometres; beyond the rim is no place.
TEST(DiscMapTest, PixelsAndPlacesAgreeWithGeodesicProj) {
    const struct {
        QSize size;
        double radiusKm;
    } views[] = {{{600, 600}, DiscMap::kWorldRadiusKm},
                 {{1000, 700}, DiscMap::kWorldRadiusKm},
                 {{600, 600}, 9000.0}};
    for (const auto& view : views) {
        DiscMap map;
        map.resize(view.size);
        map.SetCentre(kParis);
        map.SetRadiusKm(view.radiusKm);
        const double upp = map.UnitsPerPixel();
        EXPECT_NEAR(upp, view.radiusKm / (std::min(view.size.width(), view.size.height()) / 2 - 4),
                    1e-9);
        EXPECT_EQ(*map.PixelOf(kParis), QPoint(view.size.width() / 2, view.size.height() / 2));
        for (const FromParis& p : kFromParis) {
            SCOPED_TRACE(p.place.latitude);
            const QPoint at = *map.PixelOf(p.place);
            EXPECT_NEAR(at.x() + 0.5, view.size.width() / 2.0 + p.east / upp, 1.0);
            EXPECT_NEAR(at.y() + 0.5, view.size.height() / 2.0 - p.north / upp, 1.0);
            if (map.rect().contains(at)) {
                const GeoPoint back = *map.PlaceAt(at);
                const auto plane = map.Projection().Forward(back);
                EXPECT_NEAR(plane->x, p.east, upp);
                EXPECT_NEAR(plane->y, -p.north, upp);
            }
        }
        if (view.radiusKm == DiscMap::kWorldRadiusKm) {
            EXPECT_FALSE(map.PlaceAt({0, 0}).has_value());  // a corner, beyond the rim
        }
        EXPECT_FALSE(map.PlaceAt({-1, 300}).has_value());  // off the widget
    }
}

// The world is drawn again for a new home, zoom, size or unit, and never for what moves over it.
TEST(DiscMapTest, GroundDrawnOnlyWhenItChanges) {
    DiscMap map;
    map.resize(300, 300);
    map.SetCentre(kParis);
    ui::BearingLayer lines;
    map.AddLayer(&lines);
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"first", [] {}},
        {"",
         [&] {
             lines.SetLines({{kParis, 291.5, 5837.0, Qt::red}});
         }},
        {"", [&] { map.SetCentre(kParis); }},
        {"home",
         [&] {
             map.SetCentre({35.68, -139.69});
         }},
        {"zoom", [&] { map.Zoom(1.0); }},
        {"size", [&] { map.resize(320, 300); }},
        {"unit", [&] { map.SetUnit(tracking::DistanceUnit::NauticalMiles); }},
        {"", [&] { map.SetUnit(tracking::DistanceUnit::NauticalMiles); }},
    };
    int drawn = 0;
    for (const auto& [redraws, step] : steps) {
        step();
        (void)map.grab();
        drawn += *redraws != '\0';
        EXPECT_EQ(map.GroundsDrawn(), drawn) << redraws;
    }
}

// The wheel, the keys and a double click zoom between the whole world and a 500 km radius; the
// rings' spacing suits the radius and the unit.
TEST(DiscMapTest, ZoomBoundsAndRings) {
    DiscMap map;
    map.resize(400, 400);
    const auto wheel = [&](int notches) {
        for (int i = 0; i < std::abs(notches); ++i) {
            QWheelEvent event({200, 200}, map.mapToGlobal(QPointF(200, 200)), {},
                              {0, notches > 0 ? 120 : -120}, Qt::NoButton, {}, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(&map, &event);
        }
    };
    const struct {
        const char* what;
        std::function<void()> act;
        double radiusKm;
        double ringKm;
    } steps[] = {
        {"start", [] {}, DiscMap::kWorldRadiusKm, 5000.0},
        {"out", [&] { wheel(-3); }, DiscMap::kWorldRadiusKm, 5000.0},
        {"in", [&] { wheel(3); }, DiscMap::kWorldRadiusKm / std::pow(1.25, 3), 2500.0},
        {"deep", [&] { wheel(40); }, DiscMap::kMinRadiusKm, 100.0},
        {"home", [&] { QTest::keyClick(&map, Qt::Key_Home); }, DiscMap::kWorldRadiusKm, 5000.0},
        {"plus", [&] { QTest::keyClick(&map, Qt::Key_Plus); }, DiscMap::kWorldRadiusKm / 1.25,
         5000.0},
        {"double", [&] { QTest::mouseDClick(&map, Qt::LeftButton); }, DiscMap::kWorldRadiusKm,
         5000.0},
        {"miles",
         [&] { map.SetRadiusKm(4000.0), map.SetUnit(tracking::DistanceUnit::StatuteMiles); },
         4000.0, 500.0 * 1.609344},
        {"nan", [&] { map.SetRadiusKm(std::nan("")); }, DiscMap::kWorldRadiusKm, 2500.0 * 1.609344},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_NEAR(map.RadiusKm(), step.radiusKm, 1e-6) << step.what;
        EXPECT_NEAR(map.RingSpacingKm(), step.ringKm, 1e-9) << step.what;
    }
}

// The grey line shades the disc from the same sun as the flat map: at the winter solstice's noon
// the North Pole, 4,575 km north of Paris, is in the night and Paris in the day.
TEST(DiscMapTest, GreyLineShadesTheDisc) {
    DiscMap map;
    map.resize(400, 400);
    map.SetCentre(kParis);
    map.SetRadiusKm(6000.0);
    const QImage day = map.grab().toImage();
    ui::GreyLineLayer grey;
    grey.SetSun(geodesy::SunAt(std::chrono::sys_days{std::chrono::year{2026} / 12 / 21} +
                               std::chrono::hours{12}));
    map.AddLayer(&grey);
    const QImage shaded = map.grab().toImage();
    const auto brightness = [](const QImage& image, QPoint p) {
        const QColor c = image.pixelColor((QPointF(p) * image.devicePixelRatio()).toPoint());
        return c.red() + c.green() + c.blue();
    };
    const QPoint pole = *map.PixelOf({90.0, 0.0}) + QPoint(3, 3);
    const QPoint paris = *map.PixelOf(kParis) + QPoint(8, 8);
    EXPECT_LT(brightness(shaded, pole), brightness(day, pole) / 2);
    EXPECT_EQ(brightness(shaded, paris), brightness(day, paris));
    // The shaded picture goes with the map that showed it.
    EXPECT_EQ(grey.Kept(), 1u);
    map.RemoveLayer(&grey);
    EXPECT_EQ(grey.Kept(), 0u);
}

// A line along a course is drawn in one stroke where the map keeps it whole, and torn where the
// map tears it: at the flat map's antimeridian; the disc keeps every line from its centre whole.
TEST(BearingLinesTest, StrokesBreakWhereTheMapTears) {
    ui::MapWidget flat;
    flat.resize(642, 321);
    DiscMap disc;
    disc.resize(600, 600);
    disc.SetCentre(kParis);
    const struct {
        const ui::MapView* view;
        ui::BearingLine line;
        std::size_t strokes;
    } cases[] = {
        {&flat, {kParis, 291.8, 5837.0, Qt::red}, 1},
        {&flat, {{0.0, -170.0}, 90.0, 3000.0, Qt::red}, 2},  // eastward across 180
        {&flat, {kParis, 0.0, 0.0, Qt::red}, 0},
        {&disc, {kParis, 291.8, 5837.0, Qt::red}, 1},
        {&disc, {kParis, 111.8, geodesy::AzimuthalEquidistant::kRimKm, Qt::red}, 1},
        {&disc, {kParis, std::nan(""), 100.0, Qt::red}, 0},
    };
    for (const auto& c : cases) {
        const auto strokes = ui::LineStrokes(*c.view, c.line);
        EXPECT_EQ(strokes.size(), c.strokes) << c.line.from.longitude << " " << c.line.course;
        for (const auto& stroke : strokes) {
            for (std::size_t i = 1; i < stroke.size(); ++i) {
                const QPoint step = stroke[i] - stroke[i - 1];
                EXPECT_LT(step.manhattanLength(), 100);
            }
        }
    }
}

class AzimuthalWindowTest : public FormTest {
  protected:
    ui::AzimuthalPart* Part() { return form.Find<ui::AzimuthalPart>(); }
    // The pointer resting on a pixel of the disc.
    void PointAtDisc(QPoint p) {
        fake.pointer = Part()->Map()->mapToGlobal(p);
        form.TickAt(fake.pointer);
    }
};

// Opened by its shortcut, the disc centred on home is a target like the flat map: New York's
// pixel reads 292 ° and 5837 Kms within a pixel's worth, its locator FN20; a click pins it, a
// second releases it; closing it unchecks its entry.
TEST_F(AzimuthalWindowTest, PointerOnTheDiscIsTheTarget) {
    ShowActive();
    Type(QStringLiteral("Paris"));
    EXPECT_EQ(Part()->Map(), nullptr);  // nothing of it before it is opened
    // Typed in the city box, the shortcut opens the window and leaves the text alone.
    QTest::keyClick(Combo()->lineEdit(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Combo()->currentText(), QStringLiteral("Paris"));
    ASSERT_NE(Part()->Map(), nullptr);
    QWidget* window = Part()->Window();
    window->move(form.frameGeometry().right() + 40, 0);  // beside the main window
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    DiscMap* disc = Part()->Map();
    const double upp = disc->UnitsPerPixel();
    const QPoint newYork(static_cast<int>(disc->width() / 2.0 + kFromParis[0].east / upp),
                         static_cast<int>(disc->height() / 2.0 - kFromParis[0].north / upp));
    PointAtDisc(newYork);
    const double perPixelDegrees = upp / 5837.0 * 180.0 / std::numbers::pi;
    // The dial shows whole degrees, the next one up (291.53 ° reads 292 °).
    EXPECT_NEAR(Text("LblAzimut").section(' ', 0, 0).toDouble(), 291.8, perPixelDegrees + 1.0);
    const double km =
        Text("LblDistance").section(QStringLiteral("à "), 1).section(' ', 0, 0).toDouble();
    EXPECT_NEAR(km, 5837.0, 1.5 * upp);
    ASSERT_EQ(Part()->Lines().Lines().size(), 1u);
    EXPECT_NEAR(Part()->Lines().Lines()[0].course, 291.8, perPixelDegrees + 0.1);
    // With the long route, the long path too: the other way from home, out to the rim.
    QTest::keyClick(&form, Qt::Key_L, Qt::ControlModifier);
    PointAtDisc(newYork);
    ASSERT_EQ(Part()->Lines().Lines().size(), 2u);
    EXPECT_NEAR(Part()->Lines().Lines()[1].course, Part()->Lines().Lines()[0].course - 180.0, 1e-9);
    EXPECT_NEAR(Part()->Lines().Lines()[1].km, geodesy::AzimuthalEquidistant::kRimKm, 1e-9);

    Part()->Map()->clicked(disc->mapToGlobal(newYork));
    ASSERT_TRUE(form.Pinned().place.has_value());
    EXPECT_NEAR(form.Pinned().place->latitude, 40.71, 1.0);
    PointAtDisc({5, 5});  // off the disc: the pinned place stays measured
    EXPECT_NEAR(km,
                Text("LblDistance").section(QStringLiteral("à "), 1).section(' ', 0, 0).toDouble(),
                1.0);
    Part()->Map()->clicked(disc->mapToGlobal(newYork));
    EXPECT_FALSE(form.Pinned().Any());

    window->close();
    EXPECT_FALSE(Part()->IsOpen());
    const QList<QAction*> actions = form.MapMenu()->actions();
    const auto entry = std::find_if(actions.begin(), actions.end(), [](QAction* a) {
        return a->text().startsWith(QStringLiteral("Carte azimutale"));
    });
    ASSERT_NE(entry, actions.end());
    EXPECT_FALSE((*entry)->isChecked());
}

// Whether the window was open and where it stood are read back; anything damaged reads as not
// set.
TEST(DiscWindowSettingsTest, ReadBack) {
    const struct {
        const char* open;
        QStringList geometry;
        bool readOpen;
        std::optional<QRect> readGeometry;
    } cases[] = {
        {"true", {"10", "20", "600", "500"}, true, QRect(10, 20, 600, 500)},
        {"false", {"-50", "0", "200", "20000"}, false, QRect(-50, 0, 200, 20000)},
        {"yes", {"10", "20", "199", "500"}, false, std::nullopt},
        {"true", {"2000000", "0", "600", "500"}, true, std::nullopt},
    };
    const QTemporaryDir folder;
    for (const auto& c : cases) {
        ui::SettingsStore store(folder.filePath(QStringLiteral("orbida.conf")),
                                ui::RememberedKeys(), ui::SettingsStore::Start::Forget);
        store.SetValue(QStringLiteral("azimuthal/open"), QString::fromLatin1(c.open));
        store.SetValue(QStringLiteral("azimuthal/geometry"), c.geometry);
        const ui::DiscWindowState state = ui::ReadDiscWindow(store);
        EXPECT_EQ(state.open, c.readOpen) << c.open;
        EXPECT_EQ(state.geometry, c.readGeometry) << c.geometry.join(',').toStdString();
    }
}

}  // namespace
}  // namespace orbida::testing
