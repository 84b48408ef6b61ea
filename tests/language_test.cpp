// The language the program speaks: chosen from --lang, the menu and the desktop; its texts in
// English once the English translation is installed, and French without it.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/options.h"
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

}  // namespace
}  // namespace orbida::ui
