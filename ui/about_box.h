#pragma once

#include <QWidget>

#include "ui/platform.h"

namespace orbida::ui {

// The about box frmAbout: a borderless window that describes the program, credits the city
// list and links to two web pages. OK, Enter and Escape close and release it.
class AboutBox : public QWidget {
  public:
    explicit AboutBox(Platform platform, QWidget* parent = nullptr);

  private:
    Platform platform_;
};

}  // namespace orbida::ui
