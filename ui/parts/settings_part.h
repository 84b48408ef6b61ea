#pragma once

#include "ui/parts/station_part.h"

namespace orbida::ui {

// What is remembered of the window itself between runs: home as it was validated and the
// window's position; and how a fault of the settings file is said, once, on the terminal and
// over the window. The other parts remember their own settings.
class SettingsPart final : public StationPart {
  public:
    void Build(PartHost& host) override;
    void UseSettings(SettingsStore* settings) override;
    void HomeChanged(const QString& chosen) override;
    void WindowMoved() override;

  private:
    PartHost* host_ = nullptr;
    SettingsStore* settings_ = nullptr;
};

}  // namespace orbida::ui
