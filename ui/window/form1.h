#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "cities/city_file.h"
#include "cities/home_entry.h"
#include "cities/selection.h"
#include "tracking/tick.h"
#include "ui/parts/station_part.h"
#include "ui/platform/platform.h"
#include "ui/window/about_box.h"
#include "ui/window/form1_layout.h"
#include "ui/window/frame_pacer.h"
#include "ui/window/input_hint.h"
#include "ui/window/window_drag.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace orbida::ui {

class MapViews;
class SettingsStore;

// The main window: a borderless grey window of 10140 x 7605 twips with the world map, the city
// choice, the readouts and the azimuth dial. It follows the pointer with the tracking tick and
// applies each frame, touching only what changed; its station parts add their readings, layers
// and menu entries.
class Form1 : public QWidget, private PartHost {
  public:
    Form1(cities::Catalogue catalogue, Platform platform, QWidget* parent = nullptr);
    ~Form1() override;

    // One tracking tick with the pointer at a global position, in device-independent pixels.
    void TickAt(QPoint globalPointer);
    // The click of ValidVille: makes the chosen city the reference, or reads what was typed.
    void ValidateCity();
    void OpenWebMap();
    void ShowAbout();
    void Minimise();

    const cities::ReferenceState& Reference() const override { return reference_; }
    const cities::Catalogue& Catalogue() const override { return catalogue_; }
    // Replaces the city list, before the window first shows (the window may be built while the
    // file is still being read).
    void SetCatalogue(cities::Catalogue catalogue);
    AboutBox* About() const { return about_; }
    // The hidden text boxes that hold the web map address's latitude and longitude texts.
    const QString& Text1() const { return text1_; }
    const QString& Text2() const { return text2_; }

    // Reads what was remembered and applies it, then keeps it up to date as the user changes it.
    // Without settings (nullptr) nothing is remembered.
    void UseSettings(SettingsStore* settings);
    const PinnedTarget& Pinned() const override { return pinned_; }
    QMenu* MapMenu() const { return mapMenu_->Menu(); }
    // Makes the typed text home when it reads as a locator or coordinates, or hands it to the
    // part that takes it (a callsign); otherwise says why below the city box and changes nothing.
    // The name of a city was tried before. True when home changed.
    bool ValidateTypedHome(const QString& text);
    const QString& LastRefusal() const { return lastRefusal_; }

    // The station part of a kind, or null.
    template <typename Part>
    Part* Find() const {
        for (const auto& part : parts_) {
            if (auto* found = dynamic_cast<Part*>(part.get())) {
                return found;
            }
        }
        return nullptr;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    // What the parts are given.
    QWidget* Window() override { return this; }
    MapWidget* Map() override { return ui_.Carte; }
    DialFrame* Dial() override { return ui_.Frame1; }
    const Platform& Services() const override { return platform_; }
    bool Topmost() const override { return topmost_; }
    void AddToMapMenu(MenuPlace place, QAction* entry) override;
    std::optional<QPoint> MenuPointer() const override;
    void OpenMapMenu(QPoint globalPointer) override;
    void AddLayer(MapLayer* layer) override;
    void AddLayerToOtherMaps(MapLayer* layer) override;
    void AddView(QWidget* widget, MapView* view) override;
    void RemoveView(MapView* view) override;
    bool SetHome(const cities::HomeEntry& entry, bool remembered) override;
    void Pin(PinnedTarget target) override;
    void Retick(bool changed) override;
    tracking::TickFrame Measure(QPoint globalPointer) override;
    tracking::TickFrame MeasurePlace(geodesy::GeoPoint place) override;
    std::optional<dxcc::Country> CountryOf(const QString& call) override;
    void Refuse(const QString& reason) override;
    void Accept() override;

    void ConnectControls();
    void ApplyReference(const QString& chosen = QString());
    tracking::TickInput InputAt(QPoint globalPointer) const;
    void ApplyFrame(const tracking::TickInput& in, const tracking::TickFrame& frame);
    void PointerMoved(QPoint globalPointer);
    void TickAtPointer();
    void CheckConnectionLater();
    void ShowCatalogue();

    cities::Catalogue catalogue_;
    Platform platform_;
    cities::ReferenceState reference_;
    double pi_ = 0.0;
    double degToRad_ = 0.0;
    tracking::TickInput lastInput_;
    bool ticked_ = false;
    bool topmost_ = false;  // made topmost by the first drag, for the rest of the run
    QElapsedTimer monotonic_;
    FramePacer pacer_;
    QTimer frameTimer_;  // the end of the frame of a held move
    QPoint pendingPointer_;
    QString text1_ = QStringLiteral("Text1");
    QString text2_ = QStringLiteral("Text2");
    QPointer<AboutBox> about_;
    QTimer enterTimer_;
    std::unique_ptr<InputHint> inputHint_;
    QString lastRefusal_;
    WindowDrag drag_;

    std::unique_ptr<ui::MapMenu> mapMenu_;
    PinnedTarget pinned_;
    std::unique_ptr<MapViews> maps_;
    std::vector<std::unique_ptr<StationPart>> parts_;

    Form1Controls ui_;
};

}  // namespace orbida::ui
