#include "ui/about_box.h"

namespace orbida::ui {

AboutBox::AboutBox(Platform platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), platform_(platform) {
    setAttribute(Qt::WA_DeleteOnClose);
}

}  // namespace orbida::ui
