// The station readings on the main window: the long path and the pointer's locator, a pinned
// target, home from a locator or coordinates, units, shortcuts, and the settings kept between runs.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "cities/city_file.h"
#include "fake_platform.h"
#include "ui/city_combo.h"
#include "ui/form1.h"
#include "ui/frame_widget.h"
#include "ui/map_widget.h"
#include "ui/remembered.h"

namespace orbida::ui {
namespace {

using tracking::DistanceUnit;

const char kCities[] =
    "Paris, 48.8566, -2.3522\n"
    "New York, 40.7143, 74.0060\n"
    "Sydney, -33.8678, -151.2073\n";

// The pointer's pixel in the window that measures New York (74 W, 40.46 N).
constexpr QPoint kNewYork(211, 161);
constexpr QPoint kOffTheMap(300, 900);

class ReadingsTest : public ::testing::Test {
  protected:
    ReadingsTest() : form(cities::ParseCityFile(kCities), fake.Services()) {}

    template <typename T = QLabel>
    T* Child(const char* name) {
        T* child = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QString Text(const char* name) { return Child(name)->text(); }
    MapWidget* Map() { return Child<MapWidget>("Carte"); }
    DialFrame* Dial() { return Child<DialFrame>("Frame1"); }
    void PointAt(QPoint p) {
        fake.pointer.position = form.mapToGlobal(p);
        form.TickAt(fake.pointer.position);
    }
    void Type(const QString& text) {
        Child<CityCombo>("Combo1")->setEditText(text);
        Child<QPushButton>("ValidVille")->click();
    }
    void ClickMap(QPoint windowPoint, Qt::MouseButton button = Qt::LeftButton) {
        const QPoint local = Map()->mapFrom(&form, windowPoint);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(local),
                          Map()->mapToGlobal(QPointF(local)), button, button, Qt::NoModifier);
        QApplication::sendEvent(Map(), &press);
    }

    testing::FakePlatform fake;
    Form1 form;
};

TEST_F(ReadingsTest, LongPathAndLocatorFollowThePointer) {
    Type(QStringLiteral("Paris"));
    PointAt(kNewYork);
    EXPECT_EQ(Text("LblAzimut"), "292 °");
    EXPECT_EQ(Text("LblDistance"), "  est à 5854  Kms");
    EXPECT_EQ(Text("LblLongChemin"), "LP: 112 °  34175  Kms");
    EXPECT_EQ(Text("LblLocatCurseur"), "Loc: FN20XL");
    EXPECT_TRUE(Child("LblLongChemin")->isVisibleTo(&form));
    EXPECT_TRUE(Dial()->LongNeedleVisible());
    // The long needle points the other way round: east-south-east.
    EXPECT_GT(Dial()->LongNeedleX2(), 2040.0f + 250.0f);
    EXPECT_GT(Dial()->LongNeedleY2(), 580.0f);
    EXPECT_TRUE(Map()->LongRoute().empty());

    PointAt(kOffTheMap);
    EXPECT_FALSE(Child("LblLongChemin")->isVisibleTo(&form));
    EXPECT_FALSE(Child("LblLocatCurseur")->isVisibleTo(&form));
    EXPECT_FALSE(Dial()->LongNeedleVisible());
}

TEST_F(ReadingsTest, ClickPinsAndReleasesTheTarget) {
    Type(QStringLiteral("Paris"));
    PointAt(kNewYork);
    ClickMap(kNewYork);
    ASSERT_TRUE(form.Pinned());
    const float x = Map()->CrosshairX();
    // The pointer goes elsewhere, off the map, then over another place: all stays on New York.
    for (const QPoint p : {kOffTheMap, QPoint(400, 300)}) {
        PointAt(p);
        EXPECT_EQ(Text("LblAzimut"), "292 °");
        EXPECT_EQ(Text("LblLocatCurseur"), "Loc: FN20XL");
        EXPECT_EQ(Map()->CrosshairX(), x);
        EXPECT_TRUE(Map()->PinMarkShown());
    }
    // A second click releases: tracking resumes where the pointer is.
    ClickMap(QPoint(400, 300));
    EXPECT_FALSE(form.Pinned());
    EXPECT_FALSE(Map()->PinMarkShown());
    EXPECT_NE(Text("LblAzimut"), "292 °");
    // A right click does not pin.
    ClickMap(kNewYork, Qt::RightButton);
    EXPECT_FALSE(form.Pinned());
}

TEST_F(ReadingsTest, HomeFromTypedText) {
    const struct {
        const char* typed;
        const char* name;     // shown beside the distance; empty: refused, nothing changes
        const char* locator;  // the locator display
        const char* refusal;
    } cases[] = {
        {"jn18eu", "JN18EU", "JN18EU", ""},
        {"33.87S 151.21E", "33.87S 151.21E", "QF56OD", ""},
        {"JN18EU55XX", "JN18EU55XX", "JN18EU", ""},
        {"SS99", "", "", "Locator hors limites"},
        {"91N 0E", "", "", "Latitude hors limites"},
        {"48.85 2.35", "", "", "Il manque la lettre"},
        {"Lyon", "", "", "Aucune ville ne commence par"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Type(QStringLiteral("Paris"));
        Type(QString::fromUtf8(c.typed));
        if (*c.name != '\0') {
            EXPECT_EQ(Text("LblVilleDistance"), QString::fromUtf8(c.name));
            EXPECT_EQ(Text("LblLocatVille"), QString::fromUtf8(c.locator));
            EXPECT_TRUE(form.LastRefusal().isEmpty());
        } else {
            EXPECT_EQ(Text("LblVilleDistance"), "PARIS");
            EXPECT_EQ(Text("LblLocatVille"), "JN18EU");
            EXPECT_TRUE(form.LastRefusal().contains(QString::fromUtf8(c.refusal)))
                << form.LastRefusal().toStdString();
        }
    }
}

// The shortcuts reach the window whichever control has the focus; the menu shows them.
TEST_F(ReadingsTest, ShortcutsAndMenu) {
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    Type(QStringLiteral("Paris"));
    PointAt(kNewYork);
    QWidget* box = Child<CityCombo>("Combo1")->lineEdit();
    box->setFocus();

    const struct {
        DistanceUnit unit;
        const char* distance;
        const char* longPath;
    } cycle[] = {{DistanceUnit::StatuteMiles, "  est à 3638  Miles", "LP: 112 °  21235  Miles"},
                 {DistanceUnit::NauticalMiles, "  est à 3161  Nq", "LP: 112 °  18453  Nq"},
                 {DistanceUnit::Kilometres, "  est à 5854  Kms", "LP: 112 °  34175  Kms"}};
    for (const auto& c : cycle) {
        SCOPED_TRACE(c.distance);
        QTest::keyClick(box, Qt::Key_M, Qt::ControlModifier);
        EXPECT_EQ(form.Unit(), c.unit);
        EXPECT_EQ(Text("LblDistance").toStdString(), c.distance);
        EXPECT_EQ(Text("LblLongChemin").toStdString(), c.longPath);
    }

    QTest::keyClick(box, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(form.LongRoute());
    EXPECT_EQ(Map()->LongRoute().size(), geodesy::kLongPathPoints);
    QTest::keyClick(box, Qt::Key_L, Qt::ControlModifier);
    EXPECT_FALSE(form.LongRoute());
    EXPECT_TRUE(Map()->LongRoute().empty());

    QStringList texts;
    for (const QAction* a : form.MapMenu()->actions()) {
        texts << a->text() + QLatin1Char('|') + a->shortcut().toString();
    }
    EXPECT_EQ(texts, (QStringList{"Épingler ce point\tClic gauche|", "Long chemin|Ctrl+L",
                                  "Ligne grise|Ctrl+G", "Unités|", "|",
                                  "Orienter l'antenne (court chemin)|Ctrl+R",
                                  "Orienter l'antenne (long chemin)|Ctrl+Shift+R",
                                  "Arrêter le rotor|Ctrl+Space", "Rotor…|"}));
}

class SettingsTest : public ::testing::Test {
  protected:
    QString Path() const { return dir.filePath(QStringLiteral("orbida.conf")); }
    void Write(const QByteArray& contents) {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    QTemporaryDir dir;
    testing::FakePlatform fake;
};

TEST_F(SettingsTest, DamagedOrOddValuesReadAsNotSet) {
    const struct {
        const char* name;
        const char* file;
        const char* home;
        bool hasPosition;
        DistanceUnit unit;
        bool longRoute;
        bool greyLine = false;
    } cases[] = {
        {"all set",
         "[reference]\nhome=JN18EU\n[window]\nposition=120, 80\n[display]\nunit=nmi\n"
         "longRoute=true\ngreyLine=true\n",
         "JN18EU", true, DistanceUnit::NauticalMiles, true, true},
        {"empty file", "", "", false, DistanceUnit::Kilometres, false},
        {"odd values", "[window]\nposition=12x, 80\n[display]\nunit=parsecs\nlongRoute=2\n", "",
         false, DistanceUnit::Kilometres, false},
        {"position far away", "[window]\nposition=5000000, 0\n", "", false,
         DistanceUnit::Kilometres, false},
        {"binary garbage", "\x01\x02[[[\xff\xfe=\n=\n[reference\nhome", "", false,
         DistanceUnit::Kilometres, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write(c.file);
        const QSettings settings(Path(), QSettings::IniFormat);
        const Remembered r = ReadRemembered(settings);
        EXPECT_EQ(r.home, QString::fromUtf8(c.home));
        EXPECT_EQ(r.position.has_value(), c.hasPosition);
        EXPECT_EQ(r.unit, c.unit);
        EXPECT_EQ(r.longRoute, c.longRoute);
        EXPECT_EQ(r.greyLine, c.greyLine);
    }
}

TEST_F(SettingsTest, TheNextRunComesBackAsLeft) {
    {
        QSettings settings(Path(), QSettings::IniFormat);
        Form1 form(cities::ParseCityFile(kCities), fake.Services());
        form.UseSettings(&settings);
        form.findChild<CityCombo*>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("jn18eu"));
        form.ValidateCity();
        form.CycleUnit();
        form.SetLongRoute(true);
        form.SetGreyLine(true);
    }
    const struct {
        const char* name;
        const char* cities;
        const char* shown;  // LblVilleDistance
        DistanceUnit unit;
    } runs[] = {
        {"locator home", kCities, "JN18EU", DistanceUnit::StatuteMiles},
        {"city home", kCities, "SYDNEY", DistanceUnit::StatuteMiles},
        {"city gone from the file", "Paris, 48.8566, -2.3522\nSydneyside, 1, 1\n", "",
         DistanceUnit::StatuteMiles},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.name);
        QSettings settings(Path(), QSettings::IniFormat);
        Form1 form(cities::ParseCityFile(run.cities), fake.Services());
        form.UseSettings(&settings);
        const auto* shown = form.findChild<QLabel*>(QStringLiteral("LblVilleDistance"));
        EXPECT_EQ(shown->text(), QString::fromUtf8(run.shown));
        EXPECT_EQ(form.Reference().citySelected, *run.shown != '\0');
        EXPECT_EQ(form.Unit(), run.unit);
        EXPECT_TRUE(form.LongRoute());
        EXPECT_TRUE(form.GreyLine());
        if (QString::fromUtf8(run.name) == "locator home") {
            // The next run's home: Sydney, chosen from the list.
            form.findChild<CityCombo*>(QStringLiteral("Combo1"))->setCurrentIndex(2);
            form.ValidateCity();
        }
    }

    // A damaged file gives the start state, then takes what is set from then on.
    Write("\x01[[[\xff=\n[reference\nhome=JN18EU");
    {
        QSettings settings(Path(), QSettings::IniFormat);
        Form1 form(cities::ParseCityFile(kCities), fake.Services());
        form.UseSettings(&settings);
        EXPECT_FALSE(form.Reference().citySelected);
        EXPECT_EQ(form.Unit(), DistanceUnit::Kilometres);
        form.SetLongRoute(true);
    }
    QSettings settings(Path(), QSettings::IniFormat);
    EXPECT_TRUE(ReadRemembered(settings).longRoute);
}

}  // namespace
}  // namespace orbida::ui
