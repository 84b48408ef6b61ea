// Callsigns typed in the city box of the main window: the country pinned as the target and named
// in the top strip, refusals that change nothing, the country file read in the background.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <string_view>

#include "cities/city_file.h"
#include "fake_platform.h"
#include "geodesy/projection.h"
#include "ui/city_combo.h"
#include "ui/form1.h"
#include "ui/map_widget.h"

namespace orbida::ui {
namespace {

const char kCities[] =
    "Paris, 48.8566, -2.3522\n"
    "New York, 40.7143, 74.0060\n";

// Entity lines as the real file writes them, with exact calls.
const char kCountries[] =
    "Mauritius:                39:  53:  AF:  -20.35:   -57.50:    -4.0:  3B8:\n"
    "    3B8;\n"
    "Japan:                    25:  45:  AS:   36.40:  -138.38:    -9.0:  JA:\n"
    "    7J,JA,JE,JH,JR;\n"
    "Heard Island:             39:  68:  AF:  -53.08:   -73.50:    -5.0:  VK0H:\n"
    "    =VK0EK,=VK0LD;\n"
    "United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:\n"
    "    K,W;\n";

const QString kSystemFile = QStringLiteral("/usr/share/hamradio-files/cty.dat");

class CallsignTest : public ::testing::Test {
  protected:
    CallsignTest() : form(cities::ParseCityFile(kCities), fake.Services()) {
        QFile file(dir.filePath(QStringLiteral("cty.dat")));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(kCountries);
        }
    }

    QString CountryFile() const { return dir.filePath(QStringLiteral("cty.dat")); }
    QString Text(const char* name) {
        auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(label, nullptr) << name;
        return label != nullptr ? label->text() : QString();
    }
    // The callsign line, or an empty text when it is not shown.
    QString Line() {
        auto* line = form.findChild<QLabel*>(QStringLiteral("LblIndicatif"));
        return line != nullptr && line->isVisibleTo(&form) ? line->text() : QString();
    }
    MapWidget* Map() { return form.findChild<MapWidget*>(QStringLiteral("Carte")); }
    QLineEdit* Box() { return form.findChild<CityCombo*>(QStringLiteral("Combo1"))->lineEdit(); }
    void Type(const QString& text) {
        form.findChild<CityCombo*>(QStringLiteral("Combo1"))->setEditText(text);
        form.findChild<QPushButton*>(QStringLiteral("ValidVille"))->click();
    }
    void PointAt(QPoint p) {
        fake.pointer.position = form.mapToGlobal(p);
        form.TickAt(fake.pointer.position);
    }

    QTemporaryDir dir;
    testing::FakePlatform fake;
    Form1 form;
};

// A sequence of typed texts and releases. A refused text leaves the target as it was; home never
// changes.
TEST_F(CallsignTest, PinsTheCountryAndRefusesWhatHasNone) {
    form.SetCountryFilePlaces({}, {}, CountryFile());
    Type(QStringLiteral("Paris"));
    const geodesy::GeoPoint home = form.Reference().referencePoint;
    const QPoint pointer(400, 300);  // over the map, far from every country of the file
    PointAt(pointer);

    const struct {
        const char* typed;  // "menu" and "click" release
        const char* line;   // what the line starts with afterwards; empty: nothing pinned
        geodesy::GeoPoint at;
        const char* refusal;  // in the hint; empty: none
    } steps[] = {
        {"3b8cf", "3B8CF  Mauritius\nAF  CQ 39  UIT 53  UTC+4\nSP ", {-20.35, -57.50}, ""},
        {"Q1ABC", "3B8CF  Mauritius\n", {-20.35, -57.50}, "Aucun pays ne correspond"},
        {"W1AW/MM", "3B8CF  Mauritius\n", {-20.35, -57.50}, "mobile maritime"},
        {"vk0ek", "VK0EK  Heard Island\nAF  CQ 39  UIT 68  UTC+5", {-53.08, -73.50}, ""},
        {"W1AW/7", "W1AW/7  United States of America\nNA  CQ 5  UIT 8  UTC-5", {37.60, 91.87}, ""},
        {"menu", "", {}, ""},
        {"JA1NUT/P", "JA1NUT/P  Japan\nAS  CQ 25  UIT 45  UTC+9", {36.40, -138.38}, ""},
        {"W1AW/AM", "JA1NUT/P  Japan\n", {36.40, -138.38}, "aéronautique"},
        {"click", "", {}, ""},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.typed);
        const std::string_view typed = s.typed;
        if (typed == "menu") {
            form.TogglePin(pointer);
        } else if (typed == "click") {
            const QPoint local = Map()->mapFrom(&form, pointer);
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(local),
                              Map()->mapToGlobal(QPointF(local)), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(Map(), &press);
        } else {
            Type(QString::fromUtf8(s.typed));
        }
        const bool pinned = *s.line != '\0';
        EXPECT_EQ(form.Pinned(), pinned);
        EXPECT_EQ(form.CallsignCountry().has_value(), pinned);
        EXPECT_EQ(Map()->PinMarkShown(), pinned);
        EXPECT_EQ(Line().isEmpty(), !pinned);
        EXPECT_TRUE(!pinned || Line().startsWith(QString::fromUtf8(s.line)))
            << Line().toStdString();
        if (typed != "menu" && typed != "click") {
            EXPECT_TRUE(form.LastRefusal().contains(QString::fromUtf8(s.refusal)))
                << form.LastRefusal().toStdString();
            EXPECT_EQ(form.LastRefusal().isEmpty(), *s.refusal == '\0');
        }
        // The crosshair is on the country whatever the pointer does, or back under the pointer.
        const double x = pinned ? geodesy::DegreesToMap(s.at, 9630.0f, 4815.0f).x
                                : (pointer.x() - 16.0) * 15.0 - 90.0;
        EXPECT_NEAR(Map()->CrosshairX(), x, 0.01);
        if (pinned) {
            EXPECT_NEAR(Map()->CrosshairY(), geodesy::DegreesToMap(s.at, 9630.0f, 4815.0f).y, 0.01);
            // Each line stays inside the strip, clear of the title and the buttons.
            const auto* line = form.findChild<QLabel*>(QStringLiteral("LblIndicatif"));
            const QFontMetrics metrics(line->font());
            for (const QString& row : Line().split(u'\n')) {
                EXPECT_LE(metrics.horizontalAdvance(row), line->width()) << row.toStdString();
            }
            EXPECT_LE(metrics.lineSpacing() * 3, line->height());
        }
        EXPECT_EQ(form.Reference().referencePoint, home);
        EXPECT_EQ(Text("LblVilleDistance"), "PARIS");
    }
}

// The second line gives both paths from home in the unit shown, the same figures as the readouts,
// and follows a change of unit or of home.
TEST_F(CallsignTest, LineFollowsUnitsAndHome) {
    form.SetCountryFilePlaces({}, {}, CountryFile());
    Type(QStringLiteral("Paris"));
    Type(QStringLiteral("JA1NUT"));
    const struct {
        const char* home;
        tracking::DistanceUnit unit;
        const char* unitWord;
    } cases[] = {
        {"Paris", tracking::DistanceUnit::Kilometres, "Kms"},
        {"Paris", tracking::DistanceUnit::NauticalMiles, "Nq"},
        {"New York", tracking::DistanceUnit::StatuteMiles, "Miles"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unitWord);
        Type(QString::fromUtf8(c.home));
        form.SetUnit(c.unit);
        const QStringList lines = Line().split(u'\n');
        ASSERT_EQ(lines.size(), 3) << Line().toStdString();
        // "  est à 9713  Kms" and "LP: 213 °  30316  Kms" give "SP 33° 9713 Kms  LP 213° ...".
        const QString distance = Text("LblDistance").simplified().section(u' ', 2, 3);
        const QString azimuth = Text("LblAzimut").remove(u' ');
        const QString longPath = Text("LblLongChemin").mid(4).replace(QStringLiteral(" °"), "°");
        EXPECT_EQ(lines[2], QStringLiteral("SP ") + azimuth + u' ' + distance +
                                QStringLiteral("  LP ") + longPath.simplified());
        EXPECT_TRUE(lines[2].endsWith(QString::fromUtf8(c.unitWord)));
    }
}

// Without a usable country file a callsign says where to put one; what reads otherwise (a
// locator, a city) is not affected, and nothing is pinned.
TEST_F(CallsignTest, WithoutAFileTheHintSaysWhereToPutOne) {
    QFile empty(dir.filePath(QStringLiteral("vide.dat")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    const struct {
        const char* name;
        QString userDir, system, override;
        const char* typed;
        const char* hint;
    } cases[] = {
        {"no file anywhere",
         dir.filePath("absent"),
         dir.filePath("absent.dat"),
         {},
         "3B8CF",
         "placez un fichier"},
        {"--cty file missing", {}, {}, dir.filePath("absent.dat"), "3B8CF", "introuvable"},
        {"empty file", {}, {}, dir.filePath("vide.dat"), "3B8CF", "aucun préfixe lisible"},
        {"locator out of range", dir.filePath("absent"), {}, {}, "SS99", "Locator hors limites"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::FakePlatform fake2;
        Form1 other(cities::ParseCityFile(kCities), fake2.Services());
        other.SetCountryFilePlaces(c.userDir, c.system, c.override);
        other.findChild<CityCombo*>(QStringLiteral("Combo1"))->setEditText(c.typed);
        other.ValidateCity();
        EXPECT_TRUE(other.LastRefusal().contains(QString::fromUtf8(c.hint)))
            << other.LastRefusal().toStdString();
        EXPECT_FALSE(other.Pinned());
        EXPECT_FALSE(other.Reference().citySelected);
    }
}

// Shown, the window reads the file in the background; Enter in the box pins as "Valider" does.
TEST_F(CallsignTest, FileReadInTheBackgroundAndNamed) {
    form.show();
    form.SetCountryFilePlaces({}, {}, CountryFile());
    EXPECT_TRUE(form.CountryFileDescription().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.CountryFileDescription().isEmpty(); }));
    EXPECT_TRUE(form.CountryFileDescription().contains(CountryFile()));
    Box()->setText(QStringLiteral("3B8CF"));
    QTest::keyClick(Box(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.CallsignCountry().has_value(); }));
    EXPECT_TRUE(Line().startsWith(QStringLiteral("3B8CF  Mauritius")));
}

// The file Debian installs, when it is there: the countries of the calls a user types first.
TEST_F(CallsignTest, DebianFile) {
    if (!QFile::exists(kSystemFile)) {
        GTEST_SKIP() << "hamradio-files is not installed";
    }
    form.SetCountryFilePlaces(dir.filePath(QStringLiteral("absent")), kSystemFile, {});
    Type(QStringLiteral("Paris"));
    const struct {
        const char* typed;
        const char* line;
    } cases[] = {
        {"JA1NUT", "JA1NUT  Japan\nAS  CQ 25  UIT 45  UTC+9"},
        {"vk0ek", "VK0EK  Heard Island\nAF  CQ 39  UIT 68  UTC+5"},
        {"3B8CF", "3B8CF  Mauritius\nAF  CQ 39  UIT 53  UTC+4"},
        {"EA8/DL1ABC", "EA8/DL1ABC  Canary Islands\nAF  CQ 33  UIT 36  UTC+0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Type(QString::fromUtf8(c.typed));
        EXPECT_EQ(Line().section(u'\n', 0, 1).toStdString(), c.line);
    }
    EXPECT_TRUE(form.CountryFileDescription().contains(kSystemFile));
    EXPECT_TRUE(form.CountryFileDescription().contains(QStringLiteral("version")));
}

}  // namespace
}  // namespace orbida::ui
