#pragma once

#include <QComboBox>
#include <QStringList>

namespace orbida::ui {

// Folds a name for matching: accents removed, case folded ("Besançon" and "BESANCON" both give
// "besancon").
QString FoldForMatch(const QString& text);

// The editable city list: never inserts what the user types, completes a typed name without
// regard to case or accents, and opens its list so that box and list together are as tall as
// SetOuterHeight says.
class CityCombo : public QComboBox {
  public:
    explicit CityCombo(QWidget* parent = nullptr);

    // Fills the list in one step (a single model reset, not a signal per item).
    void SetNames(const QStringList& names);

    // The chosen item: the current one while the text still shows it, else the first item whose
    // name matches the typed text without regard to case or accents, else -1.
    int SelectedIndex() const;

    void SetOuterHeight(int pixels) { outerHeight_ = pixels; }
    int OuterHeight() const { return outerHeight_; }
    void showPopup() override;

  private:
    QStringList folded_;
    int outerHeight_ = 0;
};

// Gives a control a new outer height in pixels, keeping its position and width. For the city
// list that is the height of the box and its open list together.
void SetCtrlHeight(QWidget* control, int pixels);

}  // namespace orbida::ui
