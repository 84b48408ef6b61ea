#pragma once

#include <QComboBox>
#include <QStringList>
#include <functional>
#include <future>
#include <memory>

#include "cities/catalogue.h"

namespace orbida::ui {

class CatalogueModel;
class SuggestionModel;

// The editable city list: never inserts what the user types, completes a typed name without
// regard to case or accents, and opens its list so that box and list together are as tall as
// SetOuterHeight says.
class CityCombo : public QComboBox {
  public:
    explicit CityCombo(QWidget* parent = nullptr);
    ~CityCombo() override;

    // Shows the catalogue's names, which it reads in place: the catalogue must outlive the box
    // and not change. Matching scans the names until SetIndex gives it an index.
    void SetCatalogue(const cities::Catalogue* catalogue);
    void SetIndex(std::unique_ptr<const cities::NameIndex> index);
    bool HasIndex() const { return index_ != nullptr; }
    // Sorts the catalogue's names into an index on a worker, once, and takes it when done.
    void IndexInBackground();
    bool IndexStarted() const { return indexing_.valid(); }

    // The text shown before anything is chosen. While it shows, the first key typed replaces it
    // instead of being inserted into it.
    void SetStartText(const QString& text);
    // What the user typed, trimmed; empty while the start text shows.
    QString TypedText() const;

    // The chosen item: the current one while the text still shows it (or the part of its name
    // the box can hold), else the city the typed text names: the first whose name equals it
    // without regard to case or accents, else the first whose name it begins, else -1.
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
    void Suggest(const QString& folded);

    const cities::Catalogue* catalogue_ = nullptr;
    std::unique_ptr<const cities::NameIndex> index_;
    std::future<void> indexing_;  // it reads the catalogue
    CatalogueModel* names_ = nullptr;
    SuggestionModel* suggestions_ = nullptr;
    QString suggested_;  // the folded key the suggestions were made for
    bool filling_ = false;
    bool suggestionListMade_ = false;
    QString startText_;
    int outerHeight_ = 0;
};

// Gives a control a new outer height in pixels, keeping its position and width. For the city
// list that is the height of the box and its open list together.
void SetCtrlHeight(QWidget* control, int pixels);

}  // namespace orbida::ui
