#pragma once

#include <QLabel>
#include <QStaticText>

namespace orbida::ui {

// A one-line label for texts that change on every pointer move (the readouts, the distance, the
// azimuth, the reference's coordinates). It draws through QStaticText, which keeps the text's
// laid-out glyphs between paints, where QLabel lays its text out again on each one; at full
// pointer speed that was most of the program's work. A text wider than the label is drawn cut
// short with an ellipsis, on its one line: nothing is drawn over the neighbouring labels, and
// text() keeps the whole text.
class ReadoutLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QStaticText laidOut_;
    QString laidOutText_;
    QFont laidOutFont_;
    int laidOutWidth_ = -1;
};

}  // namespace orbida::ui
