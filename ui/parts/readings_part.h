#pragma once

#include <QString>
#include <array>

#include "tracking/tick.h"
#include "ui/parts/station_part.h"

class QAction;
class QLabel;

namespace orbida::ui {

class LongRouteLayer;

// The readings beside the design's readouts: the long path's azimuth and distance, the measured
// point's locator, the unit of every distance (Ctrl+M) and the long route on the map (Ctrl+L).
class ReadingsPart final : public StationPart {
  public:
    ReadingsPart();
    ~ReadingsPart() override;

    void Build(PartHost& host) override;
    void UseSettings(SettingsStore* settings) override;
    void Input(tracking::TickInput& input) const override;
    void Apply(const tracking::TickInput& input, const tracking::TickFrame& frame) override;

    void SetLongRoute(bool on);
    bool LongRoute() const { return longRoute_; }
    void SetUnit(tracking::DistanceUnit unit);
    void CycleUnit();  // km, then statute miles, then nautical miles
    tracking::DistanceUnit Unit() const { return unit_; }
    const LongRouteLayer& Layer() const { return *layer_; }

  private:
    PartHost* host_ = nullptr;
    SettingsStore* settings_ = nullptr;
    bool longRoute_ = false;
    tracking::DistanceUnit unit_ = tracking::DistanceUnit::Kilometres;
    QLabel* LblLongChemin = nullptr;    // long-path azimuth and distance
    QLabel* LblLocatCurseur = nullptr;  // the measured point's locator
    QAction* longRouteAction_ = nullptr;
    std::array<QAction*, 3> unitActions_{};
    std::unique_ptr<LongRouteLayer> layer_;
};

}  // namespace orbida::ui
