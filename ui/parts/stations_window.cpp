#include "ui/parts/stations_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimeZone>
#include <QVBoxLayout>

namespace orbida::ui {
namespace {

const char* const kHeaders[] = {QT_TRANSLATE_NOOP("StationsWindow", "Heure UTC"),
                                QT_TRANSLATE_NOOP("StationsWindow", "Indicatif"),
                                QT_TRANSLATE_NOOP("StationsWindow", "Locator / pays"),
                                QT_TRANSLATE_NOOP("StationsWindow", "Bande"),
                                QT_TRANSLATE_NOOP("StationsWindow", "Mode"),
                                QT_TRANSLATE_NOOP("StationsWindow", "SNR"),
                                QT_TRANSLATE_NOOP("StationsWindow", "Distance"),
                                QT_TRANSLATE_NOOP("StationsWindow", "Azimut")};
const char* const kBands[] = {"160m", "80m", "60m", "40m", "30m", "20m", "17m",
                              "15m",  "12m", "10m", "6m",  "4m",  "2m",  "70cm"};

bool IsCq(stations::StationKind kind) {
    return kind == stations::StationKind::kCq || kind == stations::StationKind::kCqDirected;
}

}  // namespace

void StationsModel::SetRows(std::vector<Row> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int StationsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int StationsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant StationsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kColumns) {
        return QCoreApplication::translate("StationsWindow", kHeaders[section]);
    }
    return {};
}

QVariant StationsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) {
        return {};
    }
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const stations::HeardStation& s = row.station;
    const qint64 heard =
        std::chrono::duration_cast<std::chrono::seconds>(s.lastHeard.time_since_epoch()).count();
    if (role == Qt::UserRole) {
        switch (index.column()) {
            case kTime:
                return heard;
            case kSnr:
                return s.snr.value_or(-1000);
            case kDistance:
                return row.km;
            case kAzimuth:
                return row.azimuth;
            case kCall:
                return s.call;
            case kWhere:
                return row.where;
            case kBand:
                return static_cast<qulonglong>(s.frequency);
            case kMode:
                return s.mode;
            default:
                return {};
        }
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
        case kTime:
            return QDateTime::fromSecsSinceEpoch(heard, QTimeZone::utc())
                .toString(QStringLiteral("HH:mm:ss"));
        case kCall:
            return s.call;
        case kWhere:
            return row.where;
        case kBand:
            return s.band;
        case kMode:
            return s.mode;
        case kSnr:
            return s.snr ? QVariant(*s.snr) : QVariant();
        case kDistance:
            return row.distanceText;
        case kAzimuth:
            return row.azimuthText;
        default:
            return {};
    }
}

void StationsFilter::SetBand(const QString& band) {
    band_ = band;
    invalidateFilter();
}

void StationsFilter::SetCqOnly(bool on) {
    cqOnly_ = on;
    invalidateFilter();
}

bool StationsFilter::filterAcceptsRow(int row, const QModelIndex&) const {
    const auto* model = static_cast<const StationsModel*>(sourceModel());
    if (model == nullptr || row < 0 || row >= static_cast<int>(model->Rows().size())) {
        return false;
    }
    const stations::HeardStation& s = model->Rows()[static_cast<std::size_t>(row)].station;
    return (band_.isEmpty() || s.band == band_) && (!cqOnly_ || IsCq(s.kind));
}

StationsWindow::StationsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FenetreStations"));
    setWindowTitle(QCoreApplication::translate("StationsWindow", "Orbida — stations"));
    auto* layout = new QVBoxLayout(this);

    auto* form = new QFormLayout;
    listen_ = new QCheckBox(QCoreApplication::translate("StationsWindow", "Écouter WSJT-X"), this);
    address_ = new QLineEdit(this);
    address_->setObjectName(QStringLiteral("AdresseWsjtx"));
    address_->setToolTip(QCoreApplication::translate(
        "StationsWindow", "127.0.0.1, ou un groupe multicast (224.0.0.1, 239.255.0.1, ff02::1…)"));
    port_ = new QSpinBox(this);
    port_->setRange(1, 65535);
    follow_ = new QCheckBox(QCoreApplication::translate("StationsWindow", "Suivre le DX de WSJT-X"),
                            this);
    auto* apply = new QPushButton(QCoreApplication::translate("StationsWindow", "Appliquer"), this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("EtatStations"));
    status_->setTextFormat(Qt::PlainText);
    form->addRow(listen_);
    form->addRow(QCoreApplication::translate("StationsWindow", "Adresse :"), address_);
    form->addRow(QCoreApplication::translate("StationsWindow", "Port :"), port_);
    form->addRow(follow_);
    cluster_ = new QCheckBox(
        QCoreApplication::translate("StationsWindow", "Se connecter au cluster DX"), this);
    clusterHost_ = new QLineEdit(this);
    clusterHost_->setObjectName(QStringLiteral("HoteCluster"));
    clusterHost_->setPlaceholderText(QStringLiteral("dxc.example.org"));
    clusterPort_ = new QSpinBox(this);
    clusterPort_->setRange(1, 65535);
    clusterCall_ = new QLineEdit(this);
    clusterCall_->setObjectName(QStringLiteral("IndicatifCluster"));
    clusterCall_->setPlaceholderText(QStringLiteral("F4ABC-2"));
    clusterPassword_ = new QLineEdit(this);
    clusterPassword_->setEchoMode(QLineEdit::Password);
    clusterPassword_->setToolTip(
        QCoreApplication::translate("StationsWindow", "Gardé pour cette fois seulement"));
    auto* clusterAddress = new QHBoxLayout;
    clusterAddress->addWidget(clusterHost_, 1);
    clusterAddress->addWidget(clusterPort_);
    form->addRow(cluster_);
    form->addRow(QCoreApplication::translate("StationsWindow", "Nœud :"), clusterAddress);
    form->addRow(QCoreApplication::translate("StationsWindow", "Indicatif :"), clusterCall_);
    form->addRow(QCoreApplication::translate("StationsWindow", "Mot de passe :"), clusterPassword_);
    auto* row = new QHBoxLayout;
    row->addWidget(apply);
    row->addWidget(status_, 1);
    form->addRow(row);
    layout->addLayout(form);

    auto* filters = new QHBoxLayout;
    band_ = new QComboBox(this);
    band_->addItem(QCoreApplication::translate("StationsWindow", "Toutes les bandes"), QString());
    for (const char* band : kBands) {
        band_->addItem(QString::fromLatin1(band), QString::fromLatin1(band));
    }
    cqOnly_ = new QCheckBox(QCoreApplication::translate("StationsWindow", "CQ seulement"), this);
    filters->addWidget(band_);
    filters->addWidget(cqOnly_);
    filters->addStretch();
    layout->addLayout(filters);

    filter_.setSourceModel(&model_);
    filter_.setSortRole(Qt::UserRole);
    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("ListeStations"));
    view_->setModel(&filter_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(StationsModel::kTime, Qt::DescendingOrder);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->horizontalHeader()->setDefaultSectionSize(76);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    layout->addWidget(view_, 1);
    resize(660, 600);

    connect(apply, &QPushButton::clicked, this, [this] {
        if (applied) {
            applied({listen_->isChecked(), address_->text().trimmed(), port_->value(),
                     follow_->isChecked(), cluster_->isChecked(), clusterHost_->text().trimmed(),
                     clusterPort_->value(), clusterCall_->text().trimmed(),
                     clusterPassword_->text()});
        }
    });
    connect(band_, &QComboBox::currentIndexChanged, this,
            [this] { filter_.SetBand(band_->currentData().toString()); });
    connect(cqOnly_, &QCheckBox::toggled, this, [this](bool on) { filter_.SetCqOnly(on); });
    connect(view_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (const std::uint64_t id = IdAt(index); id != 0 && chosen) {
            chosen(id);
        }
    });
    connect(view_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (const std::uint64_t id = IdAt(index); id != 0 && answered) {
            answered(id);
        }
    });
}

std::uint64_t StationsWindow::IdAt(const QModelIndex& index) const {
    const QModelIndex source = filter_.mapToSource(index);
    if (!source.isValid() || source.row() >= static_cast<int>(model_.Rows().size())) {
        return 0;
    }
    return model_.Rows()[static_cast<std::size_t>(source.row())].id;
}

void StationsWindow::Show(const Settings& settings, const QString& status) {
    listen_->setChecked(settings.on);
    address_->setText(settings.address);
    port_->setValue(settings.port);
    follow_->setChecked(settings.followDx);
    cluster_->setChecked(settings.clusterOn);
    clusterHost_->setText(settings.clusterHost);
    clusterPort_->setValue(settings.clusterPort);
    clusterCall_->setText(settings.clusterCall);
    clusterPassword_->setText(settings.clusterPassword);
    SetStatus(status);
    show();
    raise();
    activateWindow();
}

void StationsWindow::SetStatus(const QString& status) {
    status_->setText(status);
}

}  // namespace orbida::ui
