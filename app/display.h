#pragma once

#include <QString>

namespace orbida::app {

// Why no window can be shown, as one French line; empty when a display looks reachable. Qt would
// otherwise abort with its own English text. platform and display are the -platform and -display
// arguments (empty when not given); QT_QPA_PLATFORM, DISPLAY, WAYLAND_DISPLAY and XDG_RUNTIME_DIR
// are read from the environment. Only X11 and Wayland are looked at, and only on systems that use
// them; every other window system is left for Qt to judge.
QString NoDisplayReason(const QString& platform, const QString& display);

}  // namespace orbida::app
