#include "ui/parts/azimuthal_part.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QVBoxLayout>
#include <cmath>

#include "ui/map/disc_map.h"
#include "ui/map/map_widget.h"
#include "ui/map/route_layers.h"
#include "ui/parts/remembered.h"
#include "ui/window/packed_pictures.h"
#include "ui/window/style.h"

namespace orbida::ui {
namespace {

constexpr QSize kDefaultSize(600, 600);

// The azimuthal map's window: says when it is closed, moved or resized.
class DiscWindow final : public QWidget {
  public:
    std::function<void()> closed;
    std::function<void()> changed;

  protected:
    void closeEvent(QCloseEvent* event) override {
        QWidget::closeEvent(event);
        if (closed) {
            closed();
        }
    }
    void moveEvent(QMoveEvent* event) override {
        QWidget::moveEvent(event);
        if (changed) {
            changed();
        }
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (changed) {
            changed();
        }
    }
};

}  // namespace

AzimuthalPart::AzimuthalPart()
    : lines_(std::make_unique<BearingLayer>()), home_(std::make_unique<HomeLayer>()) {}

AzimuthalPart::~AzimuthalPart() {
    delete window_;
}

void AzimuthalPart::Build(PartHost& host) {
    host_ = &host;
    action_ = AddMenuEntry(
        host.Window(), nullptr, QCoreApplication::translate("AzimuthalPart", "Carte azimutale"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), [this](bool on) { SetOpen(on); }, true);
    host.AddToMapMenu(MenuPlace::Azimuthal, action_);
}

void AzimuthalPart::UseSettings(SettingsStore* settings) {
    settings_ = settings;
    if (settings_ == nullptr) {
        return;
    }
    const DiscWindowState state = ReadDiscWindow(*settings_);
    geometry_ = state.geometry;
    SetOpen(state.open);
}

void AzimuthalPart::Remember() {
    if (settings_ != nullptr) {
        RememberDiscWindow(*settings_, {IsOpen(), geometry_});
    }
}

void AzimuthalPart::SetOpen(bool open) {
    action_->setChecked(open);
    if (open == IsOpen()) {
        if (open) {
            window_->raise();
            window_->activateWindow();
        }
        return;
    }
    if (!open) {
        host_->RemoveView(map_);
        QWidget* window = window_;
        window_ = nullptr;
        map_ = nullptr;
        window->hide();
        window->deleteLater();
        Remember();
        host_->Retick(false);
        return;
    }
    auto* window = new DiscWindow;
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->setObjectName(QStringLiteral("FenetreAzimutale"));
    window->setWindowTitle(
        QCoreApplication::translate("AzimuthalPart", "Orbida — carte azimutale"));
    window->setWindowIcon(PictureIcon("icon.png"));
    StyleWindow(window, "FenetreAzimutale", kDefaultSize, kGrey);
    window->setMinimumSize(200, 200);
    window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    map_ = new DiscMap(window);
    layout->addWidget(map_);
    // The window's shortcuts (the grey line, the units, the rotator…) work from here too.
    window->addActions(host_->Window()->actions());
    window_ = window;

    map_->SetCentre(host_->Reference().referencePoint);
    map_->clicked = [this](QPoint global) {
        if (host_->Pinned().Any()) {
            host_->Pin({});
            return;
        }
        const std::optional<geodesy::GeoPoint> place = map_->PlaceAt(map_->mapFromGlobal(global));
        if (place) {
            host_->Pin({std::nullopt, place});
        }
    };
    map_->menuAsked = [this](QPoint global) { host_->OpenMapMenu(global); };
    map_->left = [this] { host_->Retick(false); };
    window->closed = [this] { SetOpen(false); };
    window->changed = [this] {
        if (window_ != nullptr && !window_->isFullScreen() && window_->isVisible()) {
            geometry_ = window_->geometry();
            Remember();
        }
    };
    host_->AddView(map_, map_);
    map_->AddLayer(lines_.get());
    map_->AddLayer(home_.get());
    home_->SetPoint(host_->Reference().referencePoint);

    if (geometry_) {
        window->setGeometry(*geometry_);
    } else {
        window->resize(kDefaultSize);
    }
    window->show();
    Remember();
    host_->Retick(false);
}

// The pointer over the map is the target, unless one is pinned. Where the window's own map lies
// under the pointer too, the window on top at that point decides.
void AzimuthalPart::Input(tracking::TickInput& input) const {
    if (map_ == nullptr || !map_->isVisible() || input.pinnedPoint) {
        return;
    }
    const QPoint global(input.cursorX, input.cursorY);
    const QPoint local = map_->mapFromGlobal(global);
    if (!map_->rect().contains(local)) {
        return;
    }
    const QWidget* top = QApplication::widgetAt(global);
    if (top != nullptr && top != map_) {
        MapWidget* windowMap = host_->Map();
        if (top == windowMap || top->window() == windowMap->window()) {
            return;
        }
    }
    if (const std::optional<geodesy::GeoPoint> place = map_->PlaceAt(local)) {
        input.pinnedPoint = place;
    }
}

void AzimuthalPart::Apply(const tracking::TickInput& input, const tracking::TickFrame& frame) {
    if (map_ == nullptr) {
        return;
    }
    map_->SetUnit(input.unit);
    std::vector<BearingLine> lines;
    if (frame.tracking) {
        const geodesy::GeoPoint home = host_->Reference().referencePoint;
        lines.push_back({home, frame.dial.course, frame.distanceKm, kRed});
        if (input.longRoute) {
            lines.push_back({home, std::fmod(frame.dial.course + 180.0, 360.0),
                             geodesy::AzimuthalEquidistant::kRimKm, kLongPathOrange});
        }
    }
    lines_->SetLines(std::move(lines));
}

void AzimuthalPart::HomeChanged(const QString&) {
    if (map_ != nullptr) {
        map_->SetCentre(host_->Reference().referencePoint);
        home_->SetPoint(host_->Reference().referencePoint);
    }
}

}  // namespace orbida::ui
