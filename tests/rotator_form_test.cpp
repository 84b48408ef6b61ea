// The antenna rotator on the main window: the menu's entries and shortcuts turn it to the target,
// its heading shows as a needle and a text, faults leave the window working, and its address is
// remembered. Driven with a daemon of the test's own and with Hamlib's dummy rotator.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "cities/city_file.h"
#include "fake_platform.h"
#include "fake_rotctld.h"
#include "rotator/client.h"
#include "rotator/protocol.h"
#include "ui/city_combo.h"
#include "ui/form1.h"
#include "ui/frame_widget.h"
#include "ui/map_widget.h"
#include "ui/remembered.h"
#include "ui/rotator_dialog.h"

namespace orbida::ui {
namespace {

using Mode = testing::FakeRotctld::Mode;
using rotator::Client;

const char kCities[] = "Paris, 48.8566, -2.3522\nNew York, 40.7143, 74.0060\n";

// The pointer's pixel in the window that measures New York (74 W, 40.46 N); from Paris its
// textbook initial bearing is 291.53 ° (the dial shows 292 °), its long path 111.53 °.
constexpr QPoint kNewYork(211, 161);
constexpr QPoint kMoscow(460, 85);
constexpr QPoint kOffTheMap(300, 900);
constexpr double kShortPath = 291.5;

// The azimuth of a "P az el" line.
double Azimuth(const QByteArray& command) {
    const QList<QByteArray> words = command.split(' ');
    return words.size() == 3 && words[0] == "P"
               ? rotator::ParseNumber(words[1].toStdString()).value_or(-1e9)
               : -1e9;
}

class RotatorFormTest : public ::testing::Test {
  protected:
    RotatorFormTest() : form(cities::ParseCityFile(kCities), fake.Services()) {
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        form.findChild<CityCombo*>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("Paris"));
        form.ValidateCity();
    }

    template <typename T = QLabel>
    T* Child(const char* name) {
        return form.findChild<T*>(QString::fromLatin1(name));
    }
    DialFrame* Dial() { return Child<DialFrame>("Frame1"); }
    QLabel* Status() { return Child("LblRotor"); }
    void PointAt(QPoint p) {
        fake.pointer.position = form.mapToGlobal(p);
        form.TickAt(fake.pointer.position);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        // From the city box: the shortcuts work wherever the focus is in the window.
        QTest::keyClick(Child<CityCombo>("Combo1")->lineEdit(), key, modifiers);
    }
    // Waits for a command line other than the readings to reach the daemon, and returns it.
    static QByteArray NextCommand(testing::FakeRotctld& daemon, qsizetype before) {
        QByteArray found;
        const auto look = [&] {
            for (qsizetype i = before; i < daemon.commands.size() && found.isEmpty(); ++i) {
                if (daemon.commands[i] != "p" && daemon.commands[i] != "\\dump_state") {
                    found = daemon.commands[i];
                }
            }
            return !found.isEmpty();
        };
        static_cast<void>(QTest::qWaitFor(look, 2000));
        return found;
    }
    bool WaitForStatus(const QString& text, int ms = 3000) {
        return QTest::qWaitFor([&] { return Status()->text() == text; }, ms);
    }

    testing::FakePlatform fake;
    Form1 form;
};

// Ctrl+R and Ctrl+Shift+R send the target's unrounded course, brought inside the rotator's span;
// Ctrl+Space stops it; the menu's entries aim where the menu was opened.
TEST_F(RotatorFormTest, TurnsToTheTargetAndStops) {
    const struct {
        const char* name;
        QByteArray limits;
        const char* how;  // "short", "long", "stop", "menu", "pinned", "callsign", "off"
        double azimuth;   // of the P line; NaN: "S"; infinity: nothing sent
    } cases[] = {
        {"short path", "min_az=0\nmax_az=360\n", "short", kShortPath},
        {"long path", "min_az=0\nmax_az=360\n", "long", kShortPath - 180.0},
        {"short path, -180..180", "min_az=-180\nmax_az=180\n", "short", kShortPath - 360.0},
        {"stop", "min_az=0\nmax_az=360\n", "stop", std::nan("")},
        {"menu opened over New York", "min_az=0\nmax_az=360\n", "menu", kShortPath},
        {"pinned New York, pointer away", "min_az=0\nmax_az=360\n", "pinned", kShortPath},
        {"callsign pinned at New York", "min_az=0\nmax_az=360\n", "callsign", kShortPath},
        {"target off the map", "min_az=0\nmax_az=360\n", "off", INFINITY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::FakeRotctld daemon;
        daemon.limits = c.limits;
        form.SetRotator(QStringLiteral("127.0.0.1"), daemon.Port(), false);
        ASSERT_TRUE(WaitForStatus(QStringLiteral("Rotor 10 °")));
        form.activateWindow();  // back from the menu of the case before
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        const qsizetype before = daemon.commands.size();
        const std::string how = c.how;
        PointAt(how == "off" ? kOffTheMap : kNewYork);
        if (how == "short" || how == "off") {
            Key(Qt::Key_R, Qt::ControlModifier);
        } else if (how == "long") {
            Key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        } else if (how == "stop") {
            Key(Qt::Key_Space, Qt::ControlModifier);
        } else if (how == "menu") {
            QWidget* map = Child<MapWidget>("Carte");
            emit map->customContextMenuRequested(map->mapFrom(&form, kNewYork));
            PointAt(kMoscow);  // on its way to the entry
            QAction* entry = nullptr;
            for (QAction* a : form.MapMenu()->actions()) {
                entry = a->text().startsWith("Orienter l'antenne (court") ? a : entry;
            }
            ASSERT_NE(entry, nullptr);
            QMenu* menu = form.MapMenu();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
        } else if (how == "pinned") {
            form.TogglePin(kNewYork);
            PointAt(kMoscow);
            Key(Qt::Key_R, Qt::ControlModifier);
            form.TogglePin(kMoscow);
        } else if (how == "callsign") {
            // A country placed where the pointer measures New York.
            QTemporaryDir dir;
            QFile file(dir.filePath(QStringLiteral("cty.dat")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("Test Land: 05: 08: NA: 40.46: 74.00: 5.0: K:\n    K;\n");
            file.close();
            form.SetCountryFilePlaces({}, {}, file.fileName());
            Child<CityCombo>("Combo1")->setEditText(QStringLiteral("K1ABC"));
            form.ValidateCity();
            ASSERT_TRUE(form.CallsignCountry().has_value());
            PointAt(kMoscow);
            Key(Qt::Key_R, Qt::ControlModifier);
            form.TogglePin(kMoscow);
        }
        const QByteArray sent = NextCommand(daemon, before);
        if (std::isinf(c.azimuth)) {
            EXPECT_TRUE(sent.isEmpty()) << sent.toStdString();
        } else if (std::isnan(c.azimuth)) {
            EXPECT_EQ(sent, "S");
        } else {
            EXPECT_NEAR(Azimuth(sent), c.azimuth, 0.051) << sent.toStdString();
        }
    }
}

// The third needle and the text follow what the rotator reports; nothing of them shows, and
// nothing runs, without a rotator.
TEST_F(RotatorFormTest, NeedleAndTextFollowTheRotator) {
    EXPECT_FALSE(Status()->isVisible());
    EXPECT_FALSE(Dial()->RotorNeedleVisible());
    EXPECT_FALSE(form.Rotator()->Busy());
    for (QAction* a : form.MapMenu()->actions()) {
        EXPECT_EQ(a->isEnabled(), !a->text().contains("rotor") && !a->text().contains("antenne"))
            << a->text().toStdString();
    }
    PointAt(kNewYork);
    Key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(form.Rotator()->state(), Client::State::kDisconnected);

    testing::FakeRotctld daemon;
    form.SetRotator(QStringLiteral("127.0.0.1"), daemon.Port(), false);
    const struct {
        const char* reported;
        const char* text;
        float x2, y2;  // the free end, twips in the dial's frame
    } readings[] = {
        {"287.000000", "Rotor 287 °", 1753.11f, 492.29f},
        {"-90.000000", "Rotor 270 °", 1740.0f, 580.0f},
        {"405.500000", "Rotor 45 °", 2253.98f, 369.73f},
        {"0.000000", "Rotor 0 °", 2040.0f, 280.0f},
        // Whole degrees as the dial writes them: 291.5 is the course it shows as 292 °.
        {"-68.500000", "Rotor 292 °", 1760.87f, 470.05f},
        {"45.700000", "Rotor 45 °", 2254.71f, 370.48f},
    };
    for (const auto& r : readings) {
        SCOPED_TRACE(r.reported);
        daemon.azimuth = r.reported;
        ASSERT_TRUE(WaitForStatus(QString::fromUtf8(r.text)));
        EXPECT_TRUE(Status()->isVisible());
        EXPECT_TRUE(Dial()->RotorNeedleVisible());
        EXPECT_NEAR(Dial()->RotorNeedleX2(), r.x2, 0.5f);
        EXPECT_NEAR(Dial()->RotorNeedleY2(), r.y2, 0.5f);
    }
    // Not more than twice a second: over 2 s, at most 5 readings.
    const auto polls = [&] { return daemon.commands.count("p"); };
    const qsizetype before = polls();
    QTest::qWait(2000);
    EXPECT_LE(polls() - before, 5);
    EXPECT_GE(polls() - before, 3);

    form.SetRotator(QString(), 4533, false);
    EXPECT_FALSE(Status()->isVisible());
    EXPECT_FALSE(Dial()->RotorNeedleVisible());
    EXPECT_FALSE(form.Rotator()->Busy());
}

// A daemon that stops answering or goes away is reported within 3 s; the window goes on
// measuring, and the next Ctrl+R connects again.
TEST_F(RotatorFormTest, FaultsAreShownAndTheNextTurnReconnects) {
    const struct {
        const char* name;
        Mode mode;
        bool refuse;
        const char* text;
    } faults[] = {
        {"silent", Mode::kSilent, false, "Rotor : pas de réponse"},
        {"gone", Mode::kGood, true, "Rotor : connexion refusée"},
        {"garbage", Mode::kGarbage, false, "Rotor : réponse illisible"},
        {"huge line", Mode::kHugeLine, false, "Rotor : ligne trop longue"},
    };
    for (const auto& f : faults) {
        SCOPED_TRACE(f.name);
        testing::FakeRotctld daemon;
        const quint16 port = daemon.Port();
        daemon.mode = f.mode;
        if (f.refuse) {
            daemon.Refuse();
        }
        form.SetRotator(QStringLiteral("127.0.0.1"), port, false);
        ASSERT_TRUE(WaitForStatus(QString::fromUtf8(f.text), 3000))
            << Status()->text().toStdString();
        EXPECT_FALSE(Dial()->RotorNeedleVisible());
        EXPECT_FALSE(form.Rotator()->Busy());
        PointAt(kMoscow);
        EXPECT_NE(Child("LblAzimut")->text(), "292 °");
        PointAt(kNewYork);
        EXPECT_EQ(Child("LblAzimut")->text(), "292 °");

        daemon.mode = Mode::kGood;
        if (f.refuse) {
            daemon.Listen(port);
        }
        const qsizetype before = daemon.commands.size();
        Key(Qt::Key_R, Qt::ControlModifier);
        // On the daemon's −180…450 span, from 10, the nearest way is westwards.
        EXPECT_NEAR(Azimuth(NextCommand(daemon, before)), kShortPath - 360.0, 0.051);
        EXPECT_TRUE(WaitForStatus(QStringLiteral("Rotor 10 °")));
        form.SetRotator(QString(), 4533, false);
    }
}

// "Rotor…" keeps the address for the next runs; an address given for one run is not kept.
TEST(RotatorSettings, DialogKeepsTheAddress) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("orbida.conf"));
    testing::FakePlatform fake;
    {
        QSettings settings(path, QSettings::IniFormat);
        Form1 form(cities::ParseCityFile(kCities), fake.Services());
        form.UseSettings(&settings);
        form.OpenRotatorDialog();
        auto* dialog = form.findChild<RotatorDialog*>(QStringLiteral("RotatorDialog"));
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->Host(), "localhost");
        EXPECT_EQ(dialog->Port(), 4533);
        dialog->findChild<QLineEdit*>(QStringLiteral("host"))->setText(QStringLiteral("shack"));
        dialog->findChild<QSpinBox*>(QStringLiteral("port"))->setValue(4540);
        dialog->accept();
        EXPECT_EQ(form.Rotator()->Host(), "shack");
        form.SetRotator(QStringLiteral("127.0.0.1"), 4600, false);  // --rotator
    }
    QSettings settings(path, QSettings::IniFormat);
    const RotatorAddress kept = ReadRotatorAddress(settings);
    EXPECT_EQ(kept.host, "shack");
    EXPECT_EQ(kept.port, 4540);
    Form1 form(cities::ParseCityFile(kCities), fake.Services());
    form.UseSettings(&settings);
    EXPECT_EQ(form.Rotator()->Host(), "shack");
    EXPECT_EQ(form.Rotator()->Port(), 4540);

    // Odd values read as no rotator or as the usual port.
    const struct {
        const char* file;
        const char* host;
        quint16 port;
    } odd[] = {
        {"[rotator]\nhost=shack\nport=99999\n", "shack", 4533},
        {"[rotator]\nhost=a b\nport=4540\n", "", 4533},
        {"[rotator]\nport=4540\n", "", 4533},
    };
    for (const auto& o : odd) {
        SCOPED_TRACE(o.file);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(o.file);
        file.close();
        const QSettings read(path, QSettings::IniFormat);
        EXPECT_EQ(ReadRotatorAddress(read).host, QString::fromUtf8(o.host));
        EXPECT_EQ(ReadRotatorAddress(read).port, o.port);
    }
}

// Hamlib's dummy rotator, turned from the window and read back on a connection of the test's own.
TEST_F(RotatorFormTest, TurnsHamlibsDummyRotator) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("rotctld"));
    if (program.isEmpty()) {
        GTEST_SKIP() << "rotctld not installed (Debian libhamlib-utils)";
    }
    testing::FakeRotctld probe;  // a free loopback port, given back for the daemon
    const quint16 port = probe.Port();
    probe.Refuse();
    QProcess daemon;
    daemon.start(program, {"-m", "1", "-T", "127.0.0.1", "-t", QString::number(port)});
    ASSERT_TRUE(daemon.waitForStarted(2000));
    const auto position = [&] { return testing::DaemonAzimuth(port); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return position().has_value(); }, 3000));
    form.SetRotator(QStringLiteral("127.0.0.1"), port, false);
    ASSERT_TRUE(WaitForStatus(QStringLiteral("Rotor 0 °")));

    // 291.5 on its −180…450 span is reached westwards through −68.5, at 6 °/s.
    PointAt(kNewYork);
    Key(Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return position().value_or(0) < -5.0; }, 3000));
    // The needle follows, on the west side of the dial.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dial()->RotorNeedleX2() < 2040.0f - 30.0f; }, 2000));
    Key(Qt::Key_Space, Qt::ControlModifier);
    QTest::qWait(700);
    const double stopped = position().value_or(1e9);
    QTest::qWait(700);
    EXPECT_NEAR(position().value_or(-1e9), stopped, 0.05);

    form.SetRotator(QString(), 4533, false);
    daemon.kill();
    daemon.waitForFinished(2000);
}

}  // namespace
}  // namespace orbida::ui
