#include "ui/about_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <vector>

#include "fake_platform.h"
#include "ui/form1.h"
#include "ui/style.h"

namespace orbida::ui {
namespace {

// Points of the window in pixels. Shapes take no mouse input: a point on Shape1's or Shape2's
// outline is on the bare surface.
const QPoint kSurface(16, 470), kShape1Edge(8, 200), kShape2Edge(231, 464), kVemra(270, 464),
    kRmobile(60, 355), kLabel5(300, 355), kLabel14(120, 464), kOk(357, 35), kImage(48, 40);

QColor ButtonFace() {
    return QApplication::palette().color(QPalette::Button);
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
    QColor Face(const char* name) const {
        return box->findChild<QLabel*>(name)->palette().color(QPalette::Window);
    }
    // Sends a mouse event to whatever lies under a point of the window, as the window system
    // would.
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton) {
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

TEST_F(AboutBoxTest, ShowsEveryTextExactlyInsideItsLabel) {
    const struct {
        const char* name;
        QString text;
    } cases[] = {
        {"Label1", "ORBIDA"},
        {"Label2", "ORBIDA"},
        {"Label18", " Version 2.0"},
        {"Label9",
         "Affichage de la route la plus courte et de la distance  entre une ville  et tout autre "
         "point du globe"},
        {"Label11",
         "Cette route (Orthodromie) et la route idéale que suit un avion volant sans escale entre "
         "les  points choisis. (En réalité, d'autres données telles que les couloirs aériens "
         "officiels, les vents dominants...peuvent infléchir ce choix) "},
        {"Label17",
         " \"Orbida\"  donne également les coordonnées géographiques des points choisis ainsi que "
         "le Locator de la ville de référence."},
        {"Label7",
         "Il précise également l'azimut  à partir de  cette ville. Ceci  permet, par exemple,  à "
         "un radio amateur d'orienter ses antennes sur une région du monde de façon optimale. "
         "C'est aussi  la direction prise, dés le décollage,  par  notre avion."},
        {"Label3",
         "La version 2 permet,  via le site https://www.mapquest.com,  de situer avec plus de "
         "précision la ville sélectionnée. - Connexion Internet indispensable -"},
        {"Label5",
         "La base de données concernant les villes est issue du logiciel    \"Radio Mobile\"  "
         ".Elle peut-être modifiée et complètée: Voir fichier \"Villes.txt\" dans le répertoire  "
         "\"ORBIDA\"."},
        {"LblRmobile", "\"Radio Mobile\""},
        {"Label10", ""},
        {"Label13", "Liste des villes : GeoNames (CC BY 4.0)"},
        {"Label14", "D'autres logiciels sur le site"},
        {"Lblvemra", "www.orbida.fr"},
    };
    for (const auto& c : cases) {
        const auto* label = box->findChild<QLabel*>(c.name);
        ASSERT_NE(label, nullptr) << c.name;
        EXPECT_EQ(label->text(), c.text) << c.name;
        // Each text stays inside its label and inside the frame Shape1 (the titles' capitals fit
        // although their font's line is taller than the label).
        if (label->font().pixelSize() < 20) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << c.name;
        }
        EXPECT_LT(label->geometry().right(), 400) << c.name;
    }
    EXPECT_EQ(box->findChild<QPushButton*>("cmdOK")->text(), "OK");
}

TEST_F(AboutBoxTest, HoverColoursFollowThePointer) {
    const QColor cyan = kLightCyan, green = kLightGreen;
    const struct {
        const char* what;
        std::vector<QPoint> moves;
        QColor vemra, rmobile;
        bool shape2;
    } cases[] = {
        {"start", {}, ButtonFace(), green, true},
        {"surface resets", {kSurface}, cyan, green, false},
        {"vemra lights up", {kSurface, kVemra}, green, green, true},
        {"vemra straight onto Label14", {kSurface, kVemra, kLabel14}, green, green, true},
        {"vemra onto the button and picture", {kVemra, kOk, kImage}, green, green, true},
        {"vemra onto Shape2's edge", {kVemra, kShape2Edge}, cyan, green, false},
        {"rmobile lights up", {kRmobile}, ButtonFace(), cyan, true},
        {"rmobile onto Label5", {kRmobile, kLabel5}, ButtonFace(), cyan, true},
        {"rmobile then surface", {kRmobile, kLabel5, kShape1Edge}, cyan, green, false},
    };
    for (const auto& c : cases) {
        Reopen();
        for (QPoint at : c.moves) {
            Mouse(QEvent::MouseMove, at);
        }
        EXPECT_EQ(Face("Lblvemra"), c.vemra) << c.what;
        EXPECT_EQ(Face("LblRmobile"), c.rmobile) << c.what;
        EXPECT_EQ(box->Shape2Visible(), c.shape2) << c.what;
    }
}

TEST_F(AboutBoxTest, OkEnterAndEscapeCloseAndRelease) {
    // Key_unknown stands for a click on OK.
    for (const Qt::Key key :
         {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_unknown}) {
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

TEST_F(AboutBoxTest, LinksStartTheDesktopOpener) {
    const struct {
        QPoint at;
        Qt::MouseButton button;
        QString address;  // empty: nothing starts
    } cases[] = {
        {kVemra, Qt::LeftButton, "https://www.orbida.fr"},
        {kRmobile, Qt::LeftButton, "https://www.cplus.org/rmw/index.html"},
        {kVemra, Qt::RightButton, ""},
        {kLabel14, Qt::LeftButton, ""},
    };
    for (const auto& c : cases) {
        fake.urls.opened.clear();
        Click(c.at, c.button);
        EXPECT_EQ(fake.urls.opened,
                  c.address.isEmpty() ? std::vector<QUrl>{} : std::vector{QUrl(c.address)})
            << c.address.toStdString();
    }
    // An opener that cannot be started changes nothing.
    fake.urls.succeed = false;
    Click(kVemra, Qt::LeftButton);
    EXPECT_FALSE(box.isNull());
}

TEST_F(AboutBoxTest, OnlyTheSurfaceAndTheTitleAndDescriptionLabelsDrag) {
    const struct {
        QString under;  // what lies under the point: frmAbout is the bare surface
        QPoint at;
        Qt::MouseButton button;
        bool drags;
    } cases[] = {
        {"frmAbout", kSurface, Qt::LeftButton, true},
        {"frmAbout", kShape1Edge, Qt::LeftButton, true},
        {"frmAbout", kSurface, Qt::RightButton, false},
        {"frmAbout", kSurface, Qt::MiddleButton, false},
        {"Label2", {150, 30}, Qt::LeftButton, true},
        {"Label1", {240, 50}, Qt::LeftButton, true},
        {"Label9", {200, 90}, Qt::LeftButton, true},
        {"Label11", {200, 150}, Qt::LeftButton, true},
        {"Label7", {200, 250}, Qt::LeftButton, true},
        {"Label7", {200, 250}, Qt::RightButton, false},
        {"Label3", {200, 300}, Qt::LeftButton, false},
        {"Lblvemra", kVemra, Qt::LeftButton, false},
        {"Image1", kImage, Qt::LeftButton, false},
        {"cmdOK", kOk, Qt::LeftButton, false},
    };
    for (const auto& c : cases) {
        const QWidget* under = box->childAt(c.at) != nullptr ? box->childAt(c.at) : box.data();
        ASSERT_EQ(under->objectName(), c.under);
        fake.windows = {};
        Mouse(QEvent::MouseButtonPress, c.at, c.button);
        // The pressed widget keeps the pointer while the button is held.
        QWidget* target = box->childAt(c.at) != nullptr ? box->childAt(c.at) : box.data();
        const QPoint away = c.at + QPoint(QApplication::startDragDistance(), 0);
        QMouseEvent move(QEvent::MouseMove, target->mapFrom(box, QPointF(away)),
                         box->mapToGlobal(QPointF(away)), Qt::NoButton, c.button, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        Mouse(QEvent::MouseButtonRelease, away, c.button);
        const auto expected = c.drags ? std::vector<QWidget*>{box} : std::vector<QWidget*>{};
        EXPECT_EQ(fake.windows.topmost, expected) << c.under.toStdString() << " " << c.button;
        EXPECT_EQ(fake.windows.moved, expected) << c.under.toStdString() << " " << c.button;
    }
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

TEST(AboutBoxFromForm1, ReopensAfreshAndHidesWithTheMainWindow) {
    testing::FakePlatform fake;
    Form1 form(cities::Catalogue{}, fake.Services());
    form.ShowAbout();
    QPointer<AboutBox> first = form.About();
    QMouseEvent move(QEvent::MouseMove, QPointF(kSurface), first->mapToGlobal(QPointF(kSurface)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(first, &move);

    // Minimising hides the box as it is; the about button shows the same box again.
    form.Minimise();
    EXPECT_EQ(fake.windows.minimised, std::vector<QWidget*>{&form});
    EXPECT_FALSE(first->isVisible());
    form.ShowAbout();
    EXPECT_EQ(form.About(), first.data());
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->Shape2Visible());

    // OK releases it; the next one starts with the start colours.
    first->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    form.ShowAbout();
    ASSERT_NE(form.About(), nullptr);
    EXPECT_TRUE(form.About()->Shape2Visible());
    EXPECT_EQ(form.About()->findChild<QLabel*>("Lblvemra")->palette().color(QPalette::Window),
              ButtonFace());
    EXPECT_EQ(form.About()->findChild<QLabel*>("LblRmobile")->palette().color(QPalette::Window),
              kLightGreen);
}

}  // namespace
}  // namespace orbida::ui
