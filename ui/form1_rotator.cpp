// The antenna rotator on the main window: the map menu's entries and shortcuts that turn it to the
// target's short or long path and stop it, its address in a dialog, and its heading shown as a
// third needle on the dial with a short status text beside it.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <cmath>

#include "rotator/client.h"
#include "ui/form1.h"
#include "ui/frame_widget.h"
#include "ui/map_menu.h"
#include "ui/remembered.h"
#include "ui/rotator_dialog.h"
#include "ui/style.h"
#include "ui/twips.h"

namespace orbida::ui {
namespace {

// A heading in whole degrees as the dial writes an azimuth, rounded away from north: an antenna
// turned to the course that the dial shows as 292 ° reads 292 °, not 291 °.
QString DialDegrees(double course) {
    const double whole = course < 180.0 ? std::floor(course) : 360.0 - std::floor(360.0 - course);
    return QString::number(static_cast<int>(whole)) + QStringLiteral(" °");
}

}  // namespace

void Form1::BuildRotator() {
    rotator_ = new rotator::Client(this);
    connect(rotator_, &rotator::Client::StatusChanged, this, &Form1::ShowRotatorStatus);
    connect(rotator_, &rotator::Client::HeadingChanged, this, &Form1::ShowRotatorStatus);

    // In the free space right of the dial, under the long path's reading. The text wraps: a
    // reason for a fault takes a few lines.
    LblRotor =
        MakeLabel(this, "LblRotor", QString(), TwipRect(8850, 6150, 1170, 1050), {kLightCyan});
    LblRotor->setTextFormat(Qt::PlainText);  // a daemon's words are never read as markup
    LblRotor->hide();

    mapMenu_->addSeparator();
    turnShortAction_ =
        AddMenuEntry(this, mapMenu_, QStringLiteral("Orienter l'antenne (court chemin)"),
                     QKeySequence(Qt::CTRL | Qt::Key_R), [this](bool) { TurnRotator(false); });
    turnLongAction_ = AddMenuEntry(
        this, mapMenu_, QStringLiteral("Orienter l'antenne (long chemin)"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R), [this](bool) { TurnRotator(true); });
    stopRotorAction_ =
        AddMenuEntry(this, mapMenu_, QStringLiteral("Arrêter le rotor"),
                     QKeySequence(Qt::CTRL | Qt::Key_Space), [this](bool) { StopRotator(); });
    AddMenuEntry(this, mapMenu_, QStringLiteral("Rotor…"), {},
                 [this](bool) { OpenRotatorDialog(); });
    for (QAction* action : {turnShortAction_, turnLongAction_, stopRotorAction_}) {
        action->setEnabled(false);
    }

    // While an entry of the menu is chosen, the target is the point where the menu was opened,
    // not the pointer, which is on the menu. The entry runs as the menu closes, before the
    // flag is cleared.
    connect(mapMenu_, &QMenu::aboutToShow, this, [this] { menuTarget_ = true; });
    connect(mapMenu_, &QMenu::aboutToHide, this,
            [this] { QTimer::singleShot(0, this, [this] { menuTarget_ = false; }); });
}

void Form1::SetRotator(const QString& host, quint16 port, bool remember) {
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

void Form1::ShowRotatorStatus() {
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
    Frame1->SetRotorNeedle(set ? rotator_->Heading() : std::nullopt);
}

void Form1::TurnRotator(bool longPath) {
    if (rotator_->Host().isEmpty()) {
        return;
    }
    // The frame of the window as it stands, measured at the target instead of the pointer.
    TickAtPointer();
    QPoint target = platform_.pointer.Position();
    if (pinned_) {
        target = mapToGlobal(*pinned_);
    } else if (menuTarget_) {
        target = mapToGlobal(menuPoint_);
    }
    tracking::TickInput input = lastInput_;
    input.cursorX = target.x();
    input.cursorY = target.y();
    const tracking::TickFrame frame = tracking::ComputeTick(input);
    if (!frame.tracking) {
        return;
    }
    rotator_->TurnTo(longPath ? std::fmod(frame.dial.course + 180.0, 360.0) : frame.dial.course);
}

void Form1::StopRotator() {
    rotator_->Stop();
}

void Form1::OpenRotatorDialog() {
    if (rotatorDialog_) {
        rotatorDialog_->raise();
        rotatorDialog_->activateWindow();
        return;
    }
    // Nothing set yet: the daemon's usual address, which OK takes as it is.
    const bool set = !rotator_->Host().isEmpty();
    auto* dialog = new RotatorDialog(set ? rotator_->Host() : kDefaultRotatorHost,
                                     set ? rotator_->Port() : kDefaultRotatorPort, nullptr, this);
    dialog->setObjectName(QStringLiteral("RotatorDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { SetRotator(dialog->Host(), dialog->Port(), true); });
    rotatorDialog_ = dialog;
    dialog->open();
    if (topmost_) {
        // Over the main window once that one floats above all others.
        platform_.windows.MakeTopmost(dialog);
    }
}

}  // namespace orbida::ui
