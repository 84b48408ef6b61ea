#include "ui/parts/readings_part.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <vector>

#include "ui/map/map_widget.h"
#include "ui/map/route_layers.h"
#include "ui/parts/map_menu.h"
#include "ui/parts/remembered.h"
#include "ui/window/frame_widget.h"
#include "ui/window/readout_label.h"
#include "ui/window/style.h"
#include "ui/window/twips.h"

namespace orbida::ui {
namespace {

QLabel* MakeReading(QWidget* parent, const char* name, QRect geometry) {
    auto* label = MakeLabel<ReadoutLabel>(parent, name, QString(), geometry, {kLightCyan});
    label->setWordWrap(false);
    label->hide();
    return label;
}

}  // namespace

ReadingsPart::ReadingsPart() : layer_(std::make_unique<LongRouteLayer>()) {}

ReadingsPart::~ReadingsPart() = default;

void ReadingsPart::Build(PartHost& host) {
    host_ = &host;
    QWidget* window = host.Window();
    // In the free space right of the readout rows, in the rows' own font.
    LblLocatCurseur = MakeReading(window, "LblLocatCurseur", TwipRect(8130, 5640, 1890, 255));
    LblLongChemin = MakeReading(window, "LblLongChemin", TwipRect(8130, 5880, 1890, 255));

    longRouteAction_ = AddMenuEntry(
        window, nullptr, QCoreApplication::translate("ReadingsPart", "Long chemin"),
        QKeySequence(Qt::CTRL | Qt::Key_L), [this](bool on) { SetLongRoute(on); }, true);
    host.AddToMapMenu(MenuPlace::LongRoute, longRouteAction_);

    auto* units = new QMenu(QCoreApplication::translate("ReadingsPart", "Unités"), window);
    units->setObjectName(QStringLiteral("UnitMenu"));
    auto* group = new QActionGroup(units);
    const QString unitTexts[] = {
        QCoreApplication::translate("ReadingsPart", "Kilomètres (Kms)"),
        QCoreApplication::translate("ReadingsPart", "Miles terrestres (Miles)"),
        QCoreApplication::translate("ReadingsPart", "Milles nautiques (Nq)")};
    for (std::size_t i = 0; i < unitActions_.size(); ++i) {
        const auto unit = static_cast<tracking::DistanceUnit>(i);
        unitActions_[i] = AddMenuEntry(
            window, units, unitTexts[i], {}, [this, unit](bool) { SetUnit(unit); }, true);
        group->addAction(unitActions_[i]);
    }
    unitActions_[0]->setChecked(true);
    units->addSeparator();
    AddMenuEntry(window, units, QCoreApplication::translate("ReadingsPart", "Unité suivante"),
                 QKeySequence(Qt::CTRL | Qt::Key_M), [this](bool) { CycleUnit(); });
    host.AddToMapMenu(MenuPlace::Units, units->menuAction());

    host.AddLayer(layer_.get());
}

void ReadingsPart::UseSettings(SettingsStore* settings) {
    settings_ = nullptr;  // nothing is written back while it is being read
    if (settings == nullptr) {
        return;
    }
    const Remembered remembered = ReadRemembered(*settings);
    SetUnit(remembered.unit);
    SetLongRoute(remembered.longRoute);
    settings_ = settings;
}

void ReadingsPart::Input(tracking::TickInput& input) const {
    input.unit = unit_;
    input.longRoute = longRoute_;
}

void ReadingsPart::SetLongRoute(bool on) {
    longRoute_ = on;
    longRouteAction_->setChecked(on);
    if (settings_ != nullptr) {
        RememberLongRoute(*settings_, on);
    }
    host_->Retick(false);
}

void ReadingsPart::SetUnit(tracking::DistanceUnit unit) {
    unit_ = unit;
    unitActions_[static_cast<std::size_t>(unit)]->setChecked(true);
    if (settings_ != nullptr) {
        RememberUnit(*settings_, unit);
    }
    host_->Retick(false);
}

void ReadingsPart::CycleUnit() {
    SetUnit(static_cast<tracking::DistanceUnit>((static_cast<int>(unit_) + 1) % 3));
}

void ReadingsPart::Apply(const tracking::TickInput&, const tracking::TickFrame& f) {
    LblLocatCurseur->setVisible(f.tracking);
    LblLongChemin->setVisible(f.tracking);
    const QString locator = QStringLiteral("Loc: ") + QString::fromStdString(f.targetLocator);
    if (LblLocatCurseur->text() != locator) {
        LblLocatCurseur->setText(locator);
    }
    const QString longPath = QStringLiteral("LP: ") + QString::fromStdString(f.longPathText);
    if (LblLongChemin->text() != longPath) {
        LblLongChemin->setText(longPath);
    }
    host_->Dial()->SetLongNeedle(f.longNeedleX2, f.longNeedleY2, f.tracking);
    layer_->SetPoints(f.longRoute.shown ? std::vector<geodesy::GeoPoint>(f.longRoute.points.begin(),
                                                                         f.longRoute.points.end())
                                        : std::vector<geodesy::GeoPoint>());
}

}  // namespace orbida::ui
