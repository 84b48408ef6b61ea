// The pinned target on its own: what a click on the map and the menu's entry pin or release, and
// the mark on the map while something is pinned.
#include <QApplication>
#include <QMouseEvent>
#include <cmath>

#include "fake_part_host.h"
#include "ui/map/route_layers.h"
#include "ui/parts/pin_part.h"

namespace orbida::ui {
namespace {

using testing::kOverNewYork;

class PinPartTest : public ::testing::Test {
  protected:
    PinPartTest() { host.Add(part); }
    // A press on the map at a pixel of the window; true when the map let it go on.
    bool Press(QPoint windowPoint, Qt::MouseButton button) {
        const QPointF local = host.map->mapFrom(&host.window, windowPoint);
        QMouseEvent press(QEvent::MouseButtonPress, local, host.map->mapToGlobal(local), button,
                          button, Qt::NoModifier);
        QApplication::sendEvent(host.map, &press);
        return press.isAccepted();
    }

    testing::FakePartHost host;
    PinPart part;
};

// A left click or the menu's entry pins the point under it; the next releases whatever pinned it
// (a callsign's country too). Other buttons pin nothing.
TEST_F(PinPartTest, ClicksAndTheMenuPinAndRelease) {
    EXPECT_EQ(host.MenuTexts(MenuPlace::Pin), QStringList{"Épingler ce point\tClic gauche"});
    QAction* entry = host.Entry(QStringLiteral("Épingler"));
    const PinnedTarget country{std::nullopt, geodesy::GeoPoint{-20.35, -57.5}};
    // What is pinned before, how the user acts, what is pinned after (nullopt: no change asked).
    const struct {
        const char* how;
        PinnedTarget before;
        std::optional<PinnedTarget> after;
    } cases[] = {
        {"left click", {}, PinnedTarget{kOverNewYork, std::nullopt}},
        {"left click", {kOverNewYork, std::nullopt}, PinnedTarget{}},
        {"left click", country, PinnedTarget{}},
        {"right click", {}, std::nullopt},
        {"menu", {}, PinnedTarget{QPoint(30, 60), std::nullopt}},
        {"menu", country, PinnedTarget{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        host.pinned = c.before;
        host.pins.clear();
        const std::string how = c.how;
        if (how == "menu") {
            host.menuPointer = host.window.mapToGlobal(QPoint(30, 60));
            entry->trigger();
        } else {
            const Qt::MouseButton button = how == "left click"    ? Qt::LeftButton
                                           : how == "right click" ? Qt::RightButton
                                                                  : Qt::MiddleButton;
            Press(kOverNewYork, button);
        }
        EXPECT_EQ(host.pins, c.after ? std::vector{*c.after} : std::vector<PinnedTarget>{});
    }
}

// The mark stands on the point measured while something is pinned and the point is on the map,
// with the ordinary arrow to aim the next click; the menu's entry says what a click will do.
TEST_F(PinPartTest, MarkFollowsWhatIsPinned) {
    QAction* entry = host.Entry(QStringLiteral("Épingler"));
    host.Pin({kOverNewYork, std::nullopt});
    EXPECT_EQ(entry->text(), "Libérer le point\tClic gauche");
    const tracking::TickFrame f = host.Tick(testing::kBelowTheMap);
    ASSERT_TRUE(f.tracking) << "the pinned point is measured, not the pointer";
    ASSERT_TRUE(part.Layer().Point().has_value());
    EXPECT_DOUBLE_EQ(part.Layer().Point()->longitude, f.exactPoint.longitude);
    EXPECT_EQ(host.map->cursor().shape(), Qt::ArrowCursor);

    host.Pin({});
    EXPECT_EQ(entry->text(), "Épingler ce point\tClic gauche");
    EXPECT_FALSE(part.Layer().Point().has_value()) << "gone before the next tick";
    EXPECT_EQ(host.map->cursor().shape(), Qt::BlankCursor);
    host.Tick(kOverNewYork);
    EXPECT_FALSE(part.Layer().Point().has_value());

    // A place pinned off the map (not finite) shows no mark.
    host.Pin({std::nullopt, geodesy::GeoPoint{std::nan(""), 0.0}});
    host.Tick(testing::kBelowTheMap);
    EXPECT_FALSE(part.Layer().Point().has_value());
}

}  // namespace
}  // namespace orbida::ui
