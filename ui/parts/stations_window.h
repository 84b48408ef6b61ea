#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QWidget>
#include <functional>
#include <vector>

#include "stations/station_store.h"
#include "tracking/tick.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;

namespace orbida::ui {

// The stations of the store as rows: time last heard (UTC), call, grid or country, band, mode,
// SNR, distance and azimuth from home as the tick measures them. Sorted by the view through its
// proxy; each cell gives a number to sort by under Qt::UserRole.
class StationsModel final : public QAbstractTableModel {
  public:
    enum Column { kTime, kCall, kWhere, kBand, kMode, kSnr, kDistance, kAzimuth, kColumns };
    struct Row {
        std::uint64_t id = 0;
        stations::HeardStation station;
        QString where;  // the grid, or "≈ country"
        double km = 0.0;
        double azimuth = 0.0;
        QString distanceText;
        QString azimuthText;
    };

    void SetRows(std::vector<Row> rows);
    const std::vector<Row>& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<Row> rows_;
};

// Keeps the rows of one band (empty: all) and, when asked, only those that called CQ.
class StationsFilter final : public QSortFilterProxyModel {
  public:
    void SetBand(const QString& band);
    void SetCqOnly(bool on);

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

  private:
    QString band_;
    bool cqOnly_ = false;
};

// "Stations…": WSJT-X's address, whether to listen and to follow its DX, then the list of the
// stations heard with its filters.
class StationsWindow final : public QWidget {
  public:
    struct Settings {
        bool on = false;
        QString address;
        int port = 0;
        bool followDx = false;
        bool clusterOn = false;
        QString clusterHost;
        int clusterPort = 7300;
        QString clusterCall;
        QString clusterPassword;
    };
    explicit StationsWindow(QWidget* parent);

    void Show(const Settings& settings, const QString& status);
    void SetStatus(const QString& status);
    StationsModel& Model() { return model_; }
    StationsFilter& Filter() { return filter_; }
    QTableView* View() const { return view_; }

    std::function<void(const Settings&)> applied;
    std::function<void(std::uint64_t)> chosen;    // a row selected
    std::function<void(std::uint64_t)> answered;  // a row double-clicked

  private:
    std::uint64_t IdAt(const QModelIndex& index) const;

    StationsModel model_;
    StationsFilter filter_;
    QCheckBox* listen_ = nullptr;
    QLineEdit* address_ = nullptr;
    QSpinBox* port_ = nullptr;
    QCheckBox* follow_ = nullptr;
    QCheckBox* cluster_ = nullptr;
    QLineEdit* clusterHost_ = nullptr;
    QSpinBox* clusterPort_ = nullptr;
    QLineEdit* clusterCall_ = nullptr;
    QLineEdit* clusterPassword_ = nullptr;
    QLabel* status_ = nullptr;
    QComboBox* band_ = nullptr;
    QCheckBox* cqOnly_ = nullptr;
    QTableView* view_ = nullptr;
};

}  // namespace orbida::ui
