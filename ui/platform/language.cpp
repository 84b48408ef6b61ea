#include "ui/platform/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace orbida::ui {

QString ChooseLanguage(const QStringList& uiLanguages, const QString& wanted) {
    if (wanted == kEnglish || wanted == kFrench) {
        return wanted;
    }
    for (const QString& name : uiLanguages) {
        // "en", "en-US", "en_GB.UTF-8": the language is what comes before the region.
        const QString language = name.section(QLatin1Char('-'), 0, 0)
                                     .section(QLatin1Char('_'), 0, 0)
                                     .section(QLatin1Char('.'), 0, 0)
                                     .toLower();
        if (language == kEnglish || language == kFrench) {
            return language;
        }
    }
    return kFrench;
}

Translations::Translations(const QString& language)
    : language_(language),
      program_(std::make_unique<QTranslator>()),
      qt_(std::make_unique<QTranslator>()) {
    // The program's own is embedded. The French one holds only the plural forms of the texts that
    // count things, the sources being French. Qt's comes with Qt, and may be missing: its texts
    // then stay Qt's English.
    if (!program_->load(QStringLiteral(":/i18n/orbida_%1.qm").arg(language_))) {
        program_.reset();
    }
    if (!qt_->load(QStringLiteral("qtbase_") + language_,
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qt_.reset();
    }
}

Translations::~Translations() = default;

void Translations::Install() const {
    for (QTranslator* translator : {program_.get(), qt_.get()}) {
        if (translator != nullptr) {
            QCoreApplication::installTranslator(translator);
        }
    }
}

}  // namespace orbida::ui
