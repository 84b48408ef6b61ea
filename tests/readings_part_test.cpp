// The readings on their own: the long path, the measured point's locator, the unit of distances
// and the long route, with their menu entries and shortcuts.
#include <QLineEdit>
#include <QTest>

#include "fake_part_host.h"
#include "ui/map/route_layers.h"
#include "ui/parts/readings_part.h"

namespace orbida::ui {
namespace {

using testing::kOverNewYork;
using tracking::DistanceUnit;

class ReadingsPartTest : public ::testing::Test {
  protected:
    ReadingsPartTest() { host.Add(part); }

    testing::FakePartHost host;  // home in Paris
    ReadingsPart part;
};

// The long path and the locator follow the point measured, in the unit Ctrl+M chooses; Ctrl+L
// draws the long route. The shortcuts reach the part whichever control of the window has the
// focus, and each change asks for the frame again.
TEST_F(ReadingsPartTest, LongPathLocatorAndUnits) {
    EXPECT_EQ(host.MenuTexts(MenuPlace::LongRoute), QStringList{"Long chemin"});
    EXPECT_EQ(host.MenuTexts(MenuPlace::Units), QStringList{"Unités"});
    auto* box = new QLineEdit(&host.window);
    host.window.show();
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
    box->setFocus();
    host.Tick(kOverNewYork);
    EXPECT_EQ(host.Shown("LblLocatCurseur"), "Loc: FN20XL");
    EXPECT_EQ(host.Shown("LblLongChemin"), "LP: 112 °  34175  Kms");
    // The long needle points the other way round: east-south-east.
    EXPECT_TRUE(host.dial->LongNeedleVisible());
    EXPECT_GT(host.dial->LongNeedleX2(), 2040.0f + 250.0f);
    EXPECT_GT(host.dial->LongNeedleY2(), 580.0f);
    // The key, the unit and long route then, and the long path's text.
    const std::tuple<Qt::Key, DistanceUnit, bool, const char*, const char*> steps[] = {
        {Qt::Key_M, DistanceUnit::StatuteMiles, false, "LP: 112 °  21235  Miles", "Miles"},
        {Qt::Key_M, DistanceUnit::NauticalMiles, false, "LP: 112 °  18453  Nq", "Milles"},
        {Qt::Key_L, DistanceUnit::NauticalMiles, true, "LP: 112 °  18453  Nq", "Milles"},
        {Qt::Key_M, DistanceUnit::Kilometres, true, "LP: 112 °  34175  Kms", "Kilo"},
        {Qt::Key_L, DistanceUnit::Kilometres, false, "LP: 112 °  34175  Kms", "Kilo"},
    };
    for (const auto& [key, unit, longRoute, longPath, checked] : steps) {
        SCOPED_TRACE(longPath);
        host.reticks.clear();
        QTest::keyClick(box, key, Qt::ControlModifier);
        EXPECT_EQ(host.reticks, std::vector<bool>{false});
        EXPECT_EQ(part.Unit(), unit);
        EXPECT_EQ(part.LongRoute(), longRoute);
        EXPECT_TRUE(host.Entry(QString::fromUtf8(checked))->isChecked());
        EXPECT_EQ(host.Entry(QStringLiteral("Long chemin"))->isChecked(), longRoute);
        const tracking::TickInput in = host.InputAt(host.fake.pointer);
        EXPECT_EQ(in.unit, unit);
        EXPECT_EQ(in.longRoute, longRoute);
        host.Tick(kOverNewYork);
        EXPECT_EQ(host.Shown("LblLongChemin"), QString::fromUtf8(longPath));
        EXPECT_EQ(part.Layer().Points().size(), longRoute ? geodesy::kLongPathPoints : 0u);
    }
    host.Tick(testing::kBelowTheMap);
    EXPECT_EQ(host.Shown("LblLongChemin") + host.Shown("LblLocatCurseur"), "");
    EXPECT_FALSE(host.dial->LongNeedleVisible());
}

}  // namespace
}  // namespace orbida::ui
