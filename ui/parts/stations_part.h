#pragma once

#include <QPointer>
#include <QTimer>
#include <memory>

#include "stations/station_store.h"
#include "ui/parts/station_part.h"
#include "ui/parts/stations_window.h"

class QAction;

namespace orbida::live {
class ClusterSession;
class WsjtxListener;
}  // namespace orbida::live

namespace orbida::ui {

class StationLayer;

// The stations heard on the air: WSJT-X's decodes over UDP (off by default; nothing of it runs or
// loads while off), each a mark on every map in the colour of its kind (CQ, CQ DX, calling me,
// other), fading over ten minutes and gone after; and "Stations…", a window with the settings and
// the list of stations. A mark or a row chosen pins its station as the target; a double click on
// one that called CQ asks WSJT-X to answer it. WSJT-X's DX call and grid can pin the target as
// they change ("Suivre le DX de WSJT-X"). The aging timer runs only while stations are shown.
class StationsPart final : public StationPart {
  public:
    struct WsjtxSettings {
        bool on = false;
        QString address = QStringLiteral("127.0.0.1");
        quint16 port = 2237;
        bool followDx = false;
        friend bool operator==(const WsjtxSettings&, const WsjtxSettings&) = default;
    };
    // A DX cluster node: its spots are stations too, drawn in their band's colour and kept
    // thirty minutes. The password is kept for the run only.
    struct ClusterSettings {
        bool on = false;
        QString host;
        quint16 port = 7300;
        QString call;
        QString password;
        friend bool operator==(const ClusterSettings&, const ClusterSettings&) = default;
    };
    static constexpr std::chrono::seconds kAgingStep{5};
    // The longest a new station waits before it is drawn.
    static constexpr std::chrono::milliseconds kRefreshGap{250};

    StationsPart();
    ~StationsPart() override;

    void Build(PartHost& host) override;
    void UseSettings(SettingsStore* settings) override;
    void MapOpened(QWidget* widget, const MapView& view) override;

    // Listens (or stops) as set; remember: kept for the next runs too. Empty when listening or
    // off, else why not, in French.
    QString SetWsjtx(const WsjtxSettings& wsjtx, bool remember);
    const WsjtxSettings& Wsjtx() const { return wsjtx_; }
    // Connects to the node (or stops); empty when connecting or off, else why not, in French.
    QString SetCluster(const ClusterSettings& cluster, bool remember);
    const ClusterSettings& Cluster() const { return cluster_; }
    live::ClusterSession* Session() const { return session_.get(); }
    // What WSJT-X's listener and the cluster's session say, one line each.
    QString Status() const;
    void OpenWindow();
    StationsWindow* Window() const { return window_; }

    stations::StationStore& Store() { return store_; }
    live::WsjtxListener* Listener() const { return listener_.get(); }
    const StationLayer& Layer() const { return *layer_; }
    const QTimer& AgingTimer() const { return aging_; }

    // The store changed or time went by: the marks again, the list, the timer.
    void Refresh();
    // Pins a station of the store as the target.
    void PinStation(std::uint64_t id);
    // Asks WSJT-X to answer a station; empty when asked, else why not.
    QString Answer(std::uint64_t id);

  private:
    void FollowDx();
    void Watch(QWidget* map, const MapView& view);
    void ShowStatus();
    void RefreshSoon();
    std::optional<geodesy::GeoPoint> CountryPosition(const QString& call);

    PartHost* host_ = nullptr;
    SettingsStore* settings_ = nullptr;
    WsjtxSettings wsjtx_;
    stations::StationStore store_;
    std::unique_ptr<live::WsjtxListener> listener_;
    ClusterSettings cluster_;
    std::unique_ptr<live::ClusterSession> session_;
    QString clusterStatus_;
    std::unique_ptr<StationLayer> layer_;
    QTimer aging_;
    QTimer soon_;                             // the next drawing of what arrived
    std::vector<QPointer<QObject>> filters_;  // on the maps whose marks are watched
    QPointer<StationsWindow> window_;
    QString status_;
    QString followed_;  // the DX grid last pinned
};

}  // namespace orbida::ui
