// What is remembered of the window itself, on its own: home, the window's position and the
// language read back and kept.
#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include "fake_part_host.h"
#include "ui/parts/remembered.h"
#include "ui/parts/settings_part.h"

namespace orbida::ui {
namespace {

class SettingsPartTest : public ::testing::Test {
  protected:
    QString Path() const { return dir.filePath(QStringLiteral("orbida.conf")); }
    void Write(const QByteArray& contents) {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    QTemporaryDir dir;
    testing::FakePartHost host;  // cities: Paris, Sydney
    SettingsPart part;
};

// Home is read back by the exact name of a city or as typed, and handed to the window as
// remembered; the position is used only where the window's top would show on a screen.
TEST_F(SettingsPartTest, ReadsHomeAndPosition) {
    host.Add(part);
    // The file, the home handed over (none: nullopt), the city's index, where the window is.
    const std::tuple<const char*, std::optional<cities::HomeKind>, int, QPoint> cases[] = {
        {"[reference]\nhome=Sydney\n[window]\nposition=120, 80\n",
         cities::HomeKind::City,
         1,
         {120, 80}},
        {"[reference]\nhome=JN18EU\n[window]\nposition=90000, 90000\n",
         cities::HomeKind::Locator,
         -1,
         {0, 0}},
        // Another city that merely starts the same way is not it.
        {"[reference]\nhome=Syd\n", cities::HomeKind::Refused, -1, {0, 0}},
        {"[window]\nposition=120, 80\n", std::nullopt, -1, {120, 80}},
    };
    for (const auto& [file, kind, index, position] : cases) {
        SCOPED_TRACE(file);
        host.window.move(0, 0);
        host.homes.clear();
        Write(file);
        SettingsStore settings(Path(), RememberedKeys());
        part.UseSettings(&settings);
        ASSERT_EQ(host.homes.size(), kind ? 1u : 0u);
        if (kind) {
            EXPECT_EQ(host.homes[0].first.kind, *kind);
            EXPECT_EQ(host.homes[0].first.cityIndex, index);
            EXPECT_TRUE(host.homes[0].second) << "remembered";
        }
        EXPECT_EQ(host.window.pos(), position);
        part.UseSettings(nullptr);
    }
}

// Home as the user validated it, and the position of the window once it is on the screen.
TEST_F(SettingsPartTest, KeepsHomeAndPosition) {
    {
        SettingsStore settings(Path(), RememberedKeys());
        host.Add(part).UseSettings(&settings);
        part.HomeChanged(QStringLiteral("JN18EU"));
        part.HomeChanged(QString());  // read back from the settings: nothing to write
        host.window.move(40, 50);
        part.WindowMoved();  // not shown yet: where it stands is no choice of the user's
        EXPECT_EQ(ReadRemembered(settings).position, std::nullopt);
        host.window.show();
        host.window.move(60, 70);
        part.WindowMoved();
    }
    const Remembered kept = ReadRemembered(SettingsStore(Path(), RememberedKeys()));
    EXPECT_EQ(kept.home, "JN18EU");
    EXPECT_EQ(kept.position, QPoint(60, 70));
}

// The language of the menu's "Langue / Language": what the file holds is checked (anything but
// "en" or "fr" is the desktop's), and a choice is written for the next start.
TEST_F(SettingsPartTest, LanguageReadBackAndChosen) {
    host.Add(part);
    const struct {
        const char* file;
        const char* checked;  // the entry checked in the submenu
        const char* choose;   // the entry then chosen
        const char* kept;
    } cases[] = {
        {"", "Celle du bureau", "English", "en"},
        {"[display]\nlanguage=en\n", "English", "Français", "fr"},
        {"[display]\nlanguage=fr\n", "Français", "Celle du bureau", ""},
        {"[display]\nlanguage=de\n", "Celle du bureau", "Français", "fr"},
        {"[display]\nlanguage=EN\n", "Celle du bureau", "English", "en"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Write(c.file);
        {
            SettingsStore settings(Path(), RememberedKeys());
            part.UseSettings(&settings);
            QAction* checked = host.Entry(QString::fromUtf8(c.checked));
            ASSERT_NE(checked, nullptr);
            EXPECT_TRUE(checked->isChecked());
            host.Entry(QString::fromUtf8(c.choose))->trigger();
            EXPECT_TRUE(host.Entry(QString::fromUtf8(c.choose))->isChecked());
            EXPECT_FALSE(c.checked != std::string_view(c.choose) && checked->isChecked());
            part.UseSettings(nullptr);
        }
        EXPECT_EQ(ReadLanguage(SettingsStore(Path(), RememberedKeys())), c.kept);
    }
}

}  // namespace
}  // namespace orbida::ui
