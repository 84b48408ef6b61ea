#pragma once

#include <QLabel>
#include <QStaticText>

namespace orbida::ui {

// A one-line label for texts that change on every pointer move (the readouts, the distance, the
// azimuth). It draws through QStaticText, which keeps the text's laid-out glyphs between paints,
// where QLabel lays its text out again on each one; at full pointer speed that was most of the
// program's work.
class ReadoutLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QStaticText laidOut_;
    QString laidOutText_;
    QFont laidOutFont_;
};

}  // namespace orbida::ui
