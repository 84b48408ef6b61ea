#pragma once

#include <QPoint>

#include "cities/selection.h"
#include "tracking/tick.h"

class QLabel;
class QPushButton;
class QWidget;

namespace orbida::ui {

class CityCombo;
class DialFrame;
class FrameWidget;
class MapWidget;

// The main window's controls, under their layout names.
struct Form1Controls {
    MapWidget* Carte = nullptr;
    DialFrame* Frame1 = nullptr;
    FrameWidget* Frame2 = nullptr;
    CityCombo* Combo1 = nullptr;
    QPushButton* ValidVille = nullptr;
    QPushButton* CmdMapQuest = nullptr;
    QPushButton* CmdMinimise = nullptr;
    QPushButton* CmdQuitte = nullptr;
    QPushButton* CmdAide = nullptr;
    QLabel* MousedegLat = nullptr;
    QLabel* MouseDegLon = nullptr;
    QLabel* LblDistance = nullptr;
    QLabel* LblVilleDistance = nullptr;
    QLabel* LblAzimut = nullptr;
    QLabel* LblLonVille = nullptr;
    QLabel* LblLatVille = nullptr;
    QLabel* LblLocatVille = nullptr;
};

// Makes the controls on the window at their places in twips, in their stacking and keyboard
// order, with their start-up texts; the labels and captions that only show are made too.
Form1Controls MakeForm1Controls(QWidget* window);

// What a tick reads of the window: the pointer at a global position, the window's origin on the
// screen, the map's place and size, in twips, and the ring's place.
tracking::TickInput PointerInput(const Form1Controls& ui, QPoint windowOrigin,
                                 QPoint globalPointer);

// Shows home on the controls: its coordinates, locator and name, and the ring around it.
void ShowReference(const Form1Controls& ui, const cities::ReferenceState& reference);
// Shows a tick's frame on the controls, setting only the texts that changed.
void ShowFrame(const Form1Controls& ui, const tracking::TickFrame& f);

}  // namespace orbida::ui
