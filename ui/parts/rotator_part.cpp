#include "ui/parts/rotator_part.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <cmath>

#include "rotator/client.h"
#include "ui/map/route_layers.h"
#include "ui/parts/map_menu.h"
#include "ui/parts/remembered.h"
#include "ui/parts/rotator_dialog.h"
#include "ui/window/frame_widget.h"
#include "ui/window/style.h"
#include "ui/window/twips.h"

namespace orbida::ui {
namespace {

// A heading in whole degrees as the dial writes an azimuth, rounded away from north: an antenna
// turned to the course that the dial shows as 292 ° reads 292 °, not 291 °.
QString DialDegrees(double course) {
    const double whole = course < 180.0 ? std::floor(course) : 360.0 - std::floor(360.0 - course);
    return QString::number(static_cast<int>(whole)) + QStringLiteral(" °");
}

}  // namespace

RotatorPart::RotatorPart() : heading_(std::make_unique<BearingLayer>()) {}

RotatorPart::~RotatorPart() = default;

void RotatorPart::Build(PartHost& host) {
    host_ = &host;
    host.AddLayerToOtherMaps(heading_.get());
    QWidget* window = host.Window();
    rotator_ = new rotator::Client(window);
    QObject::connect(rotator_, &rotator::Client::StatusChanged, window,
                     [this] { ShowRotatorStatus(); });
    QObject::connect(rotator_, &rotator::Client::HeadingChanged, window,
                     [this] { ShowRotatorStatus(); });

    // In the free space right of the dial, under the long path's reading. The text wraps: a
    // reason for a fault takes a few lines.
    LblRotor =
        MakeLabel(window, "LblRotor", QString(), TwipRect(8850, 6150, 1170, 1050), {kLightCyan});
    LblRotor->setTextFormat(Qt::PlainText);  // a daemon's words are never read as markup
    LblRotor->hide();

    turnShortAction_ = AddMenuEntry(
        window, nullptr,
        QCoreApplication::translate("RotatorPart", "Orienter l'antenne (court chemin)"),
        QKeySequence(Qt::CTRL | Qt::Key_R), [this](bool) { TurnRotator(false); });
    turnLongAction_ = AddMenuEntry(
        window, nullptr,
        QCoreApplication::translate("RotatorPart", "Orienter l'antenne (long chemin)"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R), [this](bool) { TurnRotator(true); });
    stopRotorAction_ = AddMenuEntry(
        window, nullptr, QCoreApplication::translate("RotatorPart", "Arrêter le rotor"),
        QKeySequence(Qt::CTRL | Qt::Key_Space), [this](bool) { StopRotator(); });
    QAction* address =
        AddMenuEntry(window, nullptr, QCoreApplication::translate("RotatorPart", "Rotor…"), {},
                     [this](bool) { OpenRotatorDialog(); });
    for (QAction* action : {turnShortAction_, turnLongAction_, stopRotorAction_, address}) {
        host.AddToMapMenu(MenuPlace::Rotator, action);
    }
    for (QAction* action : {turnShortAction_, turnLongAction_, stopRotorAction_}) {
        action->setEnabled(false);
    }
}

void RotatorPart::UseSettings(SettingsStore* settings) {
    settings_ = nullptr;  // nothing is written back while it is being read
    if (settings == nullptr) {
        return;
    }
    const RotatorAddress rotator = ReadRotatorAddress(*settings);
    SetRotator(rotator.host, rotator.port, false);
    settings_ = settings;
}

void RotatorPart::SetRotator(const QString& host, quint16 port, bool remember) {
    const QString trimmed = host.trimmed();
    rotator_->SetAddress(trimmed, port);
    if (remember && settings_ != nullptr) {
        RememberRotator(*settings_, {trimmed, port});
    }
    const bool set = !trimmed.isEmpty();
    for (QAction* action : {turnShortAction_, turnLongAction_, stopRotorAction_}) {
        action->setEnabled(set);
    }
    if (set) {
        rotator_->Connect();  // the heading shows as soon as it is read
    }
    ShowRotatorStatus();
}

void RotatorPart::ShowRotatorStatus() {
    const bool set = !rotator_->Host().isEmpty();
    QString text = set ? rotator_->StatusText() : QString();
    const std::optional<double> heading = rotator_->Heading();
    if (heading) {
        // The client writes the heading rounded down.
        const QString own = QStringLiteral("Rotor ") +
                            QString::number(static_cast<long long>(std::floor(*heading))) +
                            QStringLiteral(" °");
        if (text.startsWith(own)) {
            text = QStringLiteral("Rotor ") + DialDegrees(*heading) + text.mid(own.size());
        }
    }
    if (LblRotor->text() != text) {
        LblRotor->setText(text);
        LblRotor->setToolTip(text);
    }
    LblRotor->setVisible(set && !text.isEmpty());
    host_->Dial()->SetRotorNeedle(set ? rotator_->Heading() : std::nullopt);
    std::vector<BearingLine> lines;
    if (set && heading && std::isfinite(*heading)) {
        lines.push_back({host_->Reference().referencePoint, *heading,
                         geodesy::AzimuthalEquidistant::kRimKm, kRotorBlue});
    }
    heading_->SetLines(std::move(lines));
}

void RotatorPart::HomeChanged(const QString&) {
    ShowRotatorStatus();
}

void RotatorPart::TurnRotator(bool longPath) {
    if (rotator_->Host().isEmpty()) {
        return;
    }
    // The frame of the window as it stands, measured at the target instead of the pointer (a
    // pinned target is measured wherever the pointer is).
    host_->Retick(false);
    QPoint target = host_->Services().pointer.Position();
    if (const std::optional<QPoint> menu = host_->MenuPointer()) {
        target = *menu;
    }
    const tracking::TickFrame frame = host_->Measure(target);
    if (!frame.tracking) {
        return;
    }
    rotator_->TurnTo(longPath ? std::fmod(frame.dial.course + 180.0, 360.0) : frame.dial.course);
}

void RotatorPart::StopRotator() {
    rotator_->Stop();
}

void RotatorPart::OpenRotatorDialog() {
    if (rotatorDialog_) {
        rotatorDialog_->raise();
        rotatorDialog_->activateWindow();
        return;
    }
    // Nothing set yet: the daemon's usual address, which OK takes as it is.
    const bool set = !rotator_->Host().isEmpty();
    auto* dialog =
        new RotatorDialog(set ? rotator_->Host() : kDefaultRotatorHost,
                          set ? rotator_->Port() : kDefaultRotatorPort, nullptr, host_->Window());
    dialog->setObjectName(QStringLiteral("RotatorDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::accepted, host_->Window(),
                     [this, dialog] { SetRotator(dialog->Host(), dialog->Port(), true); });
    rotatorDialog_ = dialog;
    dialog->open();
    if (host_->Topmost()) {
        // Over the main window once that one floats above all others.
        host_->Services().windows.MakeTopmost(dialog);
    }
}

}  // namespace orbida::ui
