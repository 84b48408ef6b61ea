#include "ui/parts/stations_part.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QTableView>
#include <QToolTip>
#include <algorithm>

#include "geodesy/locator.h"
#include "live/cluster_session.h"
#include "live/wsjtx_listener.h"
#include "ui/map/map_widget.h"
#include "ui/map/station_layer.h"
#include "ui/parts/remembered.h"
#include "ui/parts/stations_window.h"

namespace orbida::ui {
namespace {

constexpr int kFaintestAlpha = 60;  // a mark about to go

// A spot's band, in the beacons' colours on the bands they share.
QColor BandColour(const QString& band) {
    static const std::map<QString, QColor> colours = {
        {QStringLiteral("160m"), QColor(150, 90, 255)},
        {QStringLiteral("80m"), QColor(200, 120, 255)},
        {QStringLiteral("60m"), QColor(230, 140, 230)},
        {QStringLiteral("40m"), QColor(255, 150, 200)},
        {QStringLiteral("30m"), QColor(255, 190, 150)},
        {QStringLiteral("20m"), QColor(90, 170, 255)},
        {QStringLiteral("17m"), QColor(0, 225, 225)},
        {QStringLiteral("15m"), QColor(80, 225, 80)},
        {QStringLiteral("12m"), QColor(255, 215, 0)},
        {QStringLiteral("10m"), QColor(255, 100, 70)},
        {QStringLiteral("6m"), QColor(255, 255, 255)}};
    const auto found = colours.find(band);
    return found != colours.end() ? found->second : QColor(190, 190, 190);
}

QColor KindColour(stations::StationKind kind) {
    switch (kind) {
        case stations::StationKind::kCq:
            return QColor(40, 230, 40);
        case stations::StationKind::kCqDirected:
            return QColor(255, 160, 0);
        case stations::StationKind::kCallingMe:
            return QColor(255, 40, 140);
        case stations::StationKind::kOther:
            break;
    }
    return QColor(170, 205, 255);
}

stations::Clock::time_point Now(const PartHost& host) {
    return stations::Clock::time_point(host.Services().clock.Now().time_since_epoch());
}

// Tooltips, clicks and double clicks on the marks of the window's map; what is not on a mark goes
// on to the map (a click then pins the point, as always).
class MarkEvents final : public QObject {
  public:
    MarkEvents(QObject* parent, std::function<bool(QEvent*)> handle)
        : QObject(parent), handle_(std::move(handle)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return handle_(event) || QObject::eventFilter(watched, event);
    }

  private:
    std::function<bool(QEvent*)> handle_;
};

}  // namespace

StationsPart::StationsPart() : layer_(std::make_unique<StationLayer>()) {}

StationsPart::~StationsPart() {
    // The maps may outlive the part (the window's is destroyed after its parts): their filters go
    // now, not with them.
    for (const QPointer<QObject>& filter : filters_) {
        delete filter;
    }
    delete window_;
    if (session_) {
        session_->Stop();
    }
}

void StationsPart::Build(PartHost& host) {
    host_ = &host;
    QAction* entry = AddMenuEntry(host.Window(), nullptr,
                                  QCoreApplication::translate("StationsPart", "Stations…"), {},
                                  [this](bool) { OpenWindow(); });
    host.AddToMapMenu(MenuPlace::Stations, entry);
    host.AddLayer(layer_.get());
    soon_.setSingleShot(true);
    soon_.setInterval(kRefreshGap);
    QObject::connect(&soon_, &QTimer::timeout, host.Window(), [this] { Refresh(); });
    aging_.setSingleShot(true);
    QObject::connect(&aging_, &QTimer::timeout, host.Window(), [this] { Refresh(); });

    Watch(host.Map(), *host.Map());
}

void StationsPart::MapOpened(QWidget* widget, const MapView& view) {
    Watch(widget, view);
}

// Tooltips, clicks and double clicks on the marks of a map.
void StationsPart::Watch(QWidget* map, const MapView& view) {
    auto* filter = new MarkEvents(map, [this, map, &view](QEvent* event) {
        if (layer_->Marks().empty()) {
            return false;
        }
        const auto type = event->type();
        if (type == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(event);
            const std::uint64_t id = layer_->StationAt(view, help->pos());
            const stations::HeardStation* s = store_.Find(id);
            if (s == nullptr) {
                return false;
            }
            const tracking::TickFrame f = host_->MeasurePlace(s->position);
            const auto age =
                std::chrono::duration_cast<std::chrono::seconds>(Now(*host_) - s->lastHeard);
            QString where = s->grid;
            if (s->approximate) {
                const auto country = host_->CountryOf(s->call);
                where = QStringLiteral("≈ ") + (country ? country->name : QString());
            }
            const QString text =
                QCoreApplication::translate(
                    "StationsPart", "%1  %2\n%3 %4  %5 dB  il y a %6 s\n%7  %8 (long chemin %9 °)")
                    .arg(s->call, where, s->band, s->mode,
                         s->snr ? QString::number(*s->snr) : QStringLiteral("?"))
                    .arg(std::max<long long>(0, age.count()))
                    .arg(QString::fromStdString(
                             tracking::FormatDistance(f.distanceKm,
                                                      tracking::DistanceUnit::Kilometres))
                             .simplified(),
                         QString::fromStdString(f.dial.text))
                    .arg(f.longAzimuth);
            QToolTip::showText(help->globalPos(), text, map);
            return true;
        }
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) {
            return false;
        }
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || host_->Pinned().Any()) {
            return false;
        }
        const std::uint64_t id = layer_->StationAt(view, mouse->position().toPoint());
        if (id == 0) {
            return false;
        }
        if (type == QEvent::MouseButtonDblClick) {
            Answer(id);
        } else {
            PinStation(id);
        }
        return true;
    });
    map->installEventFilter(filter);
    filters_.emplace_back(filter);
}

void StationsPart::UseSettings(SettingsStore* settings) {
    settings_ = settings;
    if (settings_ != nullptr) {
        const WsjtxState state = ReadWsjtx(*settings_);
        SetWsjtx({state.on, state.address, state.port, state.followDx}, false);
        const ClusterState cluster = ReadCluster(*settings_);
        SetCluster({cluster.on, cluster.host, cluster.port, cluster.call, QString()}, false);
    }
}

QString StationsPart::SetWsjtx(const WsjtxSettings& wsjtx, bool remember) {
    wsjtx_ = wsjtx;
    if (remember && settings_ != nullptr) {
        RememberWsjtx(*settings_, {wsjtx.on, wsjtx.address, wsjtx.port, wsjtx.followDx});
    }
    if (!wsjtx.on) {
        listener_.reset();  // no socket, no timer, the module not loaded by this
        status_ = QCoreApplication::translate("StationsPart", "WSJT-X : arrêté");
    } else {
        if (!listener_) {
            live::WsjtxListener::Hooks hooks;
            hooks.countryPosition = [this](const QString& call) { return CountryPosition(call); };
            hooks.now = [this] { return Now(*host_); };
            hooks.changed = [this] {
                RefreshSoon();
                FollowDx();
            };
            listener_ = std::make_unique<live::WsjtxListener>(store_, std::move(hooks));
        }
        const QString why = listener_->Listen(wsjtx.address, wsjtx.port);
        status_ = why.isEmpty()
                      ? QCoreApplication::translate("StationsPart", "WSJT-X : à l'écoute sur %1:%2")
                            .arg(wsjtx.address)
                            .arg(wsjtx.port)
                      : QStringLiteral("WSJT-X : ") + why;
        if (!why.isEmpty()) {
            listener_.reset();
        }
        FollowDx();  // turned on: the DX WSJT-X already has
        ShowStatus();
        return why;
    }
    ShowStatus();
    return {};
}

QString StationsPart::SetCluster(const ClusterSettings& cluster, bool remember) {
    cluster_ = cluster;
    if (remember && settings_ != nullptr) {
        RememberCluster(*settings_, {cluster.on, cluster.host, cluster.port, cluster.call});
    }
    if (!cluster.on) {
        if (session_) {
            session_->Stop();
        }
        session_.reset();
        clusterStatus_.clear();
        ShowStatus();
        return {};
    }
    if (!session_) {
        live::ClusterSession::Hooks hooks;
        hooks.countryPosition = [this](const QString& call) { return CountryPosition(call); };
        hooks.now = [this] { return Now(*host_); };
        hooks.changed = [this] { RefreshSoon(); };
        hooks.status = [this](const QString& text) {
            clusterStatus_ = text;
            ShowStatus();
        };
        session_ = std::make_unique<live::ClusterSession>(store_, std::move(hooks));
    }
    const QString why =
        session_->Start({cluster.host, cluster.port, cluster.call, cluster.password});
    if (!why.isEmpty()) {
        clusterStatus_ = QCoreApplication::translate("StationsPart", "cluster : %1").arg(why);
        session_.reset();
    }
    ShowStatus();
    return why;
}

QString StationsPart::Status() const {
    return clusterStatus_.isEmpty() ? status_ : status_ + QLatin1Char('\n') + clusterStatus_;
}

void StationsPart::ShowStatus() {
    if (window_) {
        window_->SetStatus(Status());
    }
}

void StationsPart::OpenWindow() {
    if (!window_) {
        window_ = new StationsWindow(host_->Window());
        window_->applied = [this](const StationsWindow::Settings& s) {
            SetWsjtx({s.on, s.address.isEmpty() ? QStringLiteral("127.0.0.1") : s.address,
                      static_cast<quint16>(s.port), s.followDx},
                     true);
            SetCluster({s.clusterOn, s.clusterHost, static_cast<quint16>(s.clusterPort),
                        s.clusterCall, s.clusterPassword},
                       true);
        };
        window_->chosen = [this](std::uint64_t id) { PinStation(id); };
        window_->answered = [this](std::uint64_t id) { window_->SetStatus(Answer(id)); };
    }
    window_->Show({wsjtx_.on, wsjtx_.address, wsjtx_.port, wsjtx_.followDx, cluster_.on,
                   cluster_.host, cluster_.port, cluster_.call, cluster_.password},
                  Status());
    if (host_->Topmost()) {
        host_->Services().windows.MakeTopmost(window_);
    }
    Refresh();
}

// Where a call's country lies, for a station heard without a grid.
std::optional<geodesy::GeoPoint> StationsPart::CountryPosition(const QString& call) {
    const auto country = host_->CountryOf(call);
    if (!country) {
        return std::nullopt;
    }
    return geodesy::GeoPoint{country->latitude, country->longitude};
}

void StationsPart::PinStation(std::uint64_t id) {
    if (const stations::HeardStation* s = store_.Find(id)) {
        host_->Pin({std::nullopt, s->position});
    }
}

QString StationsPart::Answer(std::uint64_t id) {
    if (!listener_) {
        return QCoreApplication::translate("StationsPart", "WSJT-X : arrêté");
    }
    const QString why = listener_->SendReply(id);
    return why.isEmpty() ? QCoreApplication::translate("StationsPart", "Réponse demandée à WSJT-X")
                         : why;
}

void StationsPart::FollowDx() {
    if (!wsjtx_.followDx || !listener_) {
        return;
    }
    const live::WsjtxListener::Instance* latest = nullptr;
    for (const auto& [id, instance] : listener_->instances()) {
        if (latest == nullptr || instance.lastHeard > latest->lastHeard) {
            latest = &instance;
        }
    }
    if (latest == nullptr || latest->dxGrid == followed_) {
        return;
    }
    followed_ = latest->dxGrid;
    if (const auto place = geodesy::LocatorCentre(followed_.toStdString())) {
        host_->Pin({std::nullopt, place});
    }
}

// Stations arrive by the hundred a second: the marks and the list follow them a few times a
// second, each time in one pass over the store.
void StationsPart::RefreshSoon() {
    if (!soon_.isActive()) {
        soon_.start();
    }
}

void StationsPart::Refresh() {
    soon_.stop();
    const stations::Clock::time_point now = Now(*host_);
    store_.Expire(now, stations::kDefaultDecodeMaxAge, stations::StationSource::kWsjtx);
    store_.Expire(now, stations::kDefaultSpotMaxAge, stations::StationSource::kCluster);
    std::vector<StationLayer::Mark> marks;
    marks.reserve(store_.size());
    store_.ForEach([&](std::uint64_t id, const stations::HeardStation& s) {
        const bool spot = s.source == stations::StationSource::kCluster;
        const double life = std::chrono::duration<double>(spot ? stations::kDefaultSpotMaxAge
                                                               : stations::kDefaultDecodeMaxAge)
                                .count();
        const double age =
            std::clamp(std::chrono::duration<double>(now - s.lastHeard).count() / life, 0.0, 1.0);
        QColor colour = spot ? BandColour(s.band) : KindColour(s.kind);
        colour.setAlpha(static_cast<int>(255 - (255 - kFaintestAlpha) * age));
        marks.push_back({id, s.position, colour, s.approximate});
    });
    layer_->SetMarks(std::move(marks));
    if (store_.size() == 0) {
        aging_.stop();
    } else if (!aging_.isActive()) {
        aging_.start(std::chrono::milliseconds(kAgingStep));
    }
    if (window_ && window_->isVisible()) {
        std::vector<StationsModel::Row> rows;
        rows.reserve(store_.size());
        store_.ForEach([&](std::uint64_t id, const stations::HeardStation& s) {
            const tracking::TickFrame f = host_->MeasurePlace(s.position);
            QString where = s.grid;
            if (s.approximate) {
                const auto country = host_->CountryOf(s.call);
                where = QStringLiteral("≈ ") + (country ? country->name : QString());
            }
            rows.push_back(
                {id, s, where, f.distanceKm, f.dial.course,
                 QString::fromStdString(
                     tracking::FormatDistance(f.distanceKm, tracking::DistanceUnit::Kilometres))
                     .simplified(),
                 QString::fromStdString(f.dial.text)});
        });
        window_->Model().SetRows(std::move(rows));
    }
}

}  // namespace orbida::ui
