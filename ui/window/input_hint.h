#pragma once

#include <QString>
#include <QTimer>

class QLabel;
class QWidget;

namespace orbida::ui {

// Tells the user, in a tip near the city box and without interrupting, why what was typed chose
// nothing. It goes away after a while, or when hidden.
class InputHint {
  public:
    // window: the main window; box: the control the tip is for; widest: the widest the tip may be.
    InputHint(QWidget* window, QWidget* box);
    void Show(const QString& text, int widest);
    void Hide();

  private:
    QWidget* window_;
    QWidget* box_;
    QLabel* label_ = nullptr;  // made when first needed
    QTimer timer_;
};

}  // namespace orbida::ui
