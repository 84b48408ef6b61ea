#include "ui/city_combo.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QCompleter>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QStringListModel>

namespace orbida::ui {
namespace {

// The names as shown, with their folded form as the role the completer matches on.
class FoldedNamesModel final : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    void Reset(const QStringList& names, const QStringList& folded) {
        beginResetModel();
        names_ = names;
        folded_ = folded;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(names_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= names_.size()) {
            return {};
        }
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            return names_.at(index.row());
        }
        if (role == Qt::UserRole) {
            return folded_.at(index.row());
        }
        return {};
    }

  private:
    QStringList names_;
    QStringList folded_;
};

class FoldingCompleter final : public QCompleter {
  public:
    using QCompleter::QCompleter;
    QStringList splitPath(const QString& path) const override { return {FoldForMatch(path)}; }
    QString pathFromIndex(const QModelIndex& index) const override {
        return index.data(Qt::DisplayRole).toString();
    }
};

}  // namespace

QString FoldForMatch(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing) {
            out.append(c);
        }
    }
    return out.toCaseFolded();
}

CityCombo::CityCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setModel(new QStringListModel(this));

    auto* completer = new FoldingCompleter(this);
    completer->setModel(new FoldedNamesModel(completer));
    completer->setCompletionRole(Qt::UserRole);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchStartsWith);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    setCompleter(completer);
    // The completer's rows are the list's rows, in the same order.
    connect(completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) { setCurrentIndex(index.row()); });
}

void CityCombo::SetNames(const QStringList& names) {
    folded_.clear();
    folded_.reserve(names.size());
    for (const QString& name : names) {
        folded_.append(FoldForMatch(name));
    }
    static_cast<QStringListModel*>(model())->setStringList(names);
    static_cast<FoldedNamesModel*>(completer()->model())->Reset(names, folded_);
}

int CityCombo::SelectedIndex() const {
    const int current = currentIndex();
    if (current >= 0 && itemText(current) == currentText()) {
        return current;
    }
    const QString typed = FoldForMatch(currentText().trimmed());
    if (typed.isEmpty()) {
        return -1;
    }
    const auto found = folded_.indexOf(typed);
    return found >= 0 ? static_cast<int>(found) : -1;
}

void CityCombo::showPopup() {
    QComboBox::showPopup();
    if (outerHeight_ <= height()) {
        return;
    }
    QWidget* popup = view()->window();
    const int listHeight = outerHeight_ - height();
    QPoint below = mapToGlobal(QPoint(0, height()));
    const QScreen* screen = this->screen();
    if (screen != nullptr && below.y() + listHeight > screen->availableGeometry().bottom()) {
        below.setY(mapToGlobal(QPoint(0, 0)).y() - listHeight);  // no room below: open upwards
    }
    popup->setGeometry(below.x(), below.y(), popup->width(), listHeight);
}

void SetCtrlHeight(QWidget* control, int pixels) {
    if (auto* combo = dynamic_cast<CityCombo*>(control)) {
        combo->SetOuterHeight(pixels);
    } else {
        control->resize(control->width(), pixels);
    }
}

}  // namespace orbida::ui
