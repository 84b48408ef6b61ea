#pragma once

#include <QKeySequence>
#include <QMenu>
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMouseEvent;

namespace orbida::ui {

// Adds an entry to the map's right-click menu whose shortcut works wherever the focus is in
// `window`: the action belongs to the window (so the key reaches it from any of its controls)
// and is shown in `menu` with its shortcut. A checkable entry gets a check mark and hands its
// new state to `triggered`; `hint` replaces the shortcut column for entries reached by the mouse
// ("Clic gauche").
QAction* AddMenuEntry(QWidget* window, QMenu* menu, const QString& text,
                      const QKeySequence& shortcut, std::function<void(bool checked)> triggered,
                      bool checkable = false, const QString& hint = QString());

// Calls `pressed` for each mouse press on `widget`; the press goes no further when it returns
// true. The filter belongs to the widget.
void OnMousePress(QWidget* widget, std::function<bool(QMouseEvent*)> pressed);

}  // namespace orbida::ui
