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
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <QTimer>
#include <QUrlQuery>
#include <vector>

#include "cities/city_file.h"
#include "fake_platform.h"
#include "tracking/tick.h"
#include "ui/city_combo.h"
#include "ui/form1.h"
#include "ui/frame_widget.h"
#include "ui/map_widget.h"

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

    move({230, 200});
    move({240, 200});  // waiting for its frame
    fake.pointer.position = form.mapToGlobal(QPoint(300, 900));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&form, &leave);
    wait(60);
    EXPECT_FALSE(Map()->CrosshairVisible());
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

TEST_F(Form1Test, ValidatingWithoutAChoiceChangesNothing) {
    Child<QPushButton>("ValidVille")->click();
    EXPECT_EQ(Text("LblLocatVille"), "JJ00AA");
    EXPECT_EQ(Map()->EntoureLeft(), 4760.0f);
    EXPECT_EQ(fake.connection.checks, 0);
    Combo()->setEditText("Lyon");  // typed, not in the list
    Child<QPushButton>("ValidVille")->click();
    EXPECT_EQ(Text("LblLocatVille"), "JJ00AA");
    EXPECT_EQ(Combo()->count(), 4) << "what the user types is never inserted";
}

TEST_F(Form1Test, TypedNamesMatchWithoutCaseOrAccents) {
    struct Case {
        const char* typed;
        int index;
    };
    const Case cases[] = {{"besancon", 2}, {"BESANÇON", 2}, {"new york", 1}, {"bes", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Combo()->setEditText(QString::fromUtf8(c.typed));
        EXPECT_EQ(Combo()->SelectedIndex(), c.index);
    }
    // The completer offers "Besançon" for "bes".
    QCompleter* completer = Combo()->completer();
    completer->setCompletionPrefix(QStringLiteral("bes"));
    ASSERT_EQ(completer->completionCount(), 1);
    EXPECT_EQ(completer->currentCompletion(), "Besançon");

    // Enter in the list acts as "Valider".
    Combo()->setEditText(QStringLiteral("sydney"));
    emit Combo()->lineEdit()->returnPressed();
    QApplication::processEvents();
    EXPECT_EQ(Text("LblVilleDistance"), "SYDNEY");
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
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->windowTitle() + "|" + box->text();
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            box->accept();
        }
    });
    button->click();
    EXPECT_EQ(shown, "Orbida|Impossible de se connecter au site GoogleMaps");
}

TEST_F(Form1Test, DragStartsOnlyFromTheSurfaceWithTheLeftButton) {
    const auto press = [](QWidget* target, QPoint at, Qt::MouseButton button) {
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(at), target->mapToGlobal(QPointF(at)),
                          button, button, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    press(&form, {560, 30}, Qt::RightButton);
    press(&form, {560, 30}, Qt::MiddleButton);
    EXPECT_TRUE(fake.windows.topmost.empty());
    EXPECT_TRUE(fake.windows.moved.empty());
    press(Child<QLabel>("MouseDegLon"), {5, 5}, Qt::LeftButton);
    press(Child<QWidget>("Carte"), {5, 5}, Qt::LeftButton);
    press(Child<QLabel>("Titre2"), {5, 5}, Qt::LeftButton);
    EXPECT_TRUE(fake.windows.moved.empty()) << "labels and the map take their own presses";
    press(&form, {2, 250}, Qt::LeftButton);  // on the silver border
    ASSERT_EQ(fake.windows.topmost.size(), 1u);
    EXPECT_EQ(fake.windows.topmost[0], &form);
    EXPECT_EQ(fake.windows.moved.size(), 1u);

    // The about box opened afterwards floats above the main window too.
    form.ShowAbout();
    ASSERT_EQ(fake.windows.topmost.size(), 2u);
    EXPECT_EQ(fake.windows.topmost[1], form.About());
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
