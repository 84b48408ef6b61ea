#pragma once

#include <QCoreApplication>

#include "ui/parts/station_part.h"

class QActionGroup;

namespace orbida::ui {

// What is remembered of the window itself between runs: home as it was validated, the window's
// position and the language chosen in the map's menu ("Langue / Language", taken at the next
// start); and how a fault of the settings file is said, once, on the terminal and over the
// window. The other parts remember their own settings.
class SettingsPart final : public StationPart {
    Q_DECLARE_TR_FUNCTIONS(SettingsPart)

  public:
    void Build(PartHost& host) override;
    void UseSettings(SettingsStore* settings) override;
    void HomeChanged(const QString& chosen) override;
    void WindowMoved() override;

    // The language chosen for the next start: "en", "fr", or empty for the desktop's.
    QString ChosenLanguage() const;
    void ChooseLanguage(const QString& language);

  private:
    PartHost* host_ = nullptr;
    QActionGroup* languages_ = nullptr;
    SettingsStore* settings_ = nullptr;
};

}  // namespace orbida::ui
