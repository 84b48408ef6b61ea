#include "ui/parts/settings_part.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "ui/parts/remembered.h"

namespace orbida::ui {
namespace {

// Whether a window of `size` at `position` would show its top strip on one of the screens: a
// position remembered from a screen that is gone is not used.
bool OnSomeScreen(QPoint position, QSize size) {
    const QRect strip(position, QSize(size.width(), 30));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = screen->availableGeometry().intersected(strip);
        if (shown.width() >= 100 && shown.height() >= 20) {
            return true;
        }
    }
    return false;
}

}  // namespace

void SettingsPart::Build(PartHost& host) {
    host_ = &host;
    // The submenu's title speaks both languages, for whoever cannot read the one shown. The
    // texts are built once, so a new language shows from the next start, as the last line says.
    auto* menu = new QMenu(QStringLiteral("Langue / Language"), host.Window());
    menu->setObjectName(QStringLiteral("LanguageMenu"));
    languages_ = new QActionGroup(menu);
    const std::pair<QString, QString> entries[] = {
        {QString(), tr("Celle du bureau")},
        {QStringLiteral("fr"), QStringLiteral("Français")},
        {QStringLiteral("en"), QStringLiteral("English")},
    };
    for (const auto& [language, text] : entries) {
        QAction* entry = menu->addAction(text);
        entry->setCheckable(true);
        entry->setData(language);
        entry->setChecked(language.isEmpty());
        languages_->addAction(entry);
        QObject::connect(entry, &QAction::triggered, menu,
                         [this, language = language] { ChooseLanguage(language); });
    }
    menu->addSeparator();
    menu->addAction(tr("(au prochain démarrage)"))->setEnabled(false);
    host.AddToMapMenu(MenuPlace::Language, menu->menuAction());
}

QString SettingsPart::ChosenLanguage() const {
    const QAction* checked = languages_->checkedAction();
    return checked != nullptr ? checked->data().toString() : QString();
}

void SettingsPart::ChooseLanguage(const QString& language) {
    for (QAction* entry : languages_->actions()) {
        entry->setChecked(entry->data().toString() == language);
    }
    if (settings_ != nullptr) {
        RememberLanguage(*settings_, language);
    }
}

void SettingsPart::UseSettings(SettingsStore* settings) {
    settings_ = nullptr;  // nothing is written back while it is being read
    if (settings == nullptr) {
        return;
    }
    ChooseLanguage(ReadLanguage(*settings));
    const Remembered remembered = ReadRemembered(*settings);
    if (!remembered.home.isEmpty()) {
        // A city is remembered by its exact name: another city that merely starts the same way
        // is not it.
        const cities::HomeEntry entry =
            cities::ReadHomeEntry(remembered.home, [this](const QString& typed) {
                return static_cast<int>(host_->Catalogue().IndexOf(typed));
            });
        host_->SetHome(entry, true);
    }
    QWidget* window = host_->Window();
    if (remembered.position && OnSomeScreen(*remembered.position, window->size())) {
        window->move(*remembered.position);
    }
    settings_ = settings;
    // Said on the terminal at once, and over the window once it shows; the store may outlive the
    // window.
    settings->SetReporter([window = QPointer<QWidget>(window),
                           session = &host_->Services().session](const QString& text) {
        std::fputs(
            (QCoreApplication::translate("SettingsPart", "orbida\u00A0: %1").arg(text) + u'\n')
                .toLocal8Bit()
                .constData(),
            stderr);
        if (window) {
            QTimer::singleShot(0, window, [window, session, text] {
                if (window) {
                    session->ShowMessage(window, text);
                }
            });
        }
    });
}

void SettingsPart::HomeChanged(const QString& chosen) {
    if (settings_ != nullptr && !chosen.isEmpty()) {
        RememberHome(*settings_, chosen);
    }
}

void SettingsPart::WindowMoved() {
    if (settings_ != nullptr && host_->Window()->isVisible()) {
        RememberPosition(*settings_, host_->Window()->pos());
    }
}

}  // namespace orbida::ui
