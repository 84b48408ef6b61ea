#include "ui/parts/pin_part.h"

#include <QAction>
#include <QMouseEvent>

#include "ui/map/map_widget.h"
#include "ui/map/route_layers.h"
#include "ui/parts/map_menu.h"

namespace orbida::ui {
namespace {

QString PinText(bool pinned) {
    return (pinned ? QStringLiteral("Libérer le point") : QStringLiteral("Épingler ce point")) +
           QStringLiteral("\tClic gauche");
}

}  // namespace

PinPart::PinPart() : layer_(std::make_unique<PinLayer>()) {}

PinPart::~PinPart() = default;

void PinPart::Build(PartHost& host) {
    host_ = &host;
    pinAction_ = AddMenuEntry(
        host.Window(), nullptr, QStringLiteral("Épingler ce point"), {},
        [this](bool) { TogglePin(host_->MenuPoint().value_or(QPoint())); }, false,
        QStringLiteral("Clic gauche"));
    host.AddToMapMenu(MenuPlace::Pin, pinAction_);

    MapWidget* map = host.Map();
    OnMousePress(map, [this, map](QMouseEvent* event) {
        if (event->button() != Qt::LeftButton) {
            return false;
        }
        TogglePin(map->mapTo(host_->Window(), event->position().toPoint()));
        return true;
    });
    map->AddLayer(layer_.get());
}

void PinPart::TogglePin(QPoint windowPoint) {
    if (host_->Pinned().Any()) {
        host_->Pin({});
    } else {
        host_->Pin({windowPoint, std::nullopt});
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
