#pragma once

#include <QPointF>

#include "ui/platform/platform.h"

class QMouseEvent;
class QWidget;

namespace orbida::ui {

// Moves a borderless window by its surface, with the left button only. The press makes the window
// topmost for the rest of the run; the window system takes the move over only once the pointer
// has travelled the platform's drag distance with the button held. A click alone moves nothing:
// some window managers stay in move mode after a move begun and ended without motion, and the
// window would then follow the pointer.
class WindowDrag {
  public:
    explicit WindowDrag(WindowManager& windows) : windows_(windows) {}

    // True when the press was the left button's.
    bool Press(QWidget* window, const QMouseEvent* event);
    void Move(QWidget* window, const QMouseEvent* event);
    void Release() { armed_ = false; }

  private:
    WindowManager& windows_;
    bool armed_ = false;
    QPointF pressedAt_;
};

// Makes every control of a window keep the pointer's presses to itself, so that only the bare
// surface starts a drag, and track the pointer's moves, the window's own included.
void ClaimMouse(QWidget* window);

}  // namespace orbida::ui
