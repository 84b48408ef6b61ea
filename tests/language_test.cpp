// The language the program speaks: chosen from --lang, the menu and the desktop; its texts in
// English once the English translation is installed, and French without it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>

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

// The main window with Paris home and the pointer on New York, then every window the map's menu
// opens and the about box: all a user can bring up, in the language installed.
void OpenEverything(Form1& form, testing::FakePlatform& fake) {
    form.show();
    form.findChild<CityCombo*>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("Paris"));
    form.findChild<QPushButton*>(QStringLiteral("ValidVille"))->click();
    for (QAction* entry : form.MapMenu()->actions()) {
        if (entry->isCheckable() ? !entry->isChecked() : entry->text().endsWith(u'…')) {
            entry->trigger();
        }
    }
    fake.pointer = form.mapToGlobal(testing::kNewYork);
    form.TickAt(fake.pointer);
    form.findChild<QPushButton*>(QStringLiteral("CmdAide"))->click();
}

// The visible top-level windows and their widgets, in the order they were made.
QList<QWidget*> ShownWidgets() {
    QList<QWidget*> shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            shown << window << window->findChildren<QWidget*>();
        }
    }
    return shown;
}

// Every text the windows show in English once the user has opened them all: no French left. Place
// names are data, and the language menu names each language in its own tongue, so both are left
// out.
TEST(TranslationTest, NoFrenchLeftInTheEnglishWindows) {
    const Translations translations(kEnglish);
    translations.Install();
    testing::FakePlatform fake;
    Form1 form(cities::ParseCityFile(testing::kCities), fake.Services());
    OpenEverything(form, fake);

    QStringList shown;
    const auto menu = [&shown](QMenu* m, const auto& self) -> void {
        if (m->objectName() == QLatin1String("LanguageMenu")) {
            return;
        }
        for (QAction* entry : m->actions()) {
            shown << entry->text() << entry->toolTip();
            if (entry->menu() != nullptr) {
                self(entry->menu(), self);
            }
        }
    };
    menu(form.MapMenu(), menu);
    for (QWidget* w : ShownWidgets()) {
        shown << w->windowTitle() << w->toolTip() << w->accessibleName();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            shown << label->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            shown << button->text();
        } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
            shown << box->title();
        } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
            shown << line->placeholderText();
        } else if (auto* combo = qobject_cast<QComboBox*>(w); combo && !combo->isEditable()) {
            for (int i = 0; i < combo->count(); ++i) {
                shown << combo->itemText(i);
            }
        } else if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model()) {
            for (int c = 0; c < view->model()->columnCount(); ++c) {
                shown << view->model()->headerData(c, Qt::Horizontal).toString();
            }
        }
    }
    EXPECT_GT(shown.size(), 100);
    // Accented letters, French quotation marks, a blank before a colon, and the French words of
    // the program's texts that have no accent.
    static const QRegularExpression french(
        QStringLiteral("[àâçéèêëîôùû«»]|[ \\x{A0}][:;]|\\b(de|des|du|le|la|les|et|un|une|pour|sur|"
                       "pays|ville|bande|heure|indicatif|azimut|balises|carte|lever|coucher|cible|"
                       "domicile|rotor|chemin|orienter|annuler|tester|quitter|valider|propos)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& text : shown) {
        const QString unplaced = QString(text).remove(QStringLiteral("Besançon"));
        EXPECT_FALSE(french.match(unplaced).hasMatch()) << text.toStdString();
    }
}

// The labels and buttons whose text is wider than the control, by their place among the shown
// widgets, with all opened in the language installed.
QStringList Overflowing(const QString& language) {
    const Translations translations(language);
    translations.Install();
    testing::FakePlatform fake;
    Form1 form(cities::ParseCityFile(testing::kCities), fake.Services());
    OpenEverything(form, fake);
    QStringList wide;
    const QList<QWidget*> widgets = ShownWidgets();
    for (qsizetype i = 0; i < widgets.size(); ++i) {
        QWidget* w = widgets[i];
        int needed = 0;
        if (auto* label = qobject_cast<QLabel*>(w);
            label && !label->wordWrap() && !Qt::mightBeRichText(label->text())) {
            for (const QString& line : label->text().split(u'\n')) {
                needed = std::max(needed, label->fontMetrics().horizontalAdvance(line));
            }
            needed += label->width() - label->contentsRect().width();
        } else if (auto* button = qobject_cast<QPushButton*>(w);
                   button && !button->text().isEmpty()) {
            needed = button->fontMetrics().horizontalAdvance(button->text()) + 4;
        }
        if (needed > w->width() + 1) {
            wide << QStringLiteral("%1 %2 (%3): %4 > %5")
                        .arg(i)
                        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName())
                        .arg(needed)
                        .arg(w->width());
        }
    }
    return wide;
}

// Every English text fits its control wherever the French one does: the window keeps the
// design's sizes, so a longer wording would be cut.
TEST(TranslationTest, EnglishTextsFitWhereTheFrenchOnesDo) {
    QStringList french = Overflowing(kFrench);
    const QStringList english = Overflowing(kEnglish);
    for (const QString& place : english) {
        const QString where = place.section(u':', 0, 0);
        EXPECT_TRUE(std::any_of(french.begin(), french.end(), [&](const QString& f) {
            return f.section(u':', 0, 0) == where;
        })) << place.toStdString();
    }
}

}  // namespace
}  // namespace orbida::ui
