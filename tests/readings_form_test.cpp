// The station readings on the main window: the long path and the pointer's locator, a pinned
// target, home from a locator or coordinates, callsigns and their countries, units, shortcuts, and
// the settings kept between runs, the rotator's address among them.
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>

#include "form_fixture.h"
#include "geodesy/projection.h"
#include "rotator/client.h"
#include "ui/parts/remembered.h"
#include "ui/parts/rotator_dialog.h"

namespace orbida::ui {
namespace {

using testing::kCities;
using testing::kNewYork;
using testing::kOffTheMap;
using tracking::DistanceUnit;
using ReadingsTest = testing::FormTest;

TEST_F(ReadingsTest, ClickPinsAndReleasesTheTarget) {
    Type(QStringLiteral("Paris"));
    PointAt(kNewYork);
    ClickMap(kNewYork);
    ASSERT_TRUE(form.Pinned().Any());
    const float x = Map()->CrosshairX();
    // The pointer goes elsewhere, off the map, then over another place: all stays on New York,
    // and the pointer shows as an arrow over the map to aim the next click.
    for (const QPoint p : {kOffTheMap, QPoint(400, 300)}) {
        PointAt(p);
        EXPECT_EQ(Text("LblAzimut"), "292 °");
        EXPECT_EQ(Text("LblLocatCurseur"), "Loc: FN20XL");
        EXPECT_EQ(Map()->CrosshairX(), x);
        EXPECT_TRUE(form.Find<ui::PinPart>()->Layer().Point().has_value());
        EXPECT_EQ(Map()->cursor().shape(), Qt::ArrowCursor);
    }
    // A second click releases: tracking resumes where the pointer is, the crosshair standing in
    // for the pointer again. A right click does not pin.
    ClickMap(QPoint(400, 300));
    EXPECT_FALSE(form.Pinned().Any() || form.Find<ui::PinPart>()->Layer().Point().has_value());
    EXPECT_EQ(Map()->cursor().shape(), Qt::BlankCursor);
    EXPECT_NE(Text("LblAzimut"), "292 °");
    ClickMap(kNewYork, Qt::RightButton);
    EXPECT_FALSE(form.Pinned().Any());
}

// The long path and the pointer's locator follow the pointer, in the unit Ctrl+M chooses; Ctrl+L
// draws the long route. The shortcuts reach the window whichever control has the focus.
TEST_F(ReadingsTest, LongPathLocatorAndUnits) {
    ShowActive();
    Type(QStringLiteral("Paris"));
    PointAt(kNewYork);
    EXPECT_EQ(Text("LblAzimut"), "292 °");
    EXPECT_EQ(Text("LblLocatCurseur"), "Loc: FN20XL");
    EXPECT_TRUE(Shown("LblLongChemin") && Dial()->LongNeedleVisible());
    // The long needle points the other way round: east-south-east.
    EXPECT_GT(Dial()->LongNeedleX2(), 2040.0f + 250.0f);
    EXPECT_GT(Dial()->LongNeedleY2(), 580.0f);
    QWidget* box = Combo()->lineEdit();
    box->setFocus();
    const std::tuple<DistanceUnit, const char*, const char*> cycle[] = {
        {DistanceUnit::StatuteMiles, "  est à 3638  Miles", "LP: 112 °  21235  Miles"},
        {DistanceUnit::NauticalMiles, "  est à 3161  Nq", "LP: 112 °  18453  Nq"},
        {DistanceUnit::Kilometres, "  est à 5854  Kms", "LP: 112 °  34175  Kms"}};
    for (const auto& [unit, distance, longPath] : cycle) {
        QTest::keyClick(box, Qt::Key_M, Qt::ControlModifier);
        EXPECT_EQ(form.Find<ui::ReadingsPart>()->Unit(), unit);
        EXPECT_EQ(Text("LblDistance"), distance);
        EXPECT_EQ(Text("LblLongChemin"), longPath);
    }
    EXPECT_TRUE(form.Find<ui::ReadingsPart>()->Layer().Points().empty());
    QTest::keyClick(box, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(form.Find<ui::ReadingsPart>()->Layer().Points().size(), geodesy::kLongPathPoints);
    QTest::keyClick(box, Qt::Key_L, Qt::ControlModifier);
    EXPECT_FALSE(form.Find<ui::ReadingsPart>()->LongRoute());
    EXPECT_TRUE(form.Find<ui::ReadingsPart>()->Layer().Points().empty());
    PointAt(kOffTheMap);
    EXPECT_FALSE(Shown("LblLongChemin") || Shown("LblLocatCurseur"));
    EXPECT_FALSE(Dial()->LongNeedleVisible());
}

// Entity lines as the real country file writes them, with exact calls.
const char kCountries[] =
    "Mauritius:                39:  53:  AF:  -20.35:   -57.50:    -4.0:  3B8:\n    3B8;\n"
    "Japan:                    25:  45:  AS:   36.40:  -138.38:    -9.0:  JA:\n"
    "    7J,JA,JE,JH,JR;\n"
    "Heard Island:             39:  68:  AF:  -53.08:   -73.50:    -5.0:  VK0H:\n"
    "    =VK0EK,=VK0LD;\n"
    "United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:\n    K,W;\n";

// Callsigns typed in the city box, with the small country file above.
class CallsignTest : public testing::FormTest {
  protected:
    void SetUp() override {
        QFile file(CountryFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kCountries);
    }
    QString CountryFile() const { return dir.filePath(QStringLiteral("cty.dat")); }
    // The callsign line, or an empty text when it is not shown.
    QString Line() { return Shown("LblIndicatif") ? Text("LblIndicatif") : QString(); }

    QTemporaryDir dir;
};

// A sequence of typed texts and releases. A refused text leaves the target as it was; home never
// changes.
TEST_F(CallsignTest, PinsTheCountryAndRefusesWhatHasNone) {
    form.Find<ui::CallsignPart>()->SetCountryFilePlaces({}, {}, CountryFile());
    Type(QStringLiteral("Paris"));
    const QPoint pointer(400, 300);  // over the map, far from every country of the file
    PointAt(pointer);
    // What is typed ("menu" and "click" release), what the line starts with afterwards (empty:
    // nothing pinned), the country's place, and the refusal in the hint (empty: none).
    const std::tuple<const char*, const char*, geodesy::GeoPoint, const char*> steps[] = {
        {"3b8cf", "3B8CF  Mauritius\nAF  CQ 39  UIT 53  UTC+4\nSP ", {-20.35, -57.50}, ""},
        {"Q1ABC", "3B8CF  Mauritius\n", {-20.35, -57.50}, "Aucun pays ne correspond"},
        {"W1AW/MM", "3B8CF  Mauritius\n", {-20.35, -57.50}, "mobile maritime"},
        {"W1AW/7", "W1AW/7  United States of America\nNA  CQ 5  UIT 8  UTC-5", {37.60, 91.87}, ""},
        {"menu", "", {}, ""},
        {"JA1NUT/P", "JA1NUT/P  Japan\nAS  CQ 25  UIT 45  UTC+9", {36.40, -138.38}, ""},
        {"click", "", {}, ""},
    };
    for (const auto& [input, line, at, refusal] : steps) {
        SCOPED_TRACE(input);
        const std::string typed = input;
        if (typed == "menu") {
            form.Find<ui::PinPart>()->TogglePin(form.mapToGlobal(pointer));
        } else if (typed == "click") {
            ClickMap(pointer);
        } else {
            Type(QString::fromUtf8(input));
            EXPECT_EQ(form.LastRefusal().isEmpty(), *refusal == '\0');
            EXPECT_TRUE(form.LastRefusal().contains(QString::fromUtf8(refusal)));
        }
        const bool pinned = *line != '\0';
        EXPECT_EQ(form.Pinned().Any(), pinned);
        EXPECT_EQ(form.Find<ui::CallsignPart>()->CallsignCountry().has_value(), pinned);
        EXPECT_EQ(form.Find<ui::PinPart>()->Layer().Point().has_value(), pinned);
        EXPECT_EQ(Line().isEmpty(), !pinned);
        EXPECT_TRUE(!pinned || Line().startsWith(QString::fromUtf8(line))) << Line().toStdString();
        // The crosshair is on the country whatever the pointer does, or back under the pointer.
        const geodesy::MapPosition country = geodesy::DegreesToMap(at, 9630.0f, 4815.0f);
        EXPECT_NEAR(Map()->CrosshairX(), pinned ? country.x : (pointer.x() - 16.0) * 15.0 - 90.0,
                    0.01);
        EXPECT_TRUE(!pinned || std::abs(double{Map()->CrosshairY()} - country.y) < 0.01);
        EXPECT_EQ(Text("LblVilleDistance"), "PARIS");
    }
}

// Shown, the window reads the file in the background; Enter in the box pins as "Valider" does.
TEST_F(CallsignTest, FileReadInTheBackgroundAndNamed) {
    form.show();
    form.Find<ui::CallsignPart>()->SetCountryFilePlaces({}, {}, CountryFile());
    EXPECT_TRUE(form.Find<ui::CallsignPart>()->CountryFileDescription().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !form.Find<ui::CallsignPart>()->CountryFileDescription().isEmpty(); }));
    EXPECT_TRUE(form.Find<ui::CallsignPart>()->CountryFileDescription().contains(CountryFile()));
    Combo()->lineEdit()->setText(QStringLiteral("3B8CF"));
    QTest::keyClick(Combo()->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form.Find<ui::CallsignPart>()->CallsignCountry().has_value(); }));
    EXPECT_TRUE(Line().startsWith(QStringLiteral("3B8CF  Mauritius")));
}

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
        {"[rotator]\nhost=\"sh\\tack\"\n", false, DistanceUnit::Kilometres, "", 4533},
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

// "Rotor…" keeps the address for the next runs; an address given for one run is not kept.
TEST_F(SettingsTest, RotatorDialogKeepsTheAddress) {
    Run(kCities, [](Form1& form) {
        form.Find<ui::RotatorPart>()->OpenRotatorDialog();
        auto* dialog = form.findChild<RotatorDialog*>(QStringLiteral("RotatorDialog"));
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>(QStringLiteral("host"))->setText(QStringLiteral("shack"));
        dialog->findChild<QSpinBox*>(QStringLiteral("port"))->setValue(4540);
        dialog->accept();
        EXPECT_EQ(form.Find<ui::RotatorPart>()->Rotator()->Host(), "shack");
        form.Find<ui::RotatorPart>()->SetRotator(QStringLiteral("127.0.0.1"), 4600,
                                                 false);  // --rotator
    });
    Run(kCities, [](Form1& form) {
        EXPECT_EQ(form.Find<ui::RotatorPart>()->Rotator()->Host(), "shack");
        EXPECT_EQ(form.Find<ui::RotatorPart>()->Rotator()->Port(), 4540);
    });
}

// "Rotor…" reads its fields as the command line reads --rotator: what it would refuse is refused
// with the reason, the dialog staying open and nothing kept; brackets and a port typed in the
// host field are taken apart.
TEST_F(SettingsTest, RotatorDialogRefusesWhatTheCommandLineRefuses) {
    // The host field, the port field, the address kept (empty host: none, "-": refused).
    const std::tuple<QString, int, const char*, int> cases[] = {
        {"bad host", 4533, "-", 0},
        {QString(100'000, u'a'), 4533, "-", 0},
        {QStringLiteral("sh") + QChar(1) + "ack", 4533, "-", 0},
        {"::1:4533", 4533, "-", 0},
        {"[::1]", 4540, "::1", 4540},
        {"127.0.0.1:4902", 4533, "127.0.0.1", 4902},
        {"  ", 4533, "", 4533},
    };
    for (const auto& [host, port, kept, keptPort] : cases) {
        SCOPED_TRACE(host.left(20).toStdString());
        Run(kCities, [&](Form1& form) {
            form.Find<ui::RotatorPart>()->SetRotator(QStringLiteral("before"), 4600, false);
            form.Find<ui::RotatorPart>()->OpenRotatorDialog();
            auto* dialog = form.findChild<RotatorDialog*>(QStringLiteral("RotatorDialog"));
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QLineEdit*>(QStringLiteral("host"))->setText(host);
            dialog->findChild<QSpinBox*>(QStringLiteral("port"))->setValue(port);
            dialog->accept();
            const bool refused = std::string_view(kept) == "-";
            EXPECT_EQ(dialog->isVisible(), refused);
            EXPECT_EQ(dialog->ResultText().startsWith("Adresse refusée"), refused);
            EXPECT_EQ(form.Find<ui::RotatorPart>()->Rotator()->Host(), refused ? "before" : kept);
            if (!refused) {
                EXPECT_EQ(form.Find<ui::RotatorPart>()->Rotator()->Port(), keptPort);
            }
            dialog->close();
        });
    }
}

}  // namespace
}  // namespace orbida::ui
