#pragma once

// A stand-in for the main window that station parts are built on: a bare window holding a real
// map and dial where the window has them, fake desktop services, home at a given point, and a
// record of what the parts ask of the window. A tick is the real one, run only when the test
// asks for it.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QWidget>
#include <map>
#include <utility>
#include <vector>

#include "cities/city_file.h"
#include "fake_platform.h"
#include "tracking/tick.h"
#include "ui/map/map_widget.h"
#include "ui/parts/station_part.h"
#include "ui/window/frame_widget.h"

namespace orbida::testing {

inline constexpr geodesy::GeoPoint kParis{48.8566, -2.3522};
// Pixels of the window over the map: the one that measures New York (74 W, 40.46 N), and one
// far from every country the tests name.
inline constexpr QPoint kOverNewYork(211, 161);
inline constexpr QPoint kMidAtlantic(400, 300);
inline constexpr QPoint kBelowTheMap(300, 900);

class FakePartHost final : public ui::PartHost {
  public:
    explicit FakePartHost(geodesy::GeoPoint home = kParis)
        : catalogue(
              cities::ParseCityFile("Paris, 48.8566, -2.3522\nSydney, -33.8678, -151.2073\n")) {
        window.resize(676, 507);
        // Where the main window has them, so that a pixel of the window measures the same place.
        map = new ui::MapWidget(&window);
        map->setGeometry(16, 48, 642, 321);
        dial = new ui::DialFrame(QStringLiteral("Azimut"), Qt::cyan, &window);
        dial->setGeometry(416, 408, 169, 73);
        SetHomeAt(home);
        pi_ = tracking::ComputePi();
        degToRad_ = tracking::ComputeDegToRad(pi_);
    }

    // Builds a part on this host; pins and ticks reach it from then on.
    template <typename Part>
    Part& Add(Part& part) {
        part.Build(*this);
        parts.push_back(&part);
        return part;
    }
    void SetHomeAt(geodesy::GeoPoint home) {
        reference = *cities::SelectPoint(home, "Home", {}, {}, {}, 9630.0f, 4815.0f);
    }

    // The real tick with the pointer resting at a pixel of the window, applied to the parts.
    tracking::TickFrame Tick(QPoint windowPoint) {
        fake.pointer = window.mapToGlobal(windowPoint);
        const tracking::TickInput in = InputAt(fake.pointer);
        const tracking::TickFrame frame = tracking::ComputeTick(in);
        for (ui::StationPart* part : parts) {
            part->Apply(in, frame);
        }
        return frame;
    }
    tracking::TickInput InputAt(QPoint globalPointer) const {
        const QPoint at =
            pinned.windowPoint ? window.mapToGlobal(*pinned.windowPoint) : globalPointer;
        tracking::TickInput in;
        in.cursorX = at.x();
        in.cursorY = at.y();
        const QPoint origin = window.mapToGlobal(QPoint(0, 0));
        in.windowLeft = static_cast<float>(origin.x() * 15);
        in.windowTop = static_cast<float>(origin.y() * 15);
        in.entoureLeft = reference.entoureLeft;
        in.referencePoint = reference.referencePoint;
        in.referenceHundredths = reference.referenceHundredths;
        in.pi = pi_;
        in.degToRad = degToRad_;
        in.pinnedPoint = pinned.place;
        for (const ui::StationPart* part : parts) {
            part->Input(in);
        }
        return in;
    }

    // The entries a part put at a place of the map's menu, by their texts.
    QStringList MenuTexts(ui::MenuPlace place) const {
        QStringList texts;
        for (const auto& [at, entry] : menu) {
            if (at == place) {
                texts << entry->text();
            }
        }
        return texts;
    }
    // An entry of the map's menu, or of one of its submenus, whose text starts with `text`.
    QAction* Entry(const QString& text) const {
        for (const auto& [at, entry] : menu) {
            QList<QAction*> actions{entry};
            if (entry->menu() != nullptr) {
                actions += entry->menu()->actions();
            }
            for (QAction* action : actions) {
                if (action->text().startsWith(text)) {
                    return action;
                }
            }
        }
        ADD_FAILURE() << "no entry " << text.toStdString();
        return nullptr;
    }
    // A label's text, or an empty text while it is hidden.
    QString Shown(const char* name) const {
        const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(label, nullptr) << name;
        return label != nullptr && label->isVisibleTo(&window) ? label->text() : QString();
    }

    // PartHost
    QWidget* Window() override { return &window; }
    ui::MapWidget* Map() override { return map; }
    ui::DialFrame* Dial() override { return dial; }
    const ui::Platform& Services() const override { return platform_; }
    bool Topmost() const override { return topmost; }
    void AddToMapMenu(ui::MenuPlace place, QAction* entry) override {
        menu.emplace_back(place, entry);
    }
    std::optional<QPoint> MenuPointer() const override { return menuPointer; }
    void OpenMapMenu(QPoint globalPointer) override { menuPointer = globalPointer; }
    void AddLayer(ui::MapLayer* layer) override { map->AddLayer(layer); }
    void AddLayerToOtherMaps(ui::MapLayer* layer) override { otherLayers.push_back(layer); }
    void AddView(QWidget* widget, ui::MapView* view) override {
        views.push_back(view);
        for (ui::StationPart* part : parts) {
            part->MapOpened(widget, *view);
        }
    }
    void RemoveView(ui::MapView* view) override { std::erase(views, view); }
    const cities::ReferenceState& Reference() const override { return reference; }
    const cities::Catalogue& Catalogue() const override { return catalogue; }
    bool SetHome(const cities::HomeEntry& entry, bool remembered) override {
        homes.emplace_back(entry, remembered);
        return true;
    }
    const ui::PinnedTarget& Pinned() const override { return pinned; }
    void Pin(ui::PinnedTarget target) override {
        pinned = target;
        pins.push_back(target);
        for (ui::StationPart* part : parts) {
            part->PinChanged(pinned);
        }
    }
    void Retick(bool changed) override { reticks.push_back(changed); }
    tracking::TickFrame Measure(QPoint globalPointer) override {
        return tracking::ComputeTick(InputAt(globalPointer));
    }
    tracking::TickFrame MeasurePlace(geodesy::GeoPoint place) override {
        tracking::TickInput in = InputAt(QPoint(-1'000'000, -1'000'000));
        in.pinnedPoint = place;
        return tracking::ComputeTick(in);
    }
    std::optional<dxcc::Country> CountryOf(const QString& call) override {
        if (const auto found = countries.find(call); found != countries.end()) {
            return found->second;
        }
        for (ui::StationPart* part : parts) {
            if (auto country = part->CountryOf(call)) {
                return country;
            }
        }
        return std::nullopt;
    }
    void Refuse(const QString& reason) override { refusals.push_back(reason); }
    void Accept() override { ++accepts; }

    FakePlatform fake;
    QWidget window;
    ui::MapWidget* map = nullptr;
    ui::DialFrame* dial = nullptr;
    cities::ReferenceState reference;
    cities::Catalogue catalogue;
    bool topmost = false;
    std::optional<QPoint> menuPointer;           // global
    std::map<QString, dxcc::Country> countries;  // what CountryOf answers before the parts
    std::vector<ui::MapLayer*> otherLayers;
    std::vector<ui::MapView*> views;
    ui::PinnedTarget pinned;
    std::vector<ui::StationPart*> parts;

    // What the parts asked for, in order.
    std::vector<std::pair<ui::MenuPlace, QAction*>> menu;
    std::vector<std::pair<cities::HomeEntry, bool>> homes;
    std::vector<ui::PinnedTarget> pins;
    std::vector<bool> reticks;
    std::vector<QString> refusals;
    int accepts = 0;

  private:
    ui::Platform platform_{fake.Services()};
    double pi_ = 0.0;
    double degToRad_ = 0.0;
};

}  // namespace orbida::testing
