// The grey line on its own, at the winter solstice, 12:00 UTC: the sun over the Gulf of Guinea,
// the night over the Pacific and the Arctic.
#include <QLineEdit>
#include <QTest>
#include <chrono>

#include "fake_part_host.h"
#include "ui/map/grey_line_layer.h"
#include "ui/parts/grey_line_part.h"

namespace orbida::ui {
namespace {

class GreyLinePartTest : public ::testing::Test {
  protected:
    GreyLinePartTest() {
        using namespace std::chrono;
        host.fake.now = WallTime{sys_days{2026y / 12 / 21} + hours{12} + seconds{30}};
        host.Add(part);
    }
    // The map's pixels, one for each device pixel.
    QImage MapImage() { return host.map->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    testing::FakePartHost host;
    GreyLinePart part;
};

TEST_F(GreyLinePartTest, ShadesTheNightSideAndFollowsTheClock) {
    EXPECT_FALSE(part.GreyLine());
    EXPECT_EQ(host.MenuTexts(MenuPlace::GreyLine), QStringList{"Ligne grise"});
    const QImage off = MapImage();
    host.Entry(QStringLiteral("Ligne grise"))->trigger();
    ASSERT_TRUE(part.GreyLine());
    const QImage on = MapImage();
    ASSERT_EQ(off.size(), on.size());
    // Points on the map (device-independent pixels): darker with the grey line on, or unchanged.
    // The Pacific at midnight, Tokyo at night, the Gulf of Guinea at noon, Brazil in the morning.
    const std::pair<QPoint, bool> cases[] = {
        {{20, 160}, true}, {{570, 97}, true}, {{321, 172}, false}, {{220, 200}, false}};
    for (const auto& [pixel, night] : cases) {
        int darker = 0, same = 0;
        for (int dy = 0; dy < 3; ++dy) {
            for (int dx = 0; dx < 3; ++dx) {
                const QPoint p = (pixel + QPoint(dx, dy)) * off.devicePixelRatio();
                darker += qGray(on.pixel(p)) < qGray(off.pixel(p)) ? 1 : 0;
                same += off.pixel(p) == on.pixel(p) ? 1 : 0;
            }
        }
        EXPECT_EQ(night ? darker : same, 9) << pixel.x() << ", " << pixel.y();
    }

    // The shading is brought up to date at the turn of each minute, by a timer aimed at it
    // (12:00:30 now: the next one in 30 seconds), and at once when the wall clock has jumped
    // (sleep, clock set) by the time the window is activated.
    EXPECT_TRUE(part.SunTimer().isActive() && part.SunTimer().isSingleShot());
    EXPECT_GE(part.SunTimer().interval(), 30000);
    EXPECT_LE(part.SunTimer().interval(), 30200);
    ASSERT_TRUE(part.Layer().Sun());
    const double noonLongitude = part.Layer().Sun()->subsolar.longitude;
    // With no timer fired: the machine slept six hours, then the clock was set back.
    for (const auto& [jump, turned] : {std::pair{6, 90.0}, std::pair{-6, 0.0}}) {
        host.fake.now += std::chrono::hours{jump};
        part.WindowActivated();
        ASSERT_TRUE(part.Layer().Sun());
        EXPECT_NEAR(part.Layer().Sun()->subsolar.longitude, noonLongitude + turned, 0.1) << jump;
        EXPECT_GE(part.SunTimer().interval(), 30000);
    }
    part.SetGreyLine(false);
    EXPECT_FALSE(part.SunTimer().isActive());
    EXPECT_EQ(MapImage(), off);
}

// Sunrise and sunset for home (once there is one) and for the point measured, shown only while
// the grey line is on; Ctrl+G turns it on and off from any control of the window.
TEST_F(GreyLinePartTest, SunriseAndSunsetTexts) {
    host.reference.citySelected = false;  // no home chosen yet
    auto* box = new QLineEdit(&host.window);
    host.window.show();
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
    host.Tick({342, 233});  // over the map, near 0 N 0 E
    EXPECT_EQ(host.Shown("LblSoleilVille") + host.Shown("LblSoleilCible"), "");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_G, Qt::ControlModifier);
    ASSERT_TRUE(part.GreyLine());
    // The home, the pixel measured (empty: none, off the map), and the two texts.
    const std::tuple<bool, QPoint, const char*, const char*> steps[] = {
        {false, {342, 233}, "", "Cible : Lever 05:57 UTC · Coucher 18:04 UTC"},
        {true,
         {342, 233},
         "Domicile : Lever 07:41 UTC · Coucher 15:56 UTC",
         "Cible : Lever 05:57 UTC · Coucher 18:04 UTC"},
        {true,
         {342, 90},
         "Domicile : Lever 07:41 UTC · Coucher 15:56 UTC",
         "Cible : Nuit polaire"},  // the Arctic in December
        {true, testing::kBelowTheMap, "Domicile : Lever 07:41 UTC · Coucher 15:56 UTC", ""},
    };
    for (const auto& [home, pixel, homeText, targetText] : steps) {
        SCOPED_TRACE(targetText);
        if (home && !host.reference.citySelected) {
            host.SetHomeAt(testing::kParis);
            part.HomeChanged(QStringLiteral("Paris"));
        }
        host.Tick(pixel);
        EXPECT_EQ(host.Shown("LblSoleilVille"), QString::fromUtf8(homeText));
        EXPECT_EQ(host.Shown("LblSoleilCible"), QString::fromUtf8(targetText));
    }
    QTest::keyClick(box, Qt::Key_G, Qt::ControlModifier);
    EXPECT_FALSE(part.GreyLine());
    EXPECT_EQ(host.Shown("LblSoleilVille"), "");
}

}  // namespace
}  // namespace orbida::ui
