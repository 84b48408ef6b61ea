// The about box: its texts fit, its links light up under the pointer and open the desktop's
// browser, it closes from the keyboard, drags from its surface, and opens where the main window is.
#include "ui/window/about_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <vector>

#include "fake_platform.h"
#include "ui/window/form1.h"
#include "ui/window/style.h"

namespace orbida::ui {
namespace {

// Points of the window in pixels: the bare surface, the two links, a plain label, OK.
const QPoint kSurface(16, 470), kVemra(270, 464), kRmobile(60, 355), kLabel14(120, 464),
    kOk(357, 35);

QColor ButtonFace() {
    return QApplication::palette().color(QPalette::Button);
}
QColor Face(const QWidget* box, const char* name) {
    return box->findChild<QLabel*>(name)->palette().color(QPalette::Window);
}

class AboutBoxTest : public ::testing::Test {
  protected:
    void SetUp() override { Reopen(); }
    void TearDown() override { delete box; }
    void Reopen() {
        delete box;
        box = new AboutBox(fake.Services());
        box->show();
    }
    // Sends a mouse event to whatever lies under a point of the window, as the window system
    // would.
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button) {
        QWidget* target = box->childAt(at) != nullptr ? box->childAt(at) : box.data();
        QMouseEvent event(type, target->mapFrom(box, QPointF(at)), box->mapToGlobal(QPointF(at)),
                          button, type == QEvent::MouseButtonPress ? button : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    void Click(QPoint at, Qt::MouseButton button) {
        Mouse(QEvent::MouseButtonPress, at, button);
        Mouse(QEvent::MouseButtonRelease, at, button);
    }

    testing::FakePlatform fake;
    QPointer<AboutBox> box;
};

// Each text stays inside its label and inside the frame Shape1 (the titles' capitals fit although
// their font's line is taller than the label).
TEST_F(AboutBoxTest, EveryTextFitsItsLabel) {
    const QList<QLabel*> labels = box->findChildren<QLabel*>();
    ASSERT_GE(labels.size(), 14);
    for (const QLabel* label : labels) {
        if (label->font().pixelSize() < 20) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height())
                << label->objectName().toStdString();
        }
        EXPECT_LT(label->geometry().right(), 400) << label->objectName().toStdString();
    }
}

TEST_F(AboutBoxTest, OkEnterAndEscapeCloseAndRelease) {
    // Key_unknown stands for a click on OK.
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_unknown}) {
        Reopen();
        if (key == Qt::Key_unknown) {
            Click(kOk, Qt::LeftButton);
        } else {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(box->focusWidget(), &press);
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(box.isNull(), key != Qt::Key_Space) << key;
    }
}

// A left click on a link opens its address and a left press on the bare surface drags the box;
// other buttons and places do neither, and an opener that cannot be started changes nothing.
TEST_F(AboutBoxTest, LinksOpenAndTheSurfaceDrags) {
    // Where the click is, its button, the address opened (empty: none), whether it drags.
    const std::tuple<QPoint, Qt::MouseButton, const char*, bool> cases[] = {
        {kVemra, Qt::LeftButton, "https://www.orbida.fr", false},
        {kRmobile, Qt::LeftButton, "https://www.geonames.org/", false},
        {kVemra, Qt::RightButton, "", false},
        {kLabel14, Qt::LeftButton, "", false},
        {kSurface, Qt::LeftButton, "", true}};
    for (const auto& [at, button, address, drags] : cases) {
        SCOPED_TRACE(::testing::Message() << at.x() << " " << button);
        fake.opened.clear();
        fake.topmost.clear();
        Click(at, button);
        EXPECT_EQ(fake.opened, *address == '\0' ? std::vector<QUrl>{} : std::vector{QUrl(address)});
        EXPECT_EQ(fake.topmost, drags ? std::vector<QWidget*>{box} : std::vector<QWidget*>{});
    }
    fake.openSucceeds = false;
    Click(kVemra, Qt::LeftButton);
    EXPECT_FALSE(box.isNull());
}

// On a desktop of several screens the about box opens centred on the screen of the main window.
TEST(AboutBoxFromForm1, OpensOnTheMainWindowsScreen) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() < 2) {
        GTEST_SKIP() << "one screen";
    }
    for (const QScreen* screen : screens) {
        SCOPED_TRACE(screen->name().toStdString());
        testing::FakePlatform fake;
        Form1 form(cities::Catalogue{}, fake.Services());
        form.move(screen->availableGeometry().topLeft() + QPoint(40, 40));
        form.show();
        form.ShowAbout();
        ASSERT_NE(form.About(), nullptr);
        const QPoint centre = form.About()->frameGeometry().center();
        EXPECT_LE((centre - screen->availableGeometry().center()).manhattanLength(), 2);
    }
}

// Minimising hides the box as it is and the about button shows the same box again; once closed,
// the next one starts with the start colours.
TEST(AboutBoxFromForm1, ReopensAfreshAndHidesWithTheMainWindow) {
    testing::FakePlatform fake;
    Form1 form(cities::Catalogue{}, fake.Services());
    form.ShowAbout();
    QPointer<AboutBox> first = form.About();
    QMouseEvent move(QEvent::MouseMove, QPointF(kSurface), first->mapToGlobal(QPointF(kSurface)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(first, &move);
    form.Minimise();
    EXPECT_EQ(fake.minimised, std::vector<QWidget*>{&form});
    EXPECT_FALSE(first->isVisible());
    form.ShowAbout();
    EXPECT_EQ(form.About(), first.data());
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->Shape2Visible());

    first->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    form.ShowAbout();
    ASSERT_NE(form.About(), nullptr);
    EXPECT_TRUE(form.About()->Shape2Visible());
    EXPECT_EQ(Face(form.About(), "Lblvemra"), ButtonFace());
    EXPECT_EQ(Face(form.About(), "LblRmobile"), kLightGreen);
}

}  // namespace
}  // namespace orbida::ui
