#pragma once

#include <QPointer>
#include <QTimer>
#include <array>
#include <memory>

#include "stations/ncdxf_beacons.h"
#include "ui/parts/station_part.h"

class QAction;
class QTableWidget;

namespace orbida::ui {

class BeaconLayer;

// The NCDXF/IARU beacons: "Balises NCDXF" in the map's menu marks on every map the five beacons on
// the air now, in their band's colour with their calls, and the thirteen others faint, and opens a
// small table of the five: frequency, call, site, azimuth and distance from home by the short and
// the long path, and the seconds left in the slot. One timer, aimed at each turn of a second, runs
// only while they are shown; the clock is the program's, fixed by --time. A row clicked pins its
// beacon as the target (Ctrl+R then turns the antenna to it). Off at start; remembered.
class BeaconPart final : public StationPart {
  public:
    BeaconPart();
    ~BeaconPart() override;

    void Build(PartHost& host) override;
    void UseSettings(SettingsStore* settings) override;
    void Apply(const tracking::TickInput& input, const tracking::TickFrame& frame) override;
    void HomeChanged(const QString& chosen) override;

    void SetBeacons(bool on);
    bool Beacons() const { return on_; }
    const BeaconLayer& Layer() const { return *layer_; }
    // The table while the beacons are shown, else null.
    QTableWidget* Table() const { return table_; }
    const QTimer& Timer() const { return timer_; }

  private:
    void Refresh();

    PartHost* host_ = nullptr;
    SettingsStore* settings_ = nullptr;
    QAction* action_ = nullptr;
    bool on_ = false;
    QTimer timer_;
    QPointer<QWidget> window_;
    QTableWidget* table_ = nullptr;
    tracking::DistanceUnit unit_ = tracking::DistanceUnit::Kilometres;
    std::array<stations::beacons::OnAir, stations::beacons::kBandCount> onAir_{};
    std::unique_ptr<BeaconLayer> layer_;
};

}  // namespace orbida::ui
