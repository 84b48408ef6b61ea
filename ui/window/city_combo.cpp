#include "ui/window/city_combo.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QAbstractProxyModel>
#include <QCompleter>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QListView>
#include <QScreen>

namespace orbida::ui {

// The box's list: every name of the catalogue, in file order, read in place.
class CatalogueModel final : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    void Reset(const cities::Catalogue* catalogue) {
        beginResetModel();
        catalogue_ = catalogue;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || catalogue_ == nullptr
                   ? 0
                   : static_cast<int>(catalogue_->NameCount());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount({}) ||
            (role != Qt::DisplayRole && role != Qt::EditRole)) {
            return {};
        }
        return catalogue_->Name(index.row());
    }

  private:
    const cities::Catalogue* catalogue_ = nullptr;
};

// The suggestions for what is typed: the cities whose names it begins, in file order, as rows of
// the box's own list (so that choosing one chooses that row), with their folded names as the role
// the completer matches on.
class SuggestionModel final : public QAbstractProxyModel {
  public:
    using QAbstractProxyModel::QAbstractProxyModel;

    void Reset(const cities::Catalogue* catalogue, std::vector<int> cities) {
        beginResetModel();
        catalogue_ = catalogue;
        cities_ = std::move(cities);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(cities_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 1; }
    QModelIndex index(int row, int column, const QModelIndex& parent) const override {
        return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
    }
    QModelIndex parent(const QModelIndex&) const override { return {}; }
    QModelIndex mapToSource(const QModelIndex& proxy) const override {
        if (!proxy.isValid() || sourceModel() == nullptr || proxy.row() >= rowCount({})) {
            return {};
        }
        return sourceModel()->index(cities_[static_cast<std::size_t>(proxy.row())], 0);
    }
    QModelIndex mapFromSource(const QModelIndex& source) const override {
        const auto found = std::lower_bound(cities_.begin(), cities_.end(), source.row());
        if (!source.isValid() || found == cities_.end() || *found != source.row()) {
            return {};
        }
        return createIndex(static_cast<int>(found - cities_.begin()), 0);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::UserRole) {
            return QAbstractProxyModel::data(index, role);
        }
        if (!index.isValid() || index.row() >= rowCount({}) || catalogue_ == nullptr) {
            return {};
        }
        QByteArray folded;
        cities::AppendFolded(catalogue_->NameUtf8(cities_[static_cast<std::size_t>(index.row())]),
                             folded);
        return QString::fromUtf8(folded);
    }

  private:
    const cities::Catalogue* catalogue_ = nullptr;
    std::vector<int> cities_;  // ascending
};

namespace {

// Before a new prefix is filtered, the completer asks for its parts: the suggestions are narrowed
// to the cities the text begins there, so that the completer only ever looks at those.
class FoldingCompleter final : public QCompleter {
  public:
    FoldingCompleter(std::function<void(const QString&)> suggest, QObject* parent)
        : QCompleter(parent), suggest_(std::move(suggest)) {}
    QStringList splitPath(const QString& path) const override {
        QString folded = cities::FoldForMatch(path);
        suggest_(folded);
        return {folded};
    }
    QString pathFromIndex(const QModelIndex& index) const override {
        return index.data(Qt::DisplayRole).toString();
    }

  private:
    std::function<void(const QString&)> suggest_;
};

// Until the index is ready, suggestions come from a scan that stops after this many.
constexpr std::size_t kScanSuggestions = 1000;

}  // namespace

CityCombo::CityCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Every row is one line of the same font: the list lays out a million names as fast as ten.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    names_ = new CatalogueModel(this);
    setModel(names_);

    auto* completer =
        new FoldingCompleter([this](const QString& folded) { Suggest(folded); }, this);
    suggestions_ = new SuggestionModel(completer);
    suggestions_->setSourceModel(names_);
    completer->setModel(suggestions_);
    completer->setCompletionRole(Qt::UserRole);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchStartsWith);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    setCompleter(completer);
    // The list of suggestions is made when first needed (Suggest): most sessions never type.
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

CityCombo::~CityCombo() {
    if (indexing_.valid()) {
        indexing_.wait();
    }
}

void CityCombo::IndexInBackground() {
    if (indexing_.valid() || catalogue_ == nullptr || catalogue_->NameCount() == 0) {
        return;
    }
    indexing_ = std::async(std::launch::async, [this, catalogue = catalogue_] {
        auto index = std::make_shared<cities::NameIndex>(*catalogue);
        QMetaObject::invokeMethod(
            this,
            [this, index] {
                SetIndex(std::make_unique<const cities::NameIndex>(std::move(*index)));
            },
            Qt::QueuedConnection);
    });
}

void CityCombo::SetCatalogue(const cities::Catalogue* catalogue) {
    if (indexing_.valid()) {
        indexing_.wait();
        indexing_ = {};
    }
    index_.reset();
    suggested_.clear();
    suggestions_->Reset(nullptr, {});
    catalogue_ = catalogue;
    // The box makes its first row current on a reset, and the completer is given that name as a
    // prefix: nobody typed it, and a scan for it would cost a look at every name.
    filling_ = true;
    names_->Reset(catalogue);
    filling_ = false;
}

void CityCombo::SetIndex(std::unique_ptr<const cities::NameIndex> index) {
    index_ = std::move(index);
    suggested_.clear();  // a scan's suggestions may have stopped short
}

void CityCombo::Suggest(const QString& folded) {
    if (filling_ || folded == suggested_ || catalogue_ == nullptr) {
        return;
    }
    suggested_ = folded;
    if (!suggestionListMade_) {
        suggestionListMade_ = true;
        QAbstractItemView* popup = completer()->popup();
        popup->setFont(font());  // a popup is a window: it does not take the box's font
        if (auto* list = qobject_cast<QListView*>(popup)) {
            list->setUniformItemSizes(true);
        }
    }
    const QByteArray key = folded.toUtf8();
    const std::string_view view(key.constData(), static_cast<std::size_t>(key.size()));
    if (key.isEmpty()) {
        suggestions_->Reset(catalogue_, {});
    } else if (index_ != nullptr) {
        suggestions_->Reset(catalogue_, index_->Beginning(view));
    } else {
        suggestions_->Reset(catalogue_,
                            cities::BeginningByScan(*catalogue_, view, kScanSuggestions));
    }
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
    if (StartTextShowing() || catalogue_ == nullptr) {
        return -1;
    }
    return index_ != nullptr ? index_->Match(shown) : cities::MatchByScan(*catalogue_, shown);
}

void CityCombo::ShowChoice(int index) {
    setCurrentIndex(index);
    // setCurrentIndex leaves a text typed over the current item as it is.
    setEditText(itemText(index));
}

void CityCombo::showPopup() {
    // Every row is one line of the same font: the list lays out a million names as fast as ten.
    if (auto* list = qobject_cast<QListView*>(view())) {
        list->setUniformItemSizes(true);
    }
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
