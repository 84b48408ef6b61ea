#pragma once

#include <QPointer>
#include <QRect>
#include <memory>
#include <optional>

#include "ui/parts/station_part.h"

class QAction;

namespace orbida::ui {

class BearingLayer;
class DiscMap;
class HomeLayer;

// The azimuthal map in a window of its own, centred on home: the pointer on it is the target as
// on the window's map (the readouts, the dial and the routes follow it), a left click pins it, a
// right click opens the map's menu. It shows every layer of the window's map (the long route, the
// pin, the grey line) and its own: home, the short path as a straight line from home, and the long
// path on to the rim while the long route is drawn. Opened and closed by "Carte azimutale"
// (Ctrl+Shift+A); while closed nothing of it exists.
class AzimuthalPart final : public StationPart {
  public:
    AzimuthalPart();
    ~AzimuthalPart() override;

    void Build(PartHost& host) override;
    void UseSettings(SettingsStore* settings) override;
    void Input(tracking::TickInput& input) const override;
    void Apply(const tracking::TickInput& input, const tracking::TickFrame& frame) override;
    void HomeChanged(const QString& chosen) override;

    void SetOpen(bool open);
    bool IsOpen() const { return window_ != nullptr; }
    // The window and its map while open, else null.
    QWidget* Window() const { return window_; }
    DiscMap* Map() const { return map_; }
    const BearingLayer& Lines() const { return *lines_; }

  private:
    void Remember();

    PartHost* host_ = nullptr;
    SettingsStore* settings_ = nullptr;
    QAction* action_ = nullptr;
    QPointer<QWidget> window_;
    DiscMap* map_ = nullptr;
    std::optional<QRect> geometry_;  // where the window was last, for its next opening
    std::unique_ptr<BearingLayer> lines_;
    std::unique_ptr<HomeLayer> home_;
};

}  // namespace orbida::ui
