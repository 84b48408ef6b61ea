#pragma once

#include <QGlyphRun>
#include <QLabel>
#include <QRawFont>
#include <QStaticText>

namespace orbida::ui {

// A one-line label for texts that change on every pointer move (the readouts, the distance, the
// azimuth, the reference's coordinates). QLabel lays its text out again on every paint; at full
// pointer speed that was most of the program's work. This one lays a new text out once, straight
// from the font's glyphs and kerned advances (no line breaking, no script itemising), and draws
// the glyphs as they are; a text with a character the font lacks goes through QStaticText, which
// falls back on other fonts. A text wider than the label is drawn cut short with an ellipsis, on
// its one line: nothing is drawn over the neighbouring labels, and text() keeps the whole text.
// The label paints its whole rectangle, background included, so that a new text does not make
// the widget under it paint again.
class ReadoutLabel : public QLabel {
  public:
    explicit ReadoutLabel(const QString& text, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Lays laidOutText_ out for laidOutWidth_: a glyph run when the font has every character and
    // the text fits, else a static text (elided when too wide).
    void LayOut();

    QString laidOutText_;
    QFont laidOutFont_;
    int laidOutWidth_ = -1;
    QRawFont rawFont_;
    bool useGlyphs_ = false;  // else staticText_ is drawn
    QGlyphRun glyphs_;
    double glyphsWidth_ = 0.0;
    QStaticText staticText_;
};

}  // namespace orbida::ui
