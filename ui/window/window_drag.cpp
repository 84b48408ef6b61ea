#include "ui/window/window_drag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace orbida::ui {

bool WindowDrag::Press(QWidget* window, const QMouseEvent* event) {
    armed_ = event->button() == Qt::LeftButton;
    if (armed_) {
        pressedAt_ = event->globalPosition();
        windows_.MakeTopmost(window);
    }
    return armed_;
}

void WindowDrag::Move(QWidget* window, const QMouseEvent* event) {
    if (!armed_) {
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        armed_ = false;  // the release went elsewhere
        return;
    }
    const QPointF travelled = event->globalPosition() - pressedAt_;
    if (travelled.manhattanLength() >= QApplication::startDragDistance()) {
        armed_ = false;
        windows_.StartSystemMove(window);
    }
}

void ClaimMouse(QWidget* window) {
    const auto children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        child->setAttribute(Qt::WA_NoMousePropagation);
        child->setMouseTracking(true);
    }
    window->setMouseTracking(true);
}

}  // namespace orbida::ui
