#pragma once

#include <QPointer>
#include <QString>
#include <memory>

#include "ui/parts/station_part.h"

class QAction;
class QLabel;

namespace orbida::rotator {
class Client;
}

namespace orbida::ui {

// The antenna rotator: the map menu's entries and shortcuts that turn it to the target's short or
// long path and stop it, its address in a dialog, and its heading shown as a third needle on the
// dial with a short status text beside it.
class BearingLayer;

class RotatorPart final : public StationPart {
  public:
    RotatorPart();
    ~RotatorPart() override;
    void Build(PartHost& host) override;
    void UseSettings(SettingsStore* settings) override;

    // Where its daemon listens; an empty host means none, and nothing of it shows. remember:
    // kept for the next runs too.
    void SetRotator(const QString& host, quint16 port, bool remember);
    // Turns the antenna to the short or long path of the target: the pinned point, else the
    // point where the map's menu was opened, else the pointer's. Nothing off the map.
    void TurnRotator(bool longPath);
    void StopRotator();
    // "Rotor…": the daemon's address, with a test; OK keeps it.
    void OpenRotatorDialog();
    rotator::Client* Rotator() const { return rotator_; }
    const BearingLayer& Heading() const { return *heading_; }
    void HomeChanged(const QString& chosen) override;

  private:
    void ShowRotatorStatus();

    PartHost* host_ = nullptr;
    SettingsStore* settings_ = nullptr;
    rotator::Client* rotator_ = nullptr;
    QLabel* LblRotor = nullptr;  // "Rotor 287 °", right of the dial
    QAction* turnShortAction_ = nullptr;
    QAction* turnLongAction_ = nullptr;
    QAction* stopRotorAction_ = nullptr;
    QPointer<QWidget> rotatorDialog_;
    std::unique_ptr<BearingLayer> heading_;  // on the other maps: the antenna's heading from home
};

}  // namespace orbida::ui
