// The settings kept between runs, on the main window: what a damaged file reads as, and each run
// coming back as the one before left it, through every part at once.
#include <QFile>
#include <QTemporaryDir>

#include "form_fixture.h"
#include "ui/parts/remembered.h"

namespace orbida::ui {
namespace {

using testing::kCities;
using tracking::DistanceUnit;

class SettingsTest : public ::testing::Test {
  protected:
    QString Path() const { return dir.filePath(QStringLiteral("orbida.conf")); }
    void Write(const QByteArray& contents) {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    // One run of the program: a window on the settings file, used, then closed.
    void Run(const char* cities, const std::function<void(Form1&)>& use) {
        SettingsStore settings(Path(), RememberedKeys());
        Form1 form(cities::ParseCityFile(cities), fake.Services());
        form.UseSettings(&settings);
        use(form);
    }
    QTemporaryDir dir;
    testing::FakePlatform fake;
};

// Values that cannot be read, or are out of range, read as not set: no position, the first unit,
// no rotator or its usual port.
TEST_F(SettingsTest, DamagedOrOddValuesReadAsNotSet) {
    const std::tuple<const char*, bool, DistanceUnit, const char*, int> cases[] = {
        {"[window]\nposition=120, 80\n[display]\nunit=nmi\n[rotator]\nhost=shack\nport=4540\n",
         true, DistanceUnit::NauticalMiles, "shack", 4540},
        {"[window]\nposition=12x, 80\n[display]\nunit=parsecs\n[rotator]\nhost=a b\nport=4540\n",
         false, DistanceUnit::Kilometres, "", 4533},
        {"[window]\nposition=5000000, 0\n[display]\nlongRoute=2\n[rotator]\nhost=x\nport=99999\n",
         false, DistanceUnit::Kilometres, "x", 4533},
        {"[window]\nposition=-2147483648, 0\n", false, DistanceUnit::Kilometres, "", 4533},
        // Kept so by an older version: read as the dialog reads them now.
        {"[rotator]\nhost=[::1]\nport=4540\n", false, DistanceUnit::Kilometres, "::1", 4540},
        {"[rotator]\nhost=127.0.0.1:4902\nport=4540\n", false, DistanceUnit::Kilometres,
         "127.0.0.1", 4902},
    };
    for (const auto& [file, position, unit, host, port] : cases) {
        SCOPED_TRACE(file);
        Write(file);
        const SettingsStore settings(Path(), RememberedKeys());
        const Remembered r = ReadRemembered(settings);
        EXPECT_EQ(r.home, QString());
        EXPECT_EQ(r.position.has_value(), position);
        EXPECT_EQ(r.unit, unit);
        EXPECT_FALSE(r.longRoute || r.greyLine);
        EXPECT_EQ(ReadRotatorAddress(settings).host, QString::fromUtf8(host));
        EXPECT_EQ(ReadRotatorAddress(settings).port, port);
    }
}

// Each run comes back as the one before left it: a typed home, a city of the list (unless the
// file no longer has it), the unit, the long route and the grey line.
TEST_F(SettingsTest, TheNextRunComesBackAsLeft) {
    Run(kCities, [](Form1& form) {
        form.findChild<CityCombo*>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("jn18eu"));
        form.ValidateCity();
        form.Find<ui::ReadingsPart>()->CycleUnit();
        form.Find<ui::ReadingsPart>()->SetLongRoute(true);
        form.Find<ui::GreyLinePart>()->SetGreyLine(true);
    });
    const std::pair<const char*, const char*> runs[] = {
        {kCities, "JN18EU"},  // then Sydney, chosen from the list
        {kCities, "SYDNEY"},
        {"Paris, 48.8566, -2.3522\nSydneyside, 1, 1\n", ""}};
    for (const auto& [cities, shown] : runs) {
        SCOPED_TRACE(shown);
        Run(cities, [shown](Form1& form) {
            EXPECT_EQ(form.findChild<QLabel*>("LblVilleDistance")->text(), shown);
            EXPECT_EQ(form.Reference().citySelected, *shown != '\0');
            EXPECT_EQ(form.Find<ui::ReadingsPart>()->Unit(), DistanceUnit::StatuteMiles);
            EXPECT_TRUE(form.Find<ui::ReadingsPart>()->LongRoute() &&
                        form.Find<ui::GreyLinePart>()->GreyLine());
            if (std::string_view(shown) == "JN18EU") {
                form.findChild<CityCombo*>(QStringLiteral("Combo1"))->setCurrentIndex(3);
                form.ValidateCity();
            }
        });
    }
    // The connection is asked once the window is up, not while the home is restored; the web
    // map's button then follows the answer.
    fake.connection.online = true;
    Run(kCities, [this](Form1& form) {
        const int before = fake.checks;
        EXPECT_FALSE(form.Reference().internetConnected);
        QApplication::processEvents();
        EXPECT_EQ(fake.checks, before + 1);
        EXPECT_TRUE(form.Reference().internetConnected);
    });
    // A damaged file gives the start state, then takes what is set from then on.
    Write("\x01[[[\xff=\n[reference\nhome=JN18EU");
    Run(kCities, [](Form1& form) {
        EXPECT_FALSE(form.Reference().citySelected);
        EXPECT_EQ(form.Find<ui::ReadingsPart>()->Unit(), DistanceUnit::Kilometres);
        form.Find<ui::ReadingsPart>()->SetLongRoute(true);
    });
    EXPECT_TRUE(ReadRemembered(SettingsStore(Path(), RememberedKeys())).longRoute);
}

}  // namespace
}  // namespace orbida::ui
