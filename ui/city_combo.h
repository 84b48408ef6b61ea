#pragma once

#include <QComboBox>
#include <QStringList>

#include "cities/home_entry.h"

namespace orbida::ui {

using cities::FoldForMatch;

// The position of the city that a typed text names, in the list's order: the first name equal
// to it without regard to case or accents, else the first name it begins, else -1 (also for an
// empty text). folded holds the names as FoldForMatch gives them.
int MatchCityName(const QStringList& folded, const QString& typed);

// The editable city list: never inserts what the user types, completes a typed name without
// regard to case or accents, and opens its list so that box and list together are as tall as
// SetOuterHeight says.
class CityCombo : public QComboBox {
  public:
    explicit CityCombo(QWidget* parent = nullptr);

    // Fills the list in one step (a single model reset, not a signal per item).
    void SetNames(const QStringList& names);

    // The text shown before anything is chosen. While it shows, the first key typed replaces it
    // instead of being inserted into it.
    void SetStartText(const QString& text);
    // What the user typed, trimmed; empty while the start text shows.
    QString TypedText() const;

    // The chosen item: the current one while the text still shows it (or the part of its name
    // the box can hold), else MatchCityName on the typed text.
    int SelectedIndex() const;
    // Makes an item the current one and shows its name as the list spells it.
    void ShowChoice(int index);

    void SetOuterHeight(int pixels) { outerHeight_ = pixels; }
    int OuterHeight() const { return outerHeight_; }
    void showPopup() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool StartTextShowing() const;

    QStringList folded_;
    QString startText_;
    int outerHeight_ = 0;
};

// Gives a control a new outer height in pixels, keeping its position and width. For the city
// list that is the height of the box and its open list together.
void SetCtrlHeight(QWidget* control, int pixels);

}  // namespace orbida::ui
