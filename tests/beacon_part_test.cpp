// The NCDXF beacons on their own, with the clock fixed: which five are on the air, the table's
// readings as the tick gives them, the one timer, a row as the target.
#include <QAction>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>

#include "fake_part_host.h"
#include "form_fixture.h"
#include "ui/map/beacon_layer.h"
#include "ui/parts/beacon_part.h"
#include "ui/parts/remembered.h"
#include "ui/parts/settings_store.h"

namespace orbida::ui {
namespace {

using namespace std::chrono;

class BeaconPartTest : public ::testing::Test {
  protected:
    BeaconPartTest() { host.Add(part); }
    QString Cell(int row, int column) { return part.Table()->item(row, column)->text(); }

    testing::FakePartHost host;
    BeaconPart part;
};

// At 12:00:40 UTC ZL6B opens the slot on 14.100 MHz and 4U1UN, four slots ahead, is on 28.200;
// the slot has just begun. Of the eighteen marks, those five are lit; the timer wakes for the next
// second.
TEST_F(BeaconPartTest, TheFiveOnTheAirAtTheClocksSecond) {
    const QStringList calls = {"ZL6B", "KH6RS", "W6WX", "VE8AT", "4U1UN"};  // 14.100 to 28.200
    EXPECT_EQ(host.MenuTexts(MenuPlace::Beacons), QStringList{"Balises NCDXF"});
    EXPECT_EQ(part.Table(), nullptr);
    host.fake.now = WallTime{sys_days{2026y / 12 / 21} + hours{12} + seconds{40}};
    host.Entry(QStringLiteral("Balises NCDXF"))->trigger();
    ASSERT_TRUE(part.Beacons());
    ASSERT_NE(part.Table(), nullptr);
    EXPECT_TRUE(part.Timer().isActive());
    EXPECT_LE(part.Timer().interval(), 1002);
    QStringList onAir;
    for (const BeaconLayer::Mark& mark : part.Layer().Marks()) {
        if (mark.colour.isValid()) {
            onAir << mark.call;
        }
    }
    EXPECT_EQ(part.Layer().Marks().size(), 18u);
    QStringList expected = calls;
    onAir.sort();
    expected.sort();
    EXPECT_EQ(onAir, expected);
    for (int band = 0; band < 5; ++band) {
        EXPECT_EQ(Cell(band, 1), calls[band]) << band;
        EXPECT_EQ(Cell(band, 6), "10 s");
    }
    part.SetBeacons(false);
    EXPECT_TRUE(part.Layer().Marks().empty());
    EXPECT_FALSE(part.Timer().isActive());
    EXPECT_EQ(part.Table(), nullptr);
}

// A row's azimuth and distance are the tick's for its beacon from home, short and long path; a
// row clicked pins its beacon, so that the readouts and the rotator aim at it.
TEST_F(BeaconPartTest, RowsReadAsTheTickAndPinTheirBeacon) {
    host.fake.now = WallTime{sys_days{2026y / 12 / 21} + hours{12} + seconds{40}};
    part.SetBeacons(true);
    for (int row = 0; row < 5; ++row) {
        host.pins.clear();
        emit part.Table()->cellClicked(row, 2);
        ASSERT_EQ(host.pins.size(), 1u);
        ASSERT_TRUE(host.pins[0].place.has_value());
        const tracking::TickFrame f = host.Tick(testing::kOverNewYork);  // pinned: not the pointer
        EXPECT_EQ(Cell(row, 3), QString::fromStdString(f.dial.text)) << row;
        EXPECT_TRUE(Cell(row, 4).startsWith(QString::number(static_cast<int>(f.distanceKm))))
            << Cell(row, 4).toStdString() << " " << f.distanceKm;
        EXPECT_TRUE(Cell(row, 5).startsWith(QString::number(f.longAzimuth) + " °")) << row;
        host.Pin({});
    }
}

// Whether they are shown comes back at the next start; closing the table turns them off.
TEST_F(BeaconPartTest, RememberedAndClosedWithTheTable) {
    const QTemporaryDir folder;
    SettingsStore settings(folder.filePath(QStringLiteral("orbida.conf")), RememberedKeys());
    part.UseSettings(&settings);
    EXPECT_FALSE(part.Beacons());
    part.SetBeacons(true);
    EXPECT_TRUE(ReadRemembered(settings).beacons);
    part.Table()->window()->close();
    EXPECT_FALSE(part.Beacons());
    EXPECT_FALSE(ReadRemembered(settings).beacons);
    EXPECT_FALSE(host.Entry(QStringLiteral("Balises NCDXF"))->isChecked());
}

// On the window's map a call that would cross the right edge is written to the left of its beacon:
// at 12:00:40 UTC ZL6B, at the map's eastern edge, is on the air.
class BeaconsOnTheWindow : public testing::FormTest {};

TEST_F(BeaconsOnTheWindow, EveryCallStaysOnTheMap) {
    fake.now = WallTime{sys_days{2026y / 12 / 21} + hours{12} + seconds{40}};
    form.show();
    for (QAction* entry : form.MapMenu()->actions()) {
        if (entry->text() == QLatin1String("Balises NCDXF")) {
            entry->trigger();
        }
    }
    const auto* layer = Map()->FindLayer<BeaconLayer>();
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->Marks().size(), 18u);
    EXPECT_TRUE(Map()->rect().contains(layer->Area(*Map()).boundingRect()));
}

}  // namespace
}  // namespace orbida::ui
