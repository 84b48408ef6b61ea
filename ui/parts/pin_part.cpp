#include "ui/parts/pin_part.h"

#include <QAction>
#include <QCoreApplication>
#include <QMouseEvent>

#include "ui/map/map_widget.h"
#include "ui/map/route_layers.h"
#include "ui/parts/map_menu.h"

namespace orbida::ui {
namespace {

QString PinText(bool pinned) {
    return (pinned ? QCoreApplication::translate("PinPart", "Libérer le point")
                   : QCoreApplication::translate("PinPart", "Épingler ce point")) +
           QCoreApplication::translate("PinPart", "\tClic gauche");
}

}  // namespace

PinPart::PinPart() : layer_(std::make_unique<PinLayer>()) {}

PinPart::~PinPart() = default;

void PinPart::Build(PartHost& host) {
    host_ = &host;
    pinAction_ = AddMenuEntry(
        host.Window(), nullptr, QCoreApplication::translate("PinPart", "Épingler ce point"), {},
        [this](bool) {
            if (const std::optional<QPoint> pointer = host_->MenuPointer()) {
                TogglePin(*pointer);
            }
        },
        false, QCoreApplication::translate("PinPart", "Clic gauche"));
    host.AddToMapMenu(MenuPlace::Pin, pinAction_);

    MapWidget* map = host.Map();
    OnMousePress(map, [this, map](QMouseEvent* event) {
        if (event->button() != Qt::LeftButton) {
            return false;
        }
        TogglePin(map->mapToGlobal(event->position().toPoint()));
        return true;
    });
    host.AddLayer(layer_.get());
}

// A point of the window's map is pinned as that point of the window; one of another map as the
// place it measures.
void PinPart::TogglePin(QPoint globalPointer) {
    if (host_->Pinned().Any()) {
        host_->Pin({});
        return;
    }
    MapWidget* map = host_->Map();
    if (map->rect().contains(map->mapFromGlobal(globalPointer))) {
        host_->Pin({host_->Window()->mapFromGlobal(globalPointer), std::nullopt});
        return;
    }
    const tracking::TickFrame frame = host_->Measure(globalPointer);
    if (frame.tracking) {
        host_->Pin({std::nullopt, frame.exactPoint});
    }
}

void PinPart::PinChanged(const PinnedTarget& target) {
    pinAction_->setText(PinText(target.Any()));
    if (!target.Any()) {
        ShowMark(std::nullopt);
    }
}

// The mark stands on the point measured, while it is on the map.
void PinPart::Apply(const tracking::TickInput&, const tracking::TickFrame& f) {
    ShowMark(host_->Pinned().Any() && f.tracking ? std::optional(f.exactPoint) : std::nullopt);
}

void PinPart::ShowMark(std::optional<geodesy::GeoPoint> point) {
    layer_->SetPoint(point);
    host_->Map()->SetArrowPointer(point.has_value());
}

}  // namespace orbida::ui
