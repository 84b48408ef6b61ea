#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>
#include <memory>

namespace orbida::ui {

// The languages the program speaks, as two-letter codes. French is its own: the texts in the
// sources are French, and English comes from a translation.
inline const QString kFrench = QStringLiteral("fr");
inline const QString kEnglish = QStringLiteral("en");

// The language to speak: `wanted` ("en" or "fr", from --lang or the menu) when it is one of
// ours; otherwise the first of the desktop's languages (QLocale::uiLanguages(), "en-GB", "fr_CA",
// "C"…) that is English or French; French when none is.
QString ChooseLanguage(const QStringList& uiLanguages, const QString& wanted);

// The program's translation and Qt's own (its dialogs' buttons and the like) for one language,
// loaded once and installed in whichever application object exists: the one that only prints
// (--help, --check, errors before the window) and the window's. French needs of the program's only
// the plural forms of the texts that count things.
class Translations {
  public:
    explicit Translations(const QString& language);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    QString Language() const { return language_; }
    // Installs both in the application object that exists now.
    void Install() const;

  private:
    QString language_;
    std::unique_ptr<QTranslator> program_;
    std::unique_ptr<QTranslator> qt_;
};

}  // namespace orbida::ui
