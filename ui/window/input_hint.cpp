#include "ui/window/input_hint.h"

#include <QLabel>
#include <QScreen>
#include <QToolTip>
#include <algorithm>

#include "ui/window/style.h"

namespace orbida::ui {

InputHint::InputHint(QWidget* window, QWidget* box) : window_(window), box_(box) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, window, [this] { Hide(); });
}

void InputHint::Show(const QString& text, int widest) {
    if (label_ == nullptr) {
        label_ = new QLabel(window_, Qt::ToolTip);
        label_->setObjectName(QStringLiteral("InputHint"));
        label_->setTextFormat(Qt::PlainText);  // typed text is never read as markup
        label_->setFont(UiFont(8.25));
        label_->setPalette(QToolTip::palette());
        label_->setFrameStyle(QFrame::Box | QFrame::Plain);
        label_->setMargin(2);
    }
    // A long sentence is wrapped to the widest allowed rather than run off the screen, and a very
    // long typed text is cut, keeping its start.
    constexpr int kLongest = 240;
    const QString shown = text.size() > kLongest ? text.left(kLongest - 1) + QChar(0x2026) : text;
    const QMargins margins = label_->contentsMargins();
    const bool wrap = label_->fontMetrics().horizontalAdvance(shown) + 2 * label_->margin() +
                          margins.left() + margins.right() >
                      widest;
    label_->setWordWrap(wrap);
    label_->setText(shown);
    if (wrap) {
        label_->resize(widest, label_->heightForWidth(widest));
    } else {
        label_->adjustSize();
    }
    // Under the window, in line with the box, where it hides none of the window's controls (just
    // under the box it covered "Valider" and the home's latitude); above the window when the
    // screen has no room below it.
    const QRect window = window_->frameGeometry();
    const QRect screen = window_->screen()->availableGeometry();
    const QSize size = label_->size();
    int x = box_->mapToGlobal(QPoint(0, 0)).x();
    x = std::max(screen.left(), std::min(x, screen.right() + 1 - size.width()));
    int y = window.bottom() + 3;
    if (y + size.height() > screen.bottom() + 1) {
        y = window.top() - 2 - size.height();
        if (y < screen.top()) {
            // A screen too small for the window itself: under the box, as it was.
            y = box_->mapToGlobal(QPoint(0, box_->height() + 2)).y();
        }
    }
    label_->move(x, y);
    label_->show();
    timer_.start(6000);
}

void InputHint::Hide() {
    if (label_ != nullptr) {
        timer_.stop();
        label_->hide();
    }
}

}  // namespace orbida::ui
