// The main window on Qt's offscreen platform, driven with a fake pointer: what it shows at
// start-up, after each tick and after choosing a city, and what it asks of the desktop.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>
#include <chrono>
#include <cmath>
#include <functional>
#include <vector>

#include "cities/city_file.h"
#include "fake_platform.h"
#include "tracking/tick.h"
#include "ui/city_combo.h"
#include "ui/form1.h"
#include "ui/frame_widget.h"
#include "ui/map_widget.h"
#include "ui/style.h"

namespace orbida::ui {
namespace {

const char kCities[] =
    "Paris, 48.8566, -2.3522\n"
    "New York, 40.7143, 74.0060\n"
    "Besançon, 47.2380, -6.0244\n"
    "Sydney, -33.8678, -151.2073\n";

class Form1Test : public ::testing::Test {
  protected:
    Form1Test() : form(cities::ParseCityFile(kCities), fake.Services()) {}

    template <typename T>
    T* Child(const char* name) {
        T* child = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QString Text(const char* name) { return Child<QLabel>(name)->text(); }
    bool Visible(const char* name) { return !Child<QWidget>(name)->isHidden(); }
    MapWidget* Map() { return Child<MapWidget>("Carte"); }
    CityCombo* Combo() { return Child<CityCombo>("Combo1"); }

    // The pointer at a pixel of the window.
    void PointAt(int x, int y) { form.TickAt(form.mapToGlobal(QPoint(x, y))); }

    void Choose(int index) {
        Combo()->setCurrentIndex(index);
        Child<QPushButton>("ValidVille")->click();
    }

    testing::FakePlatform fake;
    Form1 form;
};

TEST_F(Form1Test, StartupState) {
    EXPECT_EQ(form.windowTitle(), "  ORBIDA");
    EXPECT_EQ(form.size(), QSize(676, 507));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Text("MousedegLat"), "Latitude");
    EXPECT_EQ(Text("MouseDegLon"), "Longitude");
    EXPECT_EQ(Text("LblAzimut"), "Label10");
    EXPECT_EQ(Text("LblLonVille"), "            0°");
    EXPECT_EQ(Text("LblLatVille"), "            0°");
    EXPECT_EQ(Text("LblLocatVille"), "JJ00AA");
    EXPECT_FALSE(Visible("LblVilleDistance"));
    EXPECT_FALSE(Visible("LblDistance"));
    EXPECT_FALSE(Visible("CmdMapQuest"));
    EXPECT_EQ(Combo()->currentText(), "    Choisir un ville");
    EXPECT_EQ(Combo()->count(), 4);
    EXPECT_EQ(Map()->EntoureLeft(), 4760.0f);
    EXPECT_EQ(Map()->EntoureTop(), 2360.0f);
    for (int n = 1; n <= 12; ++n) {
        EXPECT_EQ(Map()->DotVisible(n), n <= 5) << n;
    }
    EXPECT_EQ(Child<QWidget>("Carte")->geometry(), QRect(16, 48, 642, 321));
    EXPECT_EQ(Child<QWidget>("Frame1")->geometry(), QRect(416, 408, 169, 73));
}

// The window shows the frame for where the pointer is from its first paint, before any pointer
// event: no start-up text, no dot from the layout's start positions.
TEST(Form1FirstPaint, ShowsThePointersFrameBeforeAnyMove) {
    struct Case {
        const char* name;
        QPoint mapPixel;  // where the pointer rests, relative to the map's top-left corner
        bool tracking;
    };
    const Case cases[] = {
        {"far off the window", {-2000, -2000}, false},
        {"over the map", {400, 200}, true},
        {"over the map's top strip", {300, 5}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::FakePlatform fake;
        Form1 form(cities::ParseCityFile(kCities), fake.Services());
        auto* map = form.findChild<MapWidget*>("Carte");
        fake.pointer.position = map->mapToGlobal(c.mapPixel);
        form.show();
        const QImage image = form.grab().toImage();
        EXPECT_FALSE(image.isNull());

        for (const QLabel* label : form.findChildren<QLabel*>()) {
            if (label->isVisibleTo(&form)) {
                for (const char* placeholder : {"Label10", "Longitude", "Latitude"}) {
                    EXPECT_NE(label->text(), placeholder) << label->objectName().toStdString();
                }
            }
        }
        EXPECT_EQ(map->CrosshairVisible(), c.tracking);
        int dots = 0;
        for (int n = 1; n <= 12; ++n) {
            dots += map->DotVisible(n) ? 1 : 0;
        }
        EXPECT_EQ(dots > 0, c.tracking) << "dots only along a route";
    }
}

// The buttons' hand grows with the screen's pixel ratio as the system pointers do (run at the
// ratios 1, 1.5 and 2).
TEST(Form1Pointers, HandFollowsThePixelRatio) {
    const qreal ratio = qApp->devicePixelRatio();
    const QPixmap hand = HandCursor().pixmap();
    EXPECT_EQ(hand.width(), static_cast<int>(std::lround(32 * ratio)));
    EXPECT_DOUBLE_EQ(hand.devicePixelRatio(), ratio);
    EXPECT_EQ(hand.toImage().pixelColor(hand.width() / 3, hand.height() / 2).alpha(), 255)
        << "the drawing is scaled with the image";
}

// Whatever the pointer does, the widgets show the frame the tick computed.
TEST_F(Form1Test, TickIsAppliedToTheWidgets) {
    struct Case {
        const char* name;
        QPoint pixel;
        bool tracking;
    };
    const Case cases[] = {
        {"over the map, central Africa", {342, 233}, true},
        {"over the map, near the date line", {650, 150}, true},
        {"below the window", {300, 900}, false},
        {"far left at map height", {-400, 200}, false},
        {"the map's top strip: measured point above it", {342, 58}, false},
        {"just below the strip", {342, 75}, true},
        {"the map's left strip", {18, 200}, false},
        {"back on the map", {100, 300}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PointAt(c.pixel.x(), c.pixel.y());

        tracking::TickInput in;
        const QPoint global = form.mapToGlobal(c.pixel);
        const QPoint origin = form.mapToGlobal(QPoint(0, 0));
        in.cursorX = global.x();
        in.cursorY = global.y();
        in.windowLeft = static_cast<float>(origin.x() * 15);
        in.windowTop = static_cast<float>(origin.y() * 15);
        in.entoureLeft = 4760.0f;
        in.pi = tracking::ComputePi();
        in.degToRad = tracking::ComputeDegToRad(in.pi);
        const tracking::TickFrame f = tracking::ComputeTick(in);

        EXPECT_EQ(f.tracking, c.tracking);
        EXPECT_EQ(Map()->CrosshairVisible(), c.tracking);
        // The pointer is hidden only where the crosshair stands in for it.
        EXPECT_EQ(Map()->cursor().shape(), c.tracking ? Qt::BlankCursor : Qt::ArrowCursor);
        EXPECT_EQ(Visible("MouseDegLon"), c.tracking);
        EXPECT_EQ(Visible("LblAzimut"), c.tracking);
        EXPECT_EQ(Child<DialFrame>("Frame1")->NeedleVisible(), c.tracking);
        EXPECT_EQ(Map()->CrosshairX(), f.crosshairX);
        EXPECT_EQ(Map()->CrosshairY(), f.crosshairY);
        if (f.longitudeReadout) {
            EXPECT_EQ(Text("MouseDegLon").toStdString(), *f.longitudeReadout);
        }
        EXPECT_EQ(Text("LblDistance").toStdString(), f.distanceText);
        EXPECT_EQ(Text("LblAzimut").toStdString(), f.dial.text);
        EXPECT_EQ(Child<DialFrame>("Frame1")->NeedleX2(), f.dial.needleX2);
        for (int n = 1; n <= 12; ++n) {
            const tracking::DotUpdate& d = f.dots.Shape(n);
            EXPECT_EQ(Map()->DotVisible(n), d.visible) << n;
            if (d.placed) {
                EXPECT_EQ(Map()->DotTop(n), d.top) << n;
                EXPECT_EQ(Map()->DotLeft(n), d.left) << n;
            }
        }
    }
    // Pixel (342, 233) measures map twips (4800, 2405): longitude 0.56, latitude 0.09.
    PointAt(342, 233);
    EXPECT_EQ(Text("MouseDegLon"), "Longitude: 0°  33'  36'' Ouest");
    EXPECT_EQ(Text("MousedegLat"), "Latitude: 0°  5'  24'' Nord");
}

// Pointer moves faster than the screen refreshes are shown at the end of the frame; leaving the
// window shows the idle state at once, and a move still waiting must not undo it.
TEST_F(Form1Test, FastMovesAreGatheredIntoFrames) {
    const auto move = [&](QPoint at) {
        QMouseEvent event(QEvent::MouseMove, QPointF(at), form.mapToGlobal(QPointF(at)),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &event);
    };
    const auto wait = [](int ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    };
    move({200, 200});
    const float first = Map()->CrosshairX();
    EXPECT_EQ(first, static_cast<float>(200 * 15 - 330)) << "the first move shown at once";
    move({210, 200});
    move({220, 200});
    EXPECT_EQ(Map()->CrosshairX(), first) << "gathered until the frame ends";
    wait(60);
    EXPECT_EQ(Map()->CrosshairX(), static_cast<float>(220 * 15 - 330)) << "the last move shown";

    // Leaving, whether the session tells where the pointer went (it is below the window) or
    // not (Wayland, with the pointer's last position still over the map).
    for (const bool known : {true, false}) {
        fake.session.pointerKnownOutside = known;
        wait(30);
        move({230, 200});
        EXPECT_TRUE(Map()->CrosshairVisible()) << known;
        move({240, 200});  // waiting for its frame
        fake.pointer.position = form.mapToGlobal(known ? QPoint(300, 900) : QPoint(250, 200));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&form, &leave);
        wait(60);
        EXPECT_FALSE(Map()->CrosshairVisible()) << known;
    }
}

// A window moved under a still pointer measures the pointer again.
TEST_F(Form1Test, MovingTheWindowUnderAStillPointerTicksAgain) {
    Choose(0);  // a reference that the tick leaves as it is
    const QPoint moves[] = {{30, 0}, {0, 20}, {-10, -10}};
    for (const QPoint& by : moves) {
        SCOPED_TRACE(::testing::Message() << by.x() << ", " << by.y());
        const QPoint pointer = form.mapToGlobal(QPoint(200, 200));
        fake.pointer.position = pointer;
        form.TickAt(pointer);
        const float x = Map()->CrosshairX();
        const float y = Map()->CrosshairY();
        form.move(form.pos() + by);
        form.TickAt(pointer);
        EXPECT_EQ(Map()->CrosshairX(), x - static_cast<float>(15 * by.x()));
        EXPECT_EQ(Map()->CrosshairY(), y - static_cast<float>(15 * by.y()));
    }
}

TEST_F(Form1Test, ChoosingParis) {
    Choose(0);
    EXPECT_FLOAT_EQ(Map()->EntoureLeft(), 4807.9214f);
    EXPECT_FLOAT_EQ(Map()->EntoureTop(), 1030.5859f);
    EXPECT_EQ(Text("LblLonVille"), "2°  21'  8''   Est");
    EXPECT_EQ(Text("LblLatVille"), "48°  51'  24''   Nord");
    EXPECT_EQ(Text("LblLocatVille"), "JN18EU");
    EXPECT_EQ(Text("LblVilleDistance"), "PARIS");
    EXPECT_TRUE(Visible("LblVilleDistance"));
    EXPECT_TRUE(Visible("LblDistance"));
    EXPECT_EQ(form.Reference().referenceHundredths.latitude, 48.85);
    EXPECT_EQ(form.Reference().referenceHundredths.longitude, -2.36);
    EXPECT_EQ(fake.connection.checks, 1);

    // Accented names are upper-cased beside the distance; the list keeps them as written.
    Choose(2);
    EXPECT_EQ(Text("LblVilleDistance"), "BESANÇON");
    EXPECT_EQ(Combo()->itemText(2), "Besançon");
}

// Keys typed into the city box, one event per character as the keyboard sends them.
void Type(QWidget* edit, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
}

void Key(QWidget* edit, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(edit, &press);
    QApplication::processEvents();
}

// "Valider" and Enter take the first city whose name begins with what was typed; when none does,
// nothing changes and a tip under the box says why.
TEST_F(Form1Test, TypedTextChoosesTheFirstCityItBegins) {
    form.show();
    QLineEdit* edit = Combo()->lineEdit();
    const QString noCity = QString::fromUtf8("Aucune ville ne commence par «\u00a0xyz\u00a0»");
    struct Step {
        const char* typed;
        bool enter;  // else "Valider"
        const char* city;
        const char* box;
        QString hint;
    };
    const Step steps[] = {
        {"bes", true, "BESANÇON", "Besançon", {}},   {"NEW Y", false, "NEW YORK", "New York", {}},
        {"xyz", true, "NEW YORK", "xyz", noCity},    {"xyz", false, "NEW YORK", "xyz", noCity},
        {"  sydney", false, "SYDNEY", "Sydney", {}}, {"", false, "SYDNEY", "", {}},
        {"pa", true, "PARIS", "Paris", {}},
    };
    int checks = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.typed);
        edit->clear();
        Type(edit, QString::fromUtf8(step.typed));
        Combo()->completer()->popup()->hide();
        if (step.enter) {
            Key(edit, Qt::Key_Return);
        } else {
            Child<QPushButton>("ValidVille")->click();
        }
        const bool chosen = step.hint.isEmpty() && step.typed[0] != '\0';
        checks += chosen ? 1 : 0;
        EXPECT_EQ(fake.connection.checks, checks);
        EXPECT_EQ(Text("LblVilleDistance"), QString::fromUtf8(step.city));
        EXPECT_EQ(Combo()->currentText(), QString::fromUtf8(step.box));
        EXPECT_EQ(Combo()->count(), 4) << "what the user types is never inserted";
        auto* hint = form.findChild<QLabel*>("InputHint");
        const bool shown = hint != nullptr && hint->isVisible();
        EXPECT_EQ(shown, !step.hint.isEmpty());
        if (shown) {
            EXPECT_EQ(hint->text(), step.hint);
            const QPoint under = Combo()->mapToGlobal(QPoint(0, Combo()->height()));
            EXPECT_GE(hint->geometry().top(), under.y());
            EXPECT_LT(hint->geometry().top(), under.y() + 10);
        }
    }
}

// The start text is never typed into: the first key replaces it, wherever the cursor was put.
// The name index is built on a worker once the window has painted, and reaches the box: what a
// typed text chooses is the same before (by a scan) and after.
TEST(Form1CityIndex, ArrivesAfterTheFirstPaintAndChoosesAsTheScanDid) {
    testing::FakePlatform fake;
    Form1 form(cities::ParseCityFile(kCities), fake.Services());
    auto* combo = form.findChild<CityCombo*>("Combo1");
    const QString typed[] = {"par", "PARIS", "new", "besan", "xyz"};
    const auto choices = [&] {
        std::vector<int> chosen;
        for (const QString& text : typed) {
            combo->setEditText(text);
            chosen.push_back(combo->SelectedIndex());
        }
        return chosen;
    };
    const std::vector<int> byScan = choices();
    EXPECT_FALSE(combo->HasIndex());
    form.show();
    QElapsedTimer waited;
    waited.start();
    while (!combo->HasIndex() && waited.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ASSERT_TRUE(combo->HasIndex());
    EXPECT_EQ(choices(), byScan);
    EXPECT_EQ(byScan[0], 0);
    EXPECT_EQ(byScan[4], -1);
}

TEST(Form1StartText, FirstKeyReplacesIt) {
    struct Case {
        int cursor;  // -1: a click in the middle of the text
        const char* typed;
    };
    for (const Case& c : {Case{-1, "paris"}, Case{0, "syd"}, Case{20, "bes"}, Case{8, "\b"}}) {
        SCOPED_TRACE(c.typed);
        testing::FakePlatform fake;
        Form1 form(cities::ParseCityFile(kCities), fake.Services());
        form.show();
        QLineEdit* edit = form.findChild<CityCombo*>("Combo1")->lineEdit();
        edit->setFocus();
        if (c.cursor < 0) {
            for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent click(type, QPointF(40, 5), edit->mapToGlobal(QPointF(40, 5)),
                                  Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(edit, &click);
            }
        } else {
            edit->setCursorPosition(c.cursor);
        }
        const QString typed = QString::fromUtf8(c.typed);
        if (typed == "\b") {
            Key(edit, Qt::Key_Backspace);
        } else {
            Type(edit, typed);
        }
        EXPECT_EQ(edit->text(), typed == "\b" ? QString() : typed);
    }
}

// After a choice, the drop-down list opens at the chosen city; every city can be chosen by its
// position, even one whose name is longer than the box can hold.
TEST(Form1CityList, OpensAtTheChoiceAndChoosesByPosition) {
    QString text;
    for (int n = 0; n < 60; ++n) {
        text +=
            QStringLiteral("Ville %1, %2, %3\n").arg(n, 2, 10, QChar(u'0')).arg(n + 1).arg(-n - 1);
    }
    // Two names alike for more characters than the box holds, then different.
    const QString stem(40000, QChar('A'));
    text += stem + QStringLiteral("B, 10, 10\n") + stem + QStringLiteral("C, 20, 20\n");
    testing::FakePlatform fake;
    const QByteArray bytes = text.toUtf8();
    Form1 form(cities::ParseCityFile(bytes.toStdString()), fake.Services());
    form.show();
    auto* combo = form.findChild<CityCombo*>("Combo1");
    auto* label = form.findChild<QLabel*>("LblVilleDistance");
    ASSERT_EQ(combo->count(), 62);

    struct Case {
        const char* name;
        std::function<void()> choose;
        int index;
    };
    const Case cases[] = {
        {"a suggestion",
         [&] {
             Type(combo->lineEdit(), QStringLiteral("ville 4"));
             QCompleter* completer = combo->completer();
             completer->popup()->hide();
             const QAbstractItemModel* shown = completer->completionModel();
             const QModelIndexList row =
                 shown->match(shown->index(0, 0), Qt::DisplayRole, QStringLiteral("Ville 45"), 1,
                              Qt::MatchExactly);
             ASSERT_EQ(row.size(), 1);
             emit completer->activated(row.front());
             Key(combo->lineEdit(), Qt::Key_Return);
         },
         45},
        {"the first long name", [&] { combo->setCurrentIndex(60); }, 60},
        {"the second long name", [&] { combo->setCurrentIndex(61); }, 61},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        combo->lineEdit()->clear();
        c.choose();
        form.ValidateCity();
        EXPECT_EQ(label->text(), combo->itemText(c.index).toUpper());
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        EXPECT_EQ(view->currentIndex().row(), c.index);
        EXPECT_TRUE(view->viewport()->rect().intersects(view->visualRect(view->currentIndex())));
        combo->hidePopup();
    }
}

TEST_F(Form1Test, WebMapButtonFollowsTheConnection) {
    struct Case {
        const char* name;
        cities::ConnectionReport report;
        bool shownOffTheMap;
    };
    const Case cases[] = {
        {"no connection", {false, false}, false},
        {"local network", {true, false}, true},
        {"online", {false, true}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::FakePlatform platform;
        platform.connection.report = c.report;
        Form1 window(cities::ParseCityFile(kCities), platform.Services());
        auto* button = window.findChild<QPushButton*>("CmdMapQuest");
        window.findChild<CityCombo*>("Combo1")->setCurrentIndex(0);
        window.ValidateCity();
        window.TickAt(window.mapToGlobal(QPoint(300, 200)));
        EXPECT_TRUE(button->isHidden()) << "hidden over the map";
        window.TickAt(window.mapToGlobal(QPoint(300, 900)));
        EXPECT_EQ(!button->isHidden(), c.shownOffTheMap);
    }
}

TEST_F(Form1Test, WebMapTooltipAndClick) {
    auto* button = Child<QPushButton>("CmdMapQuest");
    const auto hover = [&] {
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &move);
    };
    hover();
    EXPECT_EQ(button->toolTip(), "  https://www.mapquest.com  ");
    Choose(0);
    hover();
    EXPECT_EQ(button->toolTip(), "  Situer Paris avec https://www.mapquest.com  ");
    Combo()->setCurrentIndex(3);  // picked, not validated
    hover();
    EXPECT_EQ(button->toolTip(), "  Situer Sydney avec https://www.mapquest.com  ");

    button->click();  // still locates the validated city
    ASSERT_EQ(fake.urls.opened.size(), 1u);
    const QUrlQuery query(fake.urls.opened[0]);
    EXPECT_EQ(query.queryItemValue("latitude"), "48.8566");
    EXPECT_EQ(query.queryItemValue("longitude"), "2.3522");
    EXPECT_EQ(form.Text1(), "48.8566");
    EXPECT_EQ(form.Text2(), "2.3522");

    // An address that cannot be handed over shows the one message of the program.
    fake.urls.succeed = false;
    button->click();
    EXPECT_EQ(fake.session.messages,
              std::vector<QString>{"Impossible de se connecter au site GoogleMaps"});

    Child<QPushButton>("CmdQuitte")->click();
    EXPECT_EQ(fake.session.exits, std::vector<int>{0});
}

TEST_F(Form1Test, DragStartsOnlyFromTheSurfaceWithTheLeftButton) {
    const auto mouse = [](QEvent::Type type, QWidget* target, QPoint at, Qt::MouseButton button,
                          Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    const auto press = [&](QWidget* target, QPoint at, Qt::MouseButton button) {
        mouse(QEvent::MouseButtonPress, target, at, button, button);
    };
    press(&form, {560, 30}, Qt::RightButton);
    press(&form, {560, 30}, Qt::MiddleButton);
    EXPECT_TRUE(fake.windows.topmost.empty());
    EXPECT_TRUE(fake.windows.moved.empty());
    press(Child<QLabel>("MouseDegLon"), {5, 5}, Qt::LeftButton);
    press(Child<QWidget>("Carte"), {5, 5}, Qt::LeftButton);
    press(Child<QLabel>("Titre2"), {5, 5}, Qt::LeftButton);
    EXPECT_TRUE(fake.windows.topmost.empty()) << "labels and the map take their own presses";

    // On the silver border: the press alone makes the window topmost; the window system moves
    // it only once the pointer has travelled the drag distance with the button held.
    const int distance = QApplication::startDragDistance();
    struct Step {
        const char* name;
        QEvent::Type type;
        QPoint at;
        Qt::MouseButtons held;
        std::size_t moves;
    };
    const Step steps[] = {
        {"press", QEvent::MouseButtonPress, {2, 250}, Qt::LeftButton, 0},
        {"a tremor", QEvent::MouseMove, {2 + distance - 1, 250}, Qt::LeftButton, 0},
        {"the drag distance", QEvent::MouseMove, {2, 250 + distance}, Qt::LeftButton, 1},
        {"further on", QEvent::MouseMove, {2, 280}, Qt::LeftButton, 1},
        {"release", QEvent::MouseButtonRelease, {2, 280}, Qt::NoButton, 1},
        {"a click", QEvent::MouseButtonPress, {2, 250}, Qt::LeftButton, 1},
        {"its release", QEvent::MouseButtonRelease, {2, 250}, Qt::NoButton, 1},
        {"moving with no button", QEvent::MouseMove, {2, 300}, Qt::NoButton, 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        mouse(step.type, &form, step.at,
              step.type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, step.held);
        EXPECT_EQ(fake.windows.moved.size(), step.moves);
    }
    ASSERT_EQ(fake.windows.topmost.size(), 2u);
    EXPECT_EQ(fake.windows.topmost[0], &form);

    // The about box opened afterwards floats above the main window too.
    form.ShowAbout();
    ASSERT_EQ(fake.windows.topmost.size(), 3u);
    EXPECT_EQ(fake.windows.topmost[2], form.About());
}

TEST_F(Form1Test, CityListHeight) {
    EXPECT_EQ(Combo()->OuterHeight(), 450);
    form.show();
    Combo()->showPopup();
    QWidget* popup = Combo()->view()->window();
    EXPECT_EQ(popup->height() + Combo()->height(), 450);
    EXPECT_EQ(Combo()->geometry().width(), 113) << "the box keeps its own width";
    Combo()->hidePopup();
}

// Every text the program can write fits its label at 96 dpi.
TEST_F(Form1Test, LongestTextsFitTheirLabels) {
    struct Case {
        const char* label;
        const char* text;
    };
    const Case cases[] = {
        {"MouseDegLon", "Longitude: 179°  59'  59'' Ouest"},
        {"MousedegLat", "Latitude: 89°  59'  59'' Nord"},
        {"LblDistance", "  est à 20015  Kms"},
        {"LblDistance", "  est à -9999  Kms"},
        {"LblVilleDistance", "SAN NICOLÁS DE LOS GARZA"},
        {"LblLonVille", "179°  59'  59''   Ouest"},
        {"LblLatVille", "89°  59'  59''   Nord"},
        {"LblAzimut", "360 °"},
        {"Label10", "Ville --> curseur"},
        {"Titre2", "ORBIDA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QLabel* label = Child<QLabel>(c.label);
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(QString::fromUtf8(c.text)),
                  label->width());
    }
}

// A value too long for its label (the file does not limit coordinates) is drawn on the label's one
// line, cut short, and never over its neighbours; the label keeps the whole value.
TEST(Form1Readouts, OverlongTextsStayOnTheirLine) {
    testing::FakePlatform fake;
    Form1 form(cities::ParseCityFile("Huge, 1e306, -1e306\n"), fake.Services());
    form.show();
    form.findChild<CityCombo*>("Combo1")->setCurrentIndex(0);
    form.ValidateCity();
    const char* const names[] = {"LblLonVille", "LblLatVille", "MouseDegLon",
                                 "MousedegLat", "LblDistance", "LblAzimut"};
    std::vector<QLabel*> labels;
    for (const char* name : names) {
        labels.push_back(form.findChild<QLabel*>(name));
        labels.back()->show();
    }
    for (QLabel* label : {labels[2], labels[3], labels[4], labels[5]}) {
        label->setText(QString(400, QChar('8')));
    }
    const QImage drawn = form.grab().toImage();
    std::vector<QString> texts;
    for (QLabel* label : labels) {
        EXPECT_GT(label->text().size(), 300) << "the whole value is kept";
        texts.push_back(label->text());
        label->setText(QString());
    }
    const QImage blank = form.grab().toImage();
    const double ratio = drawn.devicePixelRatio();

    // Every pixel the texts changed lies on the first line of one of the labels.
    std::vector<QRect> lines;
    for (const QLabel* label : labels) {
        lines.emplace_back(label->mapTo(&form, QPoint(0, 0)),
                           QSize(label->width(), QFontMetrics(label->font()).height()));
    }
    std::vector<int> rightmost(labels.size(), -1);
    int outside = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixel(x, y) == blank.pixel(x, y)) {
                continue;
            }
            const QPoint at(static_cast<int>(x / ratio), static_cast<int>(y / ratio));
            bool inside = false;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (lines[i].contains(at)) {
                    inside = true;
                    rightmost[i] = std::max(rightmost[i], at.x());
                }
            }
            outside += inside ? 0 : 1;
        }
    }
    EXPECT_EQ(outside, 0) << "pixels drawn off the labels' lines";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_GT(rightmost[i], lines[i].right() - 20) << names[i] << ": drawn across the label";
    }
}

// Collects the regions of the paint events a widget receives.
class PaintRecorder : public QObject {
  public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QRegion region;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            region += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

void Settle() {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// The pixels a shape covers, from its position in twips: a dot's 7 and its 2-pixel outline
// around, the ring's 9 and half its outline, a crosshair line, the needle and half its width.
QRect DotOutline(int left, int top) {
    return QRect(left / 15 - 2, top / 15 - 2, 11, 11);
}
QRect RingOutline(double left, double top) {
    return QRect(static_cast<int>(left / 15) - 1, static_cast<int>(top / 15) - 1, 11, 11);
}
QRect Needle(double x2, double y2) {
    return QRectF(QPointF(2040, 600) / 15, QPointF(x2, y2) / 15)
        .normalized()
        .adjusted(-1, -1, 1, 1)
        .toAlignedRect();
}

// Only what changes is repainted, so the region must cover a shape where it was and where it now
// is, outline included: anything left out keeps its old image on the screen.
TEST(Repaint, ChangedShapesAreRepaintedWhereTheyWereAndAre) {
    struct Case {
        const char* name;
        void (*change)(MapWidget&, DialFrame&);
        std::vector<QRect> covered;
    };
    const QRect columnAt4440(296, 0, 1, 321);
    const QRect rowAt2280(0, 152, 641, 1);
    const Case cases[] = {
        {"a dot moves",
         [](MapWidget& map, DialFrame&) { map.SetDotPosition(1, 1500, 1500); },
         {DotOutline(3480, 960), DotOutline(1500, 1500)}},
        {"a dot hides",
         [](MapWidget& map, DialFrame&) { map.SetDotVisible(3, false); },
         {DotOutline(3480, 1440)}},
        {"a dot shows",
         [](MapWidget& map, DialFrame&) { map.SetDotVisible(6, true); },
         {DotOutline(3480, 2280)}},
        {"the ring moves",
         [](MapWidget& map, DialFrame&) { map.SetEntoure(4807.9214f, 1030.5859f); },
         {RingOutline(3840, 1680), RingOutline(4807.9214, 1030.5859)}},
        {"the crosshair moves",
         [](MapWidget& map, DialFrame&) { map.SetCrosshair(3000, 1500); },
         {columnAt4440, QRect(200, 0, 1, 321), rowAt2280, QRect(0, 100, 641, 1)}},
        // Along one axis only, the other line's full span no longer covers the old place.
        {"the crosshair moves sideways",
         [](MapWidget& map, DialFrame&) { map.SetCrosshair(3000, 2280); },
         {columnAt4440, QRect(200, 0, 1, 321)}},
        {"the crosshair moves up",
         [](MapWidget& map, DialFrame&) { map.SetCrosshair(4440, 1500); },
         {rowAt2280, QRect(0, 100, 641, 1)}},
        {"the crosshair hides",
         [](MapWidget& map, DialFrame&) { map.SetCrosshairVisible(false); },
         {columnAt4440, rowAt2280}},
        {"the needle turns west",
         [](MapWidget&, DialFrame& dial) { dial.SetNeedle(1740, 600); },
         {Needle(2300, 380), Needle(1740, 600)}},
        {"the needle hides",
         [](MapWidget&, DialFrame& dial) { dial.SetNeedleVisible(false); },
         {Needle(2300, 380)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapWidget map;
        map.resize(642, 321);
        DialFrame dial(QStringLiteral("Azimut"), Qt::cyan);
        dial.resize(169, 73);
        map.show();
        dial.show();
        Settle();
        PaintRecorder mapPaints(&map);
        PaintRecorder dialPaints(&dial);
        c.change(map, dial);
        Settle();
        EXPECT_NE(mapPaints.region, QRegion(map.rect())) << "all repainted: nothing is checked";
        for (const QRect& r : c.covered) {
            EXPECT_TRUE(QRegion(r).subtracted(mapPaints.region + dialPaints.region).isEmpty())
                << r.x() << ", " << r.y() << " " << r.width() << " x " << r.height();
        }
    }
}

// The map as painted: red dot outlines along the route, none far from it.
TEST_F(Form1Test, RouteDotsArePaintedOnTheMap) {
    // Red pixels in an area given in logical pixels, whatever the screen's pixel ratio.
    const auto red = [](const QImage& image, QRect area) {
        const double ratio = image.devicePixelRatio();
        const QRect device(
            QPoint(static_cast<int>(area.left() * ratio), static_cast<int>(area.top() * ratio)),
            QPoint(static_cast<int>((area.right() + 1) * ratio) - 1,
                   static_cast<int>((area.bottom() + 1) * ratio) - 1));
        const QRect inside = device.intersected(image.rect());
        int count = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += (c.red() > 200 && c.green() < 60 && c.blue() < 60) ? 1 : 0;
            }
        }
        return count;
    };
    form.show();
    Map()->grab();                // delivers the window's pending move before the pointer is placed
    Choose(0);                    // Paris
    PointAt(16 + 170, 48 + 125);  // over North America
    const QImage image = Map()->grab().toImage();
    for (int n : {1, 2, 3, 4, 5, 10, 12}) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(Map()->DotVisible(n));
        const QRect dot(static_cast<int>(Map()->DotLeft(n) / 15),
                        static_cast<int>(Map()->DotTop(n) / 15), 7, 7);
        EXPECT_GT(red(image, dot.adjusted(-1, -1, 1, 1)), 6);
    }
    EXPECT_EQ(red(image, QRect(0, 200, 640, 120)), 0) << "nothing in the southern half";
}

}  // namespace
}  // namespace orbida::ui

namespace orbida::ui {
namespace {

// The grey line at the winter solstice, 12:00 UTC: the sun over the Gulf of Guinea, the night
// over the Pacific and the Arctic.
class GreyLineTest : public Form1Test {
  protected:
    GreyLineTest() {
        using namespace std::chrono;
        fake.clock.now = WallTime{sys_days{2026y / 12 / 21} + hours{12} + seconds{30}};
    }
    // The map's pixels, one for each device pixel.
    QImage MapImage() { return Map()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(GreyLineTest, ShadesTheNightSideOnly) {
    EXPECT_FALSE(form.GreyLine());
    const QImage off = MapImage();
    form.SetGreyLine(true);
    EXPECT_TRUE(form.GreyLine());
    const QImage on = MapImage();
    ASSERT_EQ(off.size(), on.size());
    const qreal ratio = off.devicePixelRatio();

    // Points on the map (device-independent pixels): the brightness with the grey line on
    // against off, and whether it must be darker or identical.
    struct Case {
        const char* place;
        QPoint pixel;
        bool night;
    };
    const Case cases[] = {
        {"Pacific at midnight", {20, 160}, true}, {"North Pole", {321, 4}, true},
        {"Tokyo at night", {570, 97}, true},      {"Gulf of Guinea at noon", {321, 172}, false},
        {"Antarctica", {500, 310}, false},        {"Brazil in the morning", {220, 200}, false},
    };
    for (const Case& c : cases) {
        int darker = 0;
        int same = 0;
        for (int dy = 0; dy < 3; ++dy) {
            for (int dx = 0; dx < 3; ++dx) {
                const QPoint p = (c.pixel + QPoint(dx, dy)) * ratio;
                const int before = qGray(off.pixel(p));
                const int after = qGray(on.pixel(p));
                darker += after < before ? 1 : 0;
                same += off.pixel(p) == on.pixel(p) ? 1 : 0;
            }
        }
        if (c.night) {
            EXPECT_EQ(darker, 9) << c.place;
        } else {
            EXPECT_EQ(same, 9) << c.place;
        }
    }
    form.SetGreyLine(false);
    EXPECT_EQ(MapImage(), off);
}

// Sunrise and sunset for home (once a city is chosen) and for the point under the pointer, shown
// only while the grey line is on; Ctrl+G turns it on and off.
TEST_F(GreyLineTest, SunriseAndSunsetTexts) {
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    Choose(0);          // Paris
    PointAt(342, 233);  // over the map, near 0 N 0 E
    EXPECT_FALSE(Visible("LblSoleilVille"));
    EXPECT_FALSE(Visible("LblSoleilCible"));

    // Ctrl+G typed into the city box still reaches the window.
    Combo()->lineEdit()->setFocus();
    QTest::keyClick(Combo()->lineEdit(), Qt::Key_G, Qt::ControlModifier);
    ASSERT_TRUE(form.GreyLine());

    EXPECT_TRUE(Visible("LblSoleilVille"));
    EXPECT_EQ(Text("LblSoleilVille").toStdString(),
              "Domicile : Lever 07:41 UTC · Coucher 15:56 UTC");
    EXPECT_EQ(Text("LblSoleilCible").toStdString(), "Cible : Lever 05:57 UTC · Coucher 18:04 UTC");
    PointAt(342, 90);  // the Arctic in December
    EXPECT_EQ(Text("LblSoleilCible").toStdString(), "Cible : Nuit polaire");
    PointAt(342, 360);  // Antarctica
    EXPECT_EQ(Text("LblSoleilCible").toStdString(), "Cible : Jour polaire");
    PointAt(300, 900);  // off the map: no target
    EXPECT_FALSE(Visible("LblSoleilCible"));
    EXPECT_TRUE(Visible("LblSoleilVille"));

    form.SetGreyLine(false);
    EXPECT_FALSE(Visible("LblSoleilVille"));
}

// The shading is brought up to date at the turn of each minute, by a timer aimed at it, and at
// once when the wall clock has jumped (sleep, clock set) by the time the window is activated.
TEST_F(GreyLineTest, FollowsTheClock) {
    using namespace std::chrono;
    form.SetGreyLine(true);
    ASSERT_TRUE(Map()->Sun());
    EXPECT_TRUE(form.SunTimer().isActive());
    EXPECT_TRUE(form.SunTimer().isSingleShot());
    // 12:00:30 now: the next minute in 30 seconds.
    EXPECT_GE(form.SunTimer().interval(), 30000);
    EXPECT_LE(form.SunTimer().interval(), 30200);
    const double noonLongitude = Map()->Sun()->subsolar.longitude;

    // Six hours later, with no timer fired: the machine slept.
    fake.clock.now += hours{6};
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&form, &activate);
    ASSERT_TRUE(Map()->Sun());
    EXPECT_NEAR(Map()->Sun()->subsolar.longitude, noonLongitude + 90.0, 0.1);
    EXPECT_GE(form.SunTimer().interval(), 30000);
}

}  // namespace
}  // namespace orbida::ui
