#pragma once

#include <memory>

#include "ui/parts/station_part.h"

class QAction;

namespace orbida::ui {

class PinLayer;

// The pinned target: a left click on the map (or "Épingler ce point" in its menu) keeps the
// point under the pointer measured wherever the pointer goes, marked on the map; the next click
// releases it, whatever pinned it.
class PinPart final : public StationPart {
  public:
    PinPart();
    ~PinPart() override;

    void Build(PartHost& host) override;
    void Apply(const tracking::TickInput& input, const tracking::TickFrame& frame) override;
    void PinChanged(const PinnedTarget& target) override;

    // Pins the point measured at a point of the window, or releases what is pinned.
    void TogglePin(QPoint globalPointer);
    const PinLayer& Layer() const { return *layer_; }

  private:
    void ShowMark(std::optional<geodesy::GeoPoint> point);

    PartHost* host_ = nullptr;
    QAction* pinAction_ = nullptr;
    std::unique_ptr<PinLayer> layer_;
};

}  // namespace orbida::ui
