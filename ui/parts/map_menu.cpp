#include "ui/map_menu.h"

#include <QAction>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace orbida::ui {
namespace {

class PressFilter final : public QObject {
  public:
    PressFilter(QObject* parent, std::function<bool(QMouseEvent*)> pressed)
        : QObject(parent), pressed_(std::move(pressed)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            return pressed_(static_cast<QMouseEvent*>(event));
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<bool(QMouseEvent*)> pressed_;
};

}  // namespace

QAction* AddMenuEntry(QWidget* window, QMenu* menu, const QString& text,
                      const QKeySequence& shortcut, std::function<void(bool checked)> triggered,
                      bool checkable, const QString& hint) {
    auto* action = new QAction(hint.isEmpty() ? text : text + QLatin1Char('\t') + hint, window);
    action->setCheckable(checkable);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setShortcutVisibleInContextMenu(true);
        window->addAction(action);
    }
    QObject::connect(action, &QAction::triggered, window, std::move(triggered));
    menu->addAction(action);
    return action;
}

void OnMousePress(QWidget* widget, std::function<bool(QMouseEvent*)> pressed) {
    widget->installEventFilter(new PressFilter(widget, std::move(pressed)));
}

}  // namespace orbida::ui
