// The language the program speaks: chosen from --lang, the menu and the desktop; its texts in
// English once the English translation is installed, and French without it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>

#include "app/options.h"
#include "form_fixture.h"
#include "ui/platform/language.h"

namespace orbida::ui {
namespace {

TEST(ChooseLanguageTest, WantedThenFirstDesktopLanguageThatFitsElseFrench) {
    const struct {
        QStringList desktop;
        const char* wanted;
        const char* chosen;
    } cases[] = {
        {{"en_US"}, "", "en"},
        {{"en-GB"}, "", "en"},
        {{"en"}, "", "en"},
        {{"en_US.UTF-8"}, "", "en"},
        {{"fr_FR"}, "", "fr"},
        {{"fr-CA"}, "", "fr"},
        {{"fr"}, "", "fr"},
        {{"de_DE"}, "", "fr"},
        {{"C"}, "", "fr"},
        {{"POSIX"}, "", "fr"},
        {{}, "", "fr"},
        {{""}, "", "fr"},
        // The first of the desktop's list that is ours wins, whatever follows.
        {{"de-DE", "en-US", "fr-FR"}, "", "en"},
        {{"it", "fr-BE", "en"}, "", "fr"},
        // "enm" (Middle English) or "french" are not "en" or "fr".
        {{"enm", "frr"}, "", "fr"},
        // --lang or the menu's choice wins over the desktop; anything else is no choice.
        {{"en-US"}, "fr", "fr"},
        {{"fr-FR"}, "en", "en"},
        {{"fr-FR"}, "de", "fr"},
        {{"en-US"}, "EN", "en"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseLanguage(c.desktop, QString::fromLatin1(c.wanted)),
                  QString::fromLatin1(c.chosen))
            << c.desktop.join(u',').toStdString() << " / " << c.wanted;
    }
}

// The command line's texts, as printed with the language installed.
TEST(TranslationTest, HelpInEnglishWhenInstalledFrenchOtherwise) {
    const struct {
        QString language;
        const char* firstLine;
    } cases[] = {
        {kEnglish, "Usage: orbida [options]"},
        {kFrench, "Usage\u00A0: orbida [options]"},
        // The C locale chooses French: the sources' own texts.
        {ChooseLanguage({QStringLiteral("C")}, {}), "Usage\u00A0: orbida [options]"},
    };
    for (const auto& c : cases) {
        const Translations translations(c.language);
        translations.Install();
        EXPECT_EQ(app::HelpText().section(u'\n', 0, 0), QString::fromUtf8(c.firstLine))
            << c.language.toStdString();
    }
}

// Texts of the window, of its menu and the readouts' words, as a user sees them with the language
// installed: home Paris, the pointer on New York.
struct Shown {
    QString startText;
    QString pinEntry;
    QString longitude;
    QString homeLatitude;
    QString distance;
    QString refusal;  // under the city box, for a text that chooses nothing
};

Shown ShownWith(const QString& language) {
    const Translations translations(language);
    translations.Install();
    testing::FakePlatform fake;
    Form1 form(cities::ParseCityFile(testing::kCities), fake.Services());
    form.show();
    Shown shown;
    auto* combo = form.findChild<CityCombo*>(QStringLiteral("Combo1"));
    auto* validate = form.findChild<QPushButton*>(QStringLiteral("ValidVille"));
    shown.startText = combo->currentText();
    shown.pinEntry = form.MapMenu()->actions().value(0)->text();
    combo->setEditText(QStringLiteral("91N 2E"));
    validate->click();
    shown.refusal = form.findChild<QLabel*>(QStringLiteral("InputHint"))->text();
    combo->setEditText(QStringLiteral("Paris"));
    validate->click();
    fake.pointer = form.mapToGlobal(testing::kNewYork);
    form.TickAt(fake.pointer);
    shown.longitude = form.findChild<QLabel*>(QStringLiteral("MouseDegLon"))->text();
    shown.homeLatitude = form.findChild<QLabel*>(QStringLiteral("LblLatVille"))->text();
    shown.distance = form.findChild<QLabel*>(QStringLiteral("LblDistance"))->text();
    return shown;
}

TEST(TranslationTest, WindowInEnglishWhenInstalledFrenchOtherwise) {
    const Shown english = ShownWith(kEnglish);
    EXPECT_EQ(english.startText, "    Choose a city");
    EXPECT_EQ(english.pinEntry, "Pin this point\tLeft click");
    EXPECT_EQ(english.refusal, "Latitude out of range: 90° at most.");
    // The words change, the numbers keep their format.
    EXPECT_TRUE(english.longitude.startsWith("Longitude: 74°")) << english.longitude.toStdString();
    EXPECT_TRUE(english.longitude.endsWith("'' West")) << english.longitude.toStdString();
    EXPECT_TRUE(english.homeLatitude.endsWith(" North")) << english.homeLatitude.toStdString();
    EXPECT_TRUE(english.distance.startsWith("  is 5")) << english.distance.toStdString();
    EXPECT_TRUE(english.distance.endsWith("  Kms away")) << english.distance.toStdString();

    for (const QString& language : {kFrench, ChooseLanguage({QStringLiteral("C")}, {})}) {
        const Shown french = ShownWith(language);
        EXPECT_EQ(french.startText, "    Choisir un ville");
        EXPECT_EQ(french.pinEntry, "Épingler ce point\tClic gauche");
        EXPECT_EQ(french.refusal, "Latitude hors limites : 90° au plus.");
        EXPECT_TRUE(french.longitude.endsWith("'' Ouest")) << french.longitude.toStdString();
        EXPECT_TRUE(french.homeLatitude.endsWith(" Nord")) << french.homeLatitude.toStdString();
        EXPECT_TRUE(french.distance.startsWith("  est à 5")) << french.distance.toStdString();
        EXPECT_TRUE(french.distance.endsWith("  Kms")) << french.distance.toStdString();
    }
}

}  // namespace
}  // namespace orbida::ui
