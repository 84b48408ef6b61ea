#pragma once

#include <QKeySequence>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QMouseEvent;

namespace orbida::ui {

// Where an entry stands in the map's right-click menu, from the top. Entries keep this order
// whichever part adds them first.
enum class MenuPlace {
    Pin = 10,
    LongRoute = 20,
    GreyLine = 30,
    Azimuthal = 35,
    Beacons = 37,
    Units = 40,
    Stations = 45,
    Rotator = 50,  // after a separator
    Language = 60,
};

// The map's right-click menu: opened where the map is right-clicked, its entries in their places,
// and the point it was opened at while one of its entries is being chosen (the pointer is on the
// menu then, not on the map).
class MapMenu {
  public:
    MapMenu(QWidget* window, QWidget* map);
    QMenu* Menu() const { return menu_; }
    void Add(MenuPlace place, QAction* entry);
    // Opens the menu at a global position (of any map).
    void Popup(QPoint globalPointer);
    // Where it was opened, as a global position.
    std::optional<QPoint> Pointer() const;

  private:
    QMenu* menu_;
    std::vector<std::pair<MenuPlace, QAction*>> entries_;
    QPoint pointer_;
    bool choosing_ = false;
};

// Adds an entry to the map's right-click menu whose shortcut works wherever the focus is in
// `window`: the action belongs to the window (so the key reaches it from any of its controls)
// and is shown in `menu` with its shortcut (when there is a menu: a part hands its entries to the
// window, which places them). A checkable entry gets a check mark and hands its
// new state to `triggered`; `hint` replaces the shortcut column for entries reached by the mouse
// ("Clic gauche").
QAction* AddMenuEntry(QWidget* window, QMenu* menu, const QString& text,
                      const QKeySequence& shortcut, std::function<void(bool checked)> triggered,
                      bool checkable = false, const QString& hint = QString());

// Calls `pressed` for each mouse press on `widget`; the press goes no further when it returns
// true. The filter belongs to the widget.
void OnMousePress(QWidget* widget, std::function<bool(QMouseEvent*)> pressed);

}  // namespace orbida::ui
