#include "ui/parts/map_menu.h"

#include <QAction>
#include <QEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>

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
    if (menu != nullptr) {
        menu->addAction(action);
    }
    return action;
}

MapMenu::MapMenu(QWidget* window, QWidget* map) : menu_(new QMenu(window)) {
    menu_->setObjectName(QStringLiteral("MapMenu"));
    map->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(map, &QWidget::customContextMenuRequested, menu_,
                     [this, map](QPoint at) { Popup(map->mapToGlobal(at)); });
    // The entry chosen runs as the menu closes, before the flag is cleared.
    QObject::connect(menu_, &QMenu::aboutToShow, menu_, [this] { choosing_ = true; });
    QObject::connect(menu_, &QMenu::aboutToHide, menu_,
                     [this] { QTimer::singleShot(0, menu_, [this] { choosing_ = false; }); });
}

void MapMenu::Add(MenuPlace place, QAction* entry) {
    const auto later = [place](const auto& e) { return e.first > place; };
    const bool first = std::none_of(entries_.begin(), entries_.end(),
                                    [place](const auto& e) { return e.first == place; });
    if (first && place == MenuPlace::Rotator) {
        const auto at = std::find_if(entries_.begin(), entries_.end(), later);
        QAction* separator = menu_->insertSeparator(at == entries_.end() ? nullptr : at->second);
        entries_.insert(at, {place, separator});
    }
    const auto at = std::find_if(entries_.begin(), entries_.end(), later);
    menu_->insertAction(at == entries_.end() ? nullptr : at->second, entry);
    entries_.insert(at, {place, entry});
}

void MapMenu::Popup(QPoint globalPointer) {
    pointer_ = globalPointer;
    menu_->popup(globalPointer);
}

std::optional<QPoint> MapMenu::Pointer() const {
    return choosing_ ? std::optional(pointer_) : std::nullopt;
}

void OnMousePress(QWidget* widget, std::function<bool(QMouseEvent*)> pressed) {
    widget->installEventFilter(new PressFilter(widget, std::move(pressed)));
}

}  // namespace orbida::ui
