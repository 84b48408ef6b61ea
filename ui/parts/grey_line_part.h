#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>

#include "ui/parts/station_part.h"

class QAction;
class QLabel;

namespace orbida::ui {

class GreyLineLayer;

// The grey line: the night side of the map shaded and the sun marked, with sunrise and sunset for
// home and for the target under the window's controls. Off at start-up; Ctrl+G turns it on and
// off from anywhere in the program. The shading follows the clock minute by minute, and a clock
// that jumps (a sleep, a change of the time) is caught up when the window is next activated.
class GreyLinePart final : public StationPart {
  public:
    GreyLinePart();
    ~GreyLinePart() override;

    void Build(PartHost& host) override;
    void UseSettings(SettingsStore* settings) override;
    void Apply(const tracking::TickInput& input, const tracking::TickFrame& frame) override;
    void HomeChanged(const QString& chosen) override;
    void WindowActivated() override;

    void SetGreyLine(bool on);
    bool GreyLine() const { return greyLine_; }
    // The single-shot timer that brings the shading up to date at the next minute.
    const QTimer& SunTimer() const { return sunTimer_; }
    const GreyLineLayer& Layer() const { return *layer_; }

  private:
    void RefreshSun();
    void CheckClockJump();
    void UpdateSunTexts();

    PartHost* host_ = nullptr;
    SettingsStore* settings_ = nullptr;
    bool greyLine_ = false;
    QAction* greyLineAction_ = nullptr;
    QLabel* LblSoleilVille = nullptr;
    QLabel* LblSoleilCible = nullptr;
    QTimer sunTimer_;
    // The wall time when the shading was last brought up to date, and the monotonic time since:
    // the two drift apart when the machine sleeps or the clock is set.
    WallTime sunWall_{};
    QElapsedTimer sinceSunWall_;
    std::optional<std::chrono::sys_time<std::chrono::minutes>> sunMinute_;
    std::optional<geodesy::GeoPoint> target_;  // the point under the pointer, over the map
    std::unique_ptr<GreyLineLayer> layer_;
};

}  // namespace orbida::ui
