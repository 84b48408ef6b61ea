#include "ui/city_combo.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QCompleter>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
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

int MatchCityName(const QStringList& folded, const QString& typed) {
    const QString key = FoldForMatch(typed.trimmed());
    if (key.isEmpty()) {
        return -1;
    }
    const auto exact = folded.indexOf(key);
    if (exact >= 0) {
        return static_cast<int>(exact);
    }
    for (qsizetype i = 0; i < folded.size(); ++i) {
        if (folded.at(i).startsWith(key)) {
            return static_cast<int>(i);
        }
    }
    return -1;
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
    lineEdit()->installEventFilter(this);
}

void CityCombo::SetStartText(const QString& text) {
    startText_ = text;
    setEditText(text);
}

bool CityCombo::StartTextShowing() const {
    return !startText_.isEmpty() && lineEdit()->text() == startText_;
}

QString CityCombo::TypedText() const {
    return StartTextShowing() ? QString() : currentText().trimmed();
}

bool CityCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && StartTextShowing()) {
        // While the start text shows, anything that would edit it replaces it whole: the text
        // is selected just before the key, the paste or the input method's text goes in.
        switch (event->type()) {
            case QEvent::FocusIn:
            case QEvent::MouseButtonRelease:
                lineEdit()->selectAll();
                break;
            case QEvent::KeyPress: {
                const auto* key = static_cast<QKeyEvent*>(event);
                const bool printable =
                    !key->text().isEmpty() && key->text().front().isPrint() &&
                    !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
                if (printable || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete ||
                    key->matches(QKeySequence::Paste)) {
                    lineEdit()->selectAll();
                }
                break;
            }
            case QEvent::InputMethod:
                lineEdit()->selectAll();
                break;
            default:
                break;
        }
    }
    return QComboBox::eventFilter(watched, event);
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
    const QString shown = currentText();
    if (current >= 0) {
        // A name longer than the box can hold shows cut short: the item is still the one chosen.
        const QString name = itemText(current);
        if (name == shown || (shown.size() >= lineEdit()->maxLength() && name.startsWith(shown))) {
            return current;
        }
    }
    return StartTextShowing() ? -1 : MatchCityName(folded_, shown);
}

void CityCombo::ShowChoice(int index) {
    setCurrentIndex(index);
    // setCurrentIndex leaves a text typed over the current item as it is.
    setEditText(itemText(index));
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
