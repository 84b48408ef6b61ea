// The main window on Qt's offscreen platform, driven with a fake pointer: what it shows before and
// after each tick and after choosing a city, what it repaints, and what it asks of the desktop.
#include <QAbstractItemView>
#include <QAccessible>
#include <QCompleter>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMap>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <cmath>
#include <functional>
#include <vector>

#include "form_fixture.h"
#include "tracking/tick.h"
#include "ui/window/style.h"

namespace orbida::ui {
namespace {

using Form1Test = testing::FormTest;
using testing::kCities;

void Mouse(QEvent::Type type, QWidget* target, QPoint at, Qt::MouseButton button = Qt::NoButton,
           Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// The window shows the frame for where the pointer is from its first paint, before any pointer
// event: no start-up text, no dot from the layout's start positions.
TEST(Form1FirstPaint, ShowsThePointersFrameBeforeAnyMove) {
    // Where the pointer rests, relative to the map's top-left corner, and whether it is tracked.
    const std::pair<QPoint, bool> cases[] = {{{-2000, -2000}, false}, {{400, 200}, true}};
    for (const auto& [at, tracking] : cases) {
        SCOPED_TRACE(tracking);
        testing::FakePlatform fake;
        Form1 form(cities::ParseCityFile(kCities), fake.Services());
        auto* map = form.findChild<MapWidget*>("Carte");
        fake.pointer = map->mapToGlobal(at);
        form.show();
        EXPECT_FALSE(form.grab().toImage().isNull());
        for (const QLabel* label : form.findChildren<QLabel*>()) {
            EXPECT_FALSE(label->isVisibleTo(&form) &&
                         QStringList({"Label10", "Longitude", "Latitude"}).contains(label->text()))
                << label->objectName().toStdString();
        }
        EXPECT_EQ(map->CrosshairVisible(), tracking);
        int dots = 0;
        for (int n = 1; n <= 12; ++n) {
            dots += map->DotVisible(n) ? 1 : 0;
        }
        EXPECT_EQ(dots > 0, tracking) << "dots only along a route";
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
    // Over the map near the date line, below the window, the map's top strip (the measured point
    // is above it), just below the strip.
    const std::pair<QPoint, bool> cases[] = {
        {{650, 150}, true}, {{300, 900}, false}, {{342, 58}, false}, {{342, 75}, true}};
    for (const auto& [pixel, tracking] : cases) {
        SCOPED_TRACE(::testing::Message() << pixel.x() << ", " << pixel.y());
        PointAt(pixel);
        tracking::TickInput in;
        const QPoint global = form.mapToGlobal(pixel), origin = form.mapToGlobal(QPoint(0, 0));
        in.cursorX = global.x();
        in.cursorY = global.y();
        in.windowLeft = static_cast<float>(origin.x() * 15);
        in.windowTop = static_cast<float>(origin.y() * 15);
        in.entoureLeft = 4760.0f;
        in.pi = tracking::ComputePi();
        in.degToRad = tracking::ComputeDegToRad(in.pi);
        const tracking::TickFrame f = tracking::ComputeTick(in);

        EXPECT_EQ(f.tracking, tracking);
        EXPECT_EQ(Map()->CrosshairVisible(), tracking);
        // The pointer is hidden only where the crosshair stands in for it.
        EXPECT_EQ(Map()->cursor().shape(), tracking ? Qt::BlankCursor : Qt::ArrowCursor);
        EXPECT_EQ(Shown("MouseDegLon"), tracking);
        EXPECT_EQ(Shown("LblAzimut"), tracking);
        EXPECT_EQ(Dial()->NeedleVisible(), tracking);
        EXPECT_EQ(Map()->CrosshairX(), f.crosshairX);
        EXPECT_EQ(Map()->CrosshairY(), f.crosshairY);
        if (f.longitudeReadout) {
            EXPECT_EQ(Text("MouseDegLon").toStdString(), *f.longitudeReadout);
        }
        EXPECT_EQ(Text("LblDistance").toStdString(), f.distanceText);
        EXPECT_EQ(Text("LblAzimut").toStdString(), f.dial.text);
        EXPECT_EQ(Dial()->NeedleX2(), f.dial.needleX2);
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
    PointAt({342, 233});
    EXPECT_EQ(Text("MouseDegLon"), "Longitude: 0°  33'  36'' Ouest");
    EXPECT_EQ(Text("MousedegLat"), "Latitude: 0°  5'  24'' Nord");
}

// Pointer moves faster than the screen refreshes are shown at the end of the frame; leaving the
// window shows the idle state at once, and a move still waiting must not undo it.
TEST_F(Form1Test, FastMovesAreGatheredIntoFrames) {
    const auto move = [&](int x) { Mouse(QEvent::MouseMove, &form, {x, 200}); };
    move(200);
    const float first = Map()->CrosshairX();
    EXPECT_EQ(first, static_cast<float>(200 * 15 - 330)) << "the first move shown at once";
    move(210);
    move(220);
    EXPECT_EQ(Map()->CrosshairX(), first) << "gathered until the frame ends";
    QTest::qWait(60);
    EXPECT_EQ(Map()->CrosshairX(), static_cast<float>(220 * 15 - 330)) << "the last move shown";

    // Leaving, whether the session tells where the pointer went (it is below the window) or
    // not (Wayland, with the pointer's last position still over the map).
    for (const bool known : {true, false}) {
        fake.pointerKnownOutside = known;
        QTest::qWait(30);
        move(230);
        EXPECT_TRUE(Map()->CrosshairVisible()) << known;
        move(240);  // waiting for its frame
        fake.pointer = form.mapToGlobal(known ? QPoint(300, 900) : QPoint(250, 200));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&form, &leave);
        QTest::qWait(60);
        EXPECT_FALSE(Map()->CrosshairVisible()) << known;
    }
}

// A window moved under a still pointer measures the pointer again.
TEST_F(Form1Test, MovingTheWindowUnderAStillPointerTicksAgain) {
    Choose(0);  // a reference that the tick leaves as it is
    PointAt({200, 200});
    const float x = Map()->CrosshairX(), y = Map()->CrosshairY();
    form.move(form.pos() + QPoint(30, 20));
    form.TickAt(fake.pointer);
    EXPECT_EQ(Map()->CrosshairX(), x - 15 * 30);
    EXPECT_EQ(Map()->CrosshairY(), y - 15 * 20);
}

// Before a choice the box invites one and nothing is measured from a city; a choice shows the
// city's figures and checks the connection once.
TEST_F(Form1Test, ChoosingACityShowsItsFigures) {
    EXPECT_EQ(Combo()->currentText(), "    Choisir un ville");
    for (const char* name : {"LblVilleDistance", "LblDistance", "CmdMapQuest"}) {
        EXPECT_FALSE(Shown(name)) << name;
    }
    Choose(0);
    const cities::ReferenceState& paris = form.Reference();
    EXPECT_TRUE(paris.citySelected);
    EXPECT_EQ(Map()->EntoureLeft(), paris.entoureLeft);
    EXPECT_EQ(Map()->EntoureTop(), paris.entoureTop);
    EXPECT_EQ(Text("LblLonVille"), "2°  21'  8''   Est");
    EXPECT_EQ(Text("LblLatVille"), "48°  51'  24''   Nord");
    EXPECT_EQ(Text("LblLocatVille"), "JN18EU");
    EXPECT_TRUE(Shown("LblVilleDistance") && Shown("LblDistance"));
    EXPECT_EQ(fake.checks, 1);
}

// Under a still pointer the frame is measured again at once when what it measures from changes:
// a city chosen in the box, a unit chosen, a point or a callsign's country pinned or released.
TEST_F(Form1Test, StillPointerIsMeasuredAgainWhenTheReferenceChanges) {
    QTemporaryDir dir;
    QFile countries(dir.filePath(QStringLiteral("cty.dat")));
    ASSERT_TRUE(countries.open(QIODevice::WriteOnly));
    countries.write("Mauritius:  39:  53:  AF:  -20.35:  -57.50:  -4.0:  3B8:\n    3B8;\n");
    countries.close();
    form.Find<ui::CallsignPart>()->SetCountryFilePlaces({}, {}, countries.fileName());
    PointAt(testing::kNewYork);
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[&] { Choose(0); }, "  est à 5854  Kms"},  // Paris
        {[&] { form.Find<ui::ReadingsPart>()->CycleUnit(); }, "  est à 3638  Miles"},
        {[&] {
             ClickMap({400, 300});
         },
         "  est à 6234  Miles"},
        {[&] {
             ClickMap({400, 300});
         },
         "  est à 3638  Miles"},
        {[&] { Type(QStringLiteral("3B8CF")); }, "  est à 5858  Miles"},
        {[&] {
             ClickMap({400, 300});
         },
         "  est à 3638  Miles"},
    };
    for (const auto& [change, distance] : steps) {
        SCOPED_TRACE(distance);
        change();
        EXPECT_EQ(Text("LblDistance"), QString::fromUtf8(distance));
    }
    EXPECT_EQ(Text("LblAzimut"), "292 °");
}

// A reference coordinate of exactly 0 is measured from as 0.01, and kept so: the web map then
// locates the point the dial measured from.
TEST_F(Form1Test, KeepsTheReferenceTheTickMeasuredFrom) {
    // Home as typed, and the point kept (latitude, longitude west positive).
    const std::pair<const char*, geodesy::GeoPoint> cases[] = {
        {"0N 0E", {0.01, 0.01}},
        {"51.4769N 0E", {51.4769, 0.01}},
    };
    for (const auto& [typed, kept] : cases) {
        SCOPED_TRACE(typed);
        Type(QString::fromUtf8(typed));
        EXPECT_EQ(form.Reference().referencePoint, kept);
        form.OpenWebMap();
        const QUrlQuery query(fake.opened.back());
        EXPECT_EQ(query.queryItemValue("latitude").toDouble(), kept.latitude);
        EXPECT_EQ(query.queryItemValue("longitude").toDouble(), -kept.longitude);
    }
}

// "Valider" and Enter take the first city whose name begins with what was typed; when none does,
// nothing changes and a tip under the box says why.
TEST_F(Form1Test, TypedTextChoosesTheFirstCityItBegins) {
    form.show();
    QLineEdit* edit = Combo()->lineEdit();
    const QString noCity = QString::fromUtf8("Aucune ville ne commence par «\u00a0xyz\u00a0»");
    // The keys, Enter (else "Valider"), the city beside the distance, the box's text, the tip.
    const std::tuple<const char*, bool, const char*, const char*, QString> steps[] = {
        {"bes", true, "BESANÇON", "Besançon", {}},
        {"NEW Y", false, "NEW YORK", "New York", {}},
        {"xyz", true, "NEW YORK", "xyz", noCity},
        {"  sydney", false, "SYDNEY", "Sydney", {}},
    };
    // The start text goes with the first key, wherever the cursor stands in it.
    edit->end(false);
    QTest::keyClicks(edit, QStringLiteral("b"));
    EXPECT_EQ(edit->text(), "b");
    int checks = 0;
    for (const auto& [typed, enter, city, box, tip] : steps) {
        SCOPED_TRACE(typed);
        edit->clear();
        QTest::keyClicks(edit, QString::fromUtf8(typed));
        Combo()->completer()->popup()->hide();
        if (enter) {
            QTest::keyClick(edit, Qt::Key_Return);
            QApplication::processEvents();
        } else {
            Child<QPushButton>("ValidVille")->click();
        }
        checks += tip.isEmpty() ? 1 : 0;
        EXPECT_EQ(fake.checks, checks);
        EXPECT_EQ(Text("LblVilleDistance"), QString::fromUtf8(city));
        EXPECT_EQ(Combo()->currentText(), QString::fromUtf8(box));
        EXPECT_EQ(Combo()->count(), 4) << "what the user types is never inserted";
        auto* hint = form.findChild<QLabel*>("InputHint");
        const bool shown = hint != nullptr && hint->isVisible();
        EXPECT_EQ(shown, !tip.isEmpty());
        if (shown) {
            EXPECT_EQ(hint->text(), tip);
            // On the screen, in line with the box, and over none of the window, when the screen
            // has room for both.
            const QRect screen = form.screen()->availableGeometry();
            if (screen.contains(form.frameGeometry().adjusted(0, 0, 0, hint->height() + 3))) {
                EXPECT_TRUE(screen.contains(hint->frameGeometry()));
                EXPECT_FALSE(hint->frameGeometry().intersects(form.frameGeometry()));
                EXPECT_EQ(hint->pos().x(), Combo()->mapToGlobal(QPoint(0, 0)).x());
            }
        }
    }
}

// Every city can be chosen by its position, even one whose name is longer than the box can hold
// and alike to the next one for all that length; the drop-down list then opens at it.
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
    Form1 form(cities::ParseCityFile(text.toUtf8().toStdString()), fake.Services());
    form.show();
    auto* combo = form.findChild<CityCombo*>("Combo1");
    ASSERT_EQ(combo->count(), 62);
    for (const int index : {30, 60, 61}) {
        SCOPED_TRACE(index);
        combo->setCurrentIndex(index);
        form.ValidateCity();
        EXPECT_EQ(form.findChild<QLabel*>("LblVilleDistance")->text(),
                  combo->itemText(index).toUpper());
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        EXPECT_EQ(view->currentIndex().row(), index);
        EXPECT_TRUE(view->viewport()->rect().intersects(view->visualRect(view->currentIndex())));
        combo->hidePopup();
    }
}

// The web map button: hidden over the map, shown off it only with a connection; its tip names the
// city picked, and it locates the city validated.
TEST_F(Form1Test, WebMapButton) {
    auto* button = Child<QPushButton>("CmdMapQuest");
    Choose(0);
    PointAt(testing::kOffTheMap);
    EXPECT_TRUE(button->isHidden()) << "no connection";
    fake.connection.online = true;
    Choose(0);
    PointAt({300, 200});
    EXPECT_TRUE(button->isHidden()) << "hidden over the map";
    PointAt(testing::kOffTheMap);
    EXPECT_FALSE(button->isHidden());

    const auto tip = [&] {
        Mouse(QEvent::MouseMove, button, {5, 5});
        return button->toolTip();
    };
    EXPECT_EQ(tip(), "  Situer Paris avec https://www.mapquest.com  ");
    Combo()->setCurrentIndex(3);  // picked, not validated
    EXPECT_EQ(tip(), "  Situer Sydney avec https://www.mapquest.com  ");
    button->click();
    ASSERT_EQ(fake.opened.size(), 1u);
    const QUrlQuery query(fake.opened[0]);
    EXPECT_EQ(query.queryItemValue("latitude"), "48.8566");
    EXPECT_EQ(query.queryItemValue("longitude"), "2.3522");

    // An address that cannot be handed over shows the one message of the program.
    fake.openSucceeds = false;
    button->click();
    EXPECT_EQ(fake.messages, std::vector<QString>{"Impossible de se connecter au site GoogleMaps"});
    Child<QPushButton>("CmdQuitte")->click();
    EXPECT_EQ(fake.exits, std::vector<int>{0});
}

// What a screen reader finds among the window's controls: the title once, and the two small
// buttons of the title bar by their names.
TEST_F(Form1Test, ScreenReadersHearTheTitleOnceAndNameTheButtons) {
    ShowActive();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&form);
    ASSERT_NE(window, nullptr);
    QMap<QString, int> heard;
    for (int i = 0; i < window->childCount(); ++i) {
        const QAccessibleInterface* child = window->child(i);
        if (child != nullptr && !child->state().invisible) {
            ++heard[child->text(QAccessible::Name)];
        }
    }
    EXPECT_EQ(heard.value(QStringLiteral("ORBIDA")), 1);
    EXPECT_EQ(heard.value(QStringLiteral("Réduire")), 1);
    EXPECT_EQ(heard.value(QStringLiteral("Quitter")), 1);
}

TEST_F(Form1Test, DragStartsOnlyFromTheSurfaceWithTheLeftButton) {
    const auto press = [&](QWidget* target, QPoint at, Qt::MouseButton button) {
        Mouse(QEvent::MouseButtonPress, target, at, button, button);
    };
    press(&form, {560, 30}, Qt::RightButton);
    press(&form, {560, 30}, Qt::MiddleButton);
    for (const char* name : {"MouseDegLon", "Carte", "Titre2"}) {
        press(Child<QWidget>(name), {5, 5}, Qt::LeftButton);
    }
    EXPECT_TRUE(fake.topmost.empty()) << "labels and the map take their own presses";
    EXPECT_TRUE(fake.moved.empty());

    // On the silver border: the press alone makes the window topmost; the window system moves
    // it only once the pointer has travelled the drag distance with the button held.
    const int distance = QApplication::startDragDistance();
    const std::tuple<QEvent::Type, QPoint, Qt::MouseButtons, std::size_t> steps[] = {
        {QEvent::MouseButtonPress, {2, 250}, Qt::LeftButton, 0},
        {QEvent::MouseMove, {2 + distance - 1, 250}, Qt::LeftButton, 0},  // a tremor
        {QEvent::MouseMove, {2, 250 + distance}, Qt::LeftButton, 1},
        {QEvent::MouseMove, {2, 280}, Qt::LeftButton, 1},
        {QEvent::MouseButtonRelease, {2, 280}, Qt::NoButton, 1},
        {QEvent::MouseButtonPress, {2, 250}, Qt::LeftButton, 1},  // a click
        {QEvent::MouseButtonRelease, {2, 250}, Qt::NoButton, 1},
        {QEvent::MouseMove, {2, 300}, Qt::NoButton, 1},
    };
    for (const auto& [type, at, held, moves] : steps) {
        SCOPED_TRACE(::testing::Message() << type << " " << at.y());
        Mouse(type, &form, at, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held);
        EXPECT_EQ(fake.moved.size(), moves);
    }
    EXPECT_EQ(fake.topmost, (std::vector<QWidget*>{&form, &form}));
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

// The pixels a shape covers, from its position in twips: a dot's 7 and its 2-pixel outline
// around, the ring's 9 and half its outline, the needle and half its width.
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
    const QRect column(296, 0, 1, 321), row(0, 152, 641, 1);  // the crosshair at (4440, 2280)
    const QRect newColumn(200, 0, 1, 321), newRow(0, 100, 641, 1);
    const struct {
        const char* name;
        void (*change)(MapWidget&, DialFrame&);
        std::vector<QRect> covered;
    } cases[] = {
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
         {column, newColumn, row, newRow}},
        // Along one axis only, the other line's full span no longer covers the old place.
        {"the crosshair moves sideways",
         [](MapWidget& map, DialFrame&) { map.SetCrosshair(3000, 2280); },
         {column, newColumn}},
        {"the crosshair moves up",
         [](MapWidget& map, DialFrame&) { map.SetCrosshair(4440, 1500); },
         {row, newRow}},
        {"the crosshair hides",
         [](MapWidget& map, DialFrame&) { map.SetCrosshairVisible(false); },
         {column, row}},
        {"the needle turns west",
         [](MapWidget&, DialFrame& dial) { dial.SetNeedle(1740, 600); },
         {Needle(2300, 380), Needle(1740, 600)}},
        {"the needle hides",
         [](MapWidget&, DialFrame& dial) { dial.SetNeedleVisible(false); },
         {Needle(2300, 380)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MapWidget map;
        map.resize(642, 321);
        DialFrame dial(QStringLiteral("Azimut"), Qt::cyan);
        dial.resize(169, 73);
        map.show();
        dial.show();
        QTest::qWait(60);
        PaintRecorder mapPaints(&map), dialPaints(&dial);
        c.change(map, dial);
        QTest::qWait(60);
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
    const auto red = [](const QImage& image, QRectF area) {
        const double ratio = image.devicePixelRatio();
        const QRect inside =
            QRectF(area.topLeft() * ratio, area.size() * ratio).toRect().intersected(image.rect());
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
    Map()->grab();  // delivers the window's pending move before the pointer is placed
    Choose(0);      // Paris
    PointAt({16 + 170, 48 + 125});  // over North America
    const QImage image = Map()->grab().toImage();
    for (int n : {1, 2, 3, 4, 5, 10, 12}) {
        ASSERT_TRUE(Map()->DotVisible(n)) << n;
        const QPoint dot(static_cast<int>(Map()->DotLeft(n) / 15),
                         static_cast<int>(Map()->DotTop(n) / 15));
        EXPECT_GT(red(image, QRectF(dot - QPoint(1, 1), QSizeF(9, 9))), 6) << n;
    }
    EXPECT_EQ(red(image, QRectF(0, 200, 640, 120)), 0) << "nothing in the southern half";
}

}  // namespace
}  // namespace orbida::ui
