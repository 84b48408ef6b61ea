#pragma once

#include <QPoint>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "cities/city_file.h"
#include "cities/home_entry.h"
#include "cities/selection.h"
#include "dxcc/country_file.h"
#include "geodesy/geo_point.h"
#include "tracking/tick.h"
#include "ui/parts/map_menu.h"
#include "ui/platform/platform.h"

class QAction;
class QWidget;

namespace orbida::ui {

class DialFrame;
class MapLayer;
class MapView;
class MapWidget;
class SettingsStore;

// What the tick measures instead of the pointer: a point of the window pinned by a click, or a
// place pinned by its coordinates (a callsign's country). Nothing pinned: the pointer.
struct PinnedTarget {
    std::optional<QPoint> windowPoint;
    std::optional<geodesy::GeoPoint> place;

    bool Any() const { return windowPoint.has_value() || place.has_value(); }
    friend bool operator==(const PinnedTarget&, const PinnedTarget&) = default;
};

// What the main window gives its station parts: the window and its dial and map, the map's
// menu, the desktop's services, home, the pinned target and the tick. A part reaches the others
// only through what they change here.
class PartHost {
  public:
    virtual ~PartHost() = default;

    // The window, parent of a part's widgets; its actions' shortcuts work from any control.
    virtual QWidget* Window() = 0;
    virtual MapWidget* Map() = 0;
    virtual DialFrame* Dial() = 0;
    virtual const Platform& Services() const = 0;
    // Whether the window floats above all others (after its first drag): a part's own windows
    // must then too.
    virtual bool Topmost() const = 0;

    // Puts an entry (an action or a submenu's action) in the map's menu at its place.
    virtual void AddToMapMenu(MenuPlace place, QAction* entry) = 0;
    // Where the map's menu was opened (on any map), as a global pointer position, while one of
    // its entries is being chosen.
    virtual std::optional<QPoint> MenuPointer() const = 0;
    // Opens the map's menu at a global position, from a map of a part's own.
    virtual void OpenMapMenu(QPoint globalPointer) = 0;

    // Shows a layer on every map: the window's and those that parts open, now or later.
    virtual void AddLayer(MapLayer* layer) = 0;
    // Shows a layer only on the maps that parts open: what the window's map shows with shapes of
    // its own (the route's dots, home's ring) or leaves to the dial (the antenna's heading).
    virtual void AddLayerToOtherMaps(MapLayer* layer) = 0;
    // A map of a part's own (view of the widget), shown with every layer given to AddLayer until
    // it is removed; the parts hear of it (MapOpened).
    virtual void AddView(QWidget* widget, MapView* view) = 0;
    virtual void RemoveView(MapView* view) = 0;

    virtual const cities::ReferenceState& Reference() const = 0;
    virtual const cities::Catalogue& Catalogue() const = 0;
    // Makes a city of the list, a locator or coordinates home. remembered: read back from the
    // settings at start, shown in the city box, its connection asked once the window is up.
    virtual bool SetHome(const cities::HomeEntry& entry, bool remembered) = 0;

    virtual const PinnedTarget& Pinned() const = 0;
    virtual void Pin(PinnedTarget target) = 0;

    // The tick again at the pointer as it is now. changed: the same pointer now measures
    // something else; otherwise nothing runs before the first tick.
    virtual void Retick(bool changed) = 0;
    // The frame the window would show for the pointer at a global position, not applied.
    virtual tracking::TickFrame Measure(QPoint globalPointer) = 0;
    // The frame the window would show for a place of the globe as the target, not applied.
    virtual tracking::TickFrame MeasurePlace(geodesy::GeoPoint place) = 0;

    // The country of a callsign, from the part that reads the country file; none when it cannot
    // tell.
    virtual std::optional<dxcc::Country> CountryOf(const QString& call) = 0;

    // Says under the city box, without interrupting, why a typed text chose nothing.
    virtual void Refuse(const QString& reason) = 0;
    // The typed text was taken: the refusal goes.
    virtual void Accept() = 0;
};

// A station feature of the main window: its own state, widgets, map layers and menu entries.
// The window builds each once, then calls it at the moments below; every call has a default
// that does nothing, so that a part says only what it takes part in.
class StationPart {
  public:
    virtual ~StationPart() = default;

    // Makes the part's widgets, layers and menu entries. The host outlives the part.
    virtual void Build(PartHost& host) = 0;
    // Reads what was remembered and keeps it up to date from then on; null: nothing is kept.
    virtual void UseSettings(SettingsStore* settings) { (void)settings; }

    // What the part sets in the tick's input (the unit, the long route…).
    virtual void Input(tracking::TickInput& input) const { (void)input; }
    // Each frame the window applies, with the input it was computed from.
    virtual void Apply(const tracking::TickInput& input, const tracking::TickFrame& frame) {
        (void)input;
        (void)frame;
    }
    // Home changed. chosen: by the user, as validated (a name of the list, a locator or
    // coordinates as typed); empty when read back from the settings.
    virtual void HomeChanged(const QString& chosen) { (void)chosen; }
    virtual void PinChanged(const PinnedTarget& target) { (void)target; }
    // A text of the city box that is neither a city nor a home (a callsign): true when the part
    // took it, refused or not.
    virtual bool TakeTyped(const cities::HomeEntry& entry) {
        (void)entry;
        return false;
    }
    // The country of a callsign, for a part that has the country file.
    virtual std::optional<dxcc::Country> CountryOf(const QString& call) {
        (void)call;
        return std::nullopt;
    }
    // A map opened by a part (its widget and its view), shown until it is removed.
    virtual void MapOpened(QWidget* widget, const MapView& view) {
        (void)widget;
        (void)view;
    }
    virtual void WindowActivated() {}
    virtual void WindowMoved() {}
};

// Every station part of the main window, in the order they are built and called.
std::vector<std::unique_ptr<StationPart>> MakeStationParts();

}  // namespace orbida::ui
