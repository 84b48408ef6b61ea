#include "live/cluster_session.h"

#include <QCoreApplication>
#include <QIODevice>
#include <algorithm>
#include <cmath>

#include "rotator/network.h"

namespace orbida::live {
namespace {

namespace cluster = stations::cluster;
namespace network = rotator::network;
using std::chrono::milliseconds;

// Prompts for the call or the password answered on one connection. A node that asks again after
// that refuses what it was given; answering on would only repeat it.
constexpr int kMaxLoginAnswers = 3;
// A spot's time is never more than a day (and the clock skew) from the local clock.
constexpr std::int64_t kMaxSpotAgeSeconds = 2 * 86400;

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A call as a node takes it at login: letters, digits and slashes with at least one letter and
// one digit, then an optional SSID of one or two digits ("F4ABC-2"). Nothing else reaches the
// node: a space or a line end would be read as a command.
bool IsLoginCall(const QString& call) {
    if (call.isEmpty() || call.size() > stations::StationStore::kMaxCallLength) {
        return false;
    }
    const qsizetype dash = call.indexOf(u'-');
    const QString base = dash < 0 ? call : call.left(dash);
    if (dash >= 0) {
        const QString ssid = call.mid(dash + 1);
        if (ssid.isEmpty() || ssid.size() > 2 || !std::all_of(ssid.begin(), ssid.end(), IsDigit)) {
            return false;
        }
    }
    bool letter = false;
    bool digit = false;
    for (const QChar c : base) {
        if (c >= u'A' && c <= u'Z') {
            letter = true;
        } else if (IsDigit(c)) {
            digit = true;
        } else if (c != u'/') {
            return false;
        }
    }
    return letter && digit;
}

bool HasControlCharacter(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

}  // namespace

ClusterSession::ClusterSession(stations::StationStore& store, Hooks hooks)
    : ClusterSession(store, std::move(hooks), Timing{}) {}

ClusterSession::ClusterSession(stations::StationStore& store, Hooks hooks, Timing timing)
    : store_(store), hooks_(std::move(hooks)), timing_(timing), nextRetry_(timing.firstRetry) {
    if (!hooks_.now) {
        hooks_.now = [] { return stations::Clock::now(); };
    }
    for (QTimer* timer : {&keepAliveTimer_, &retryTimer_, &connectTimer_}) {
        timer->setSingleShot(true);
    }
    keepAliveTimer_.setInterval(timing_.keepAlive);
    connectTimer_.setInterval(timing_.connectTimeout);
    QObject::connect(&keepAliveTimer_, &QTimer::timeout, &keepAliveTimer_, [this] {
        if (state_ == State::kLoggingIn || state_ == State::kOnline) {
            ++counts_.keepAlives;
            Send(QByteArrayLiteral("\r\n"));
            keepAliveTimer_.start();  // one line per silent period
        }
    });
    QObject::connect(&retryTimer_, &QTimer::timeout, &retryTimer_, [this] { Connect(); });
    QObject::connect(&connectTimer_, &QTimer::timeout, &connectTimer_, [this] {
        Lost(QCoreApplication::translate("Cluster", "pas de réponse du nœud"));
    });
}

ClusterSession::~ClusterSession() {
    if (socket_ != nullptr) {
        socket_->disconnect();
        network_->abortTcp(socket_);
    }
    socket_ = nullptr;
    owner_.reset();
}

QString ClusterSession::Start(const Config& config) {
    Stop();
    Config checked = config;
    checked.host = config.host.trimmed();
    checked.call = config.call.trimmed().toUpper();
    if (checked.host.isEmpty()) {
        return QCoreApplication::translate("Cluster", "aucun nœud indiqué");
    }
    if (HasControlCharacter(checked.host)) {
        return QCoreApplication::translate("Cluster", "adresse du nœud invalide");
    }
    if (checked.port == 0) {
        return QStringLiteral("port 0 invalide");
    }
    if (!IsLoginCall(checked.call)) {
        return QCoreApplication::translate(
            "Cluster", "indicatif invalide (lettres, chiffres, / et un SSID : F4ABC-2)");
    }
    if (HasControlCharacter(checked.password)) {
        return QCoreApplication::translate("Cluster",
                                           "mot de passe invalide (caractère de contrôle)");
    }
    QString why;
    network_ = network::Load(&why);
    if (network_ == nullptr) {
        SetStatus(State::kStopped, QStringLiteral("cluster : ") + why);
        return why;
    }
    config_ = checked;
    owner_ = std::make_unique<QObject>();
    network::TcpEvents events;
    events.connected = [this] { OnConnected(); };
    events.readyRead = [this] { OnReadyRead(); };
    events.closed = [this] {
        if (state_ == State::kLoggingIn || state_ == State::kOnline) {
            Lost({});
        }
    };
    events.failed = [this](const QString& reason) {
        if (state_ == State::kConnecting || state_ == State::kLoggingIn ||
            state_ == State::kOnline) {
            Lost(reason);
        }
    };
    socket_ = network_->newTcp(owner_.get(), events);
    nextRetry_ = timing_.firstRetry;
    Connect();
    return {};
}

void ClusterSession::Stop() {
    keepAliveTimer_.stop();
    retryTimer_.stop();
    connectTimer_.stop();
    if (socket_ != nullptr) {
        // Stop may come from a hook called inside one of the socket's events: the socket goes
        // once that event has returned, and hears nothing more until then.
        socket_->disconnect();
        network_->abortTcp(socket_);
        owner_.release()->deleteLater();
        socket_ = nullptr;
    }
    if (state_ != State::kStopped) {
        SetStatus(State::kStopped, {});
    }
}

milliseconds ClusterSession::retryDelay() const {
    return retryTimer_.isActive() ? retryTimer_.intervalAsDuration() : milliseconds{0};
}

void ClusterSession::Connect() {
    splitter_ = {};
    loginAnswers_ = 0;
    SetStatus(State::kConnecting, QStringLiteral("cluster : connexion…"));
    if (state_ != State::kConnecting) {
        return;  // the status hook stopped the session
    }
    connectTimer_.start();
    network_->connectTcp(socket_, config_.host, config_.port);
}

void ClusterSession::OnConnected() {
    if (state_ != State::kConnecting) {
        return;
    }
    connectTimer_.stop();
    ++counts_.connections;
    keepAliveTimer_.start();
    SetStatus(State::kLoggingIn,
              QCoreApplication::translate("Cluster", "cluster : connecté à %1").arg(config_.host));
}

void ClusterSession::OnReadyRead() {
    const QByteArray bytes = socket_->readAll();
    if ((state_ != State::kLoggingIn && state_ != State::kOnline) || bytes.isEmpty()) {
        return;
    }
    counts_.bytes += static_cast<std::uint64_t>(bytes.size());
    keepAliveTimer_.start();
    const std::uint64_t version = store_.version();
    const QList<QByteArray> lines = splitter_.Feed(bytes);
    for (const QByteArray& line : lines) {
        Take(line);
        // A refusal, or a hook that stopped the session, ends the reading.
        if (state_ != State::kLoggingIn && state_ != State::kOnline) {
            break;
        }
    }
    if (store_.version() != version && hooks_.changed) {
        hooks_.changed();
    }
}

void ClusterSession::Lost(const QString& reason) {
    const bool wasConnected = state_ == State::kLoggingIn || state_ == State::kOnline;
    network_->abortTcp(socket_);
    keepAliveTimer_.stop();
    connectTimer_.stop();
    retryTimer_.start(nextRetry_);
    nextRetry_ = std::min(nextRetry_ * 2, std::max(timing_.longestRetry, timing_.firstRetry));
    SetStatus(State::kWaiting,
              wasConnected ? QCoreApplication::translate("Cluster", "cluster : connexion perdue")
                           : QStringLiteral("cluster : ") + reason);
}

void ClusterSession::Refuse(const QString& text) {
    network_->abortTcp(socket_);
    keepAliveTimer_.stop();
    connectTimer_.stop();
    retryTimer_.stop();
    SetStatus(State::kRefused, text);
}

void ClusterSession::Take(const QByteArray& rawLine) {
    ++counts_.lines;
    const stations::Clock::time_point now = hooks_.now();
    const cluster::Line line = cluster::ReadLine(
        rawLine, std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count());
    switch (line.kind) {
        case cluster::LineKind::kLoginPrompt:
            Answer(config_.call);
            break;
        case cluster::LineKind::kPasswordPrompt:
            Answer(config_.password);
            break;
        case cluster::LineKind::kRejected:
            Refuse(QCoreApplication::translate("Cluster", "cluster : indicatif déjà connecté"));
            break;
        case cluster::LineKind::kSpot:
            LoggedIn();
            Place(line.spot, now);
            break;
        case cluster::LineKind::kPrompt:
            LoggedIn();
            break;
        default:
            break;
    }
}

void ClusterSession::Answer(const QString& text) {
    if (++loginAnswers_ > kMaxLoginAnswers) {
        Refuse(QCoreApplication::translate("Cluster", "cluster : identification refusée"));
        return;
    }
    Send(text.toUtf8() + "\r\n");
}

void ClusterSession::LoggedIn() {
    if (state_ == State::kLoggingIn) {
        nextRetry_ = timing_.firstRetry;
        SetStatus(State::kOnline, status_);
    }
}

void ClusterSession::Place(const cluster::Spot& spot, stations::Clock::time_point now) {
    ++counts_.spots;
    if (spot.band.isEmpty()) {
        ++counts_.offBand;
    }
    std::optional<geodesy::GeoPoint> position;
    if (hooks_.countryPosition) {
        position = hooks_.countryPosition(spot.call);
    }
    if (!position) {
        ++counts_.unplaced;
        return;
    }
    stations::HeardStation station;
    station.source = stations::StationSource::kCluster;
    station.call = spot.call;
    station.position = *position;
    station.approximate = true;
    station.band = spot.band;
    station.mode = spot.mode;
    station.frequency = static_cast<std::uint64_t>(std::llround(spot.kilohertz * 1000.0));
    station.kind = stations::StationKind::kOther;
    // The spot's own time, which the parser took from the same clock, a day back at most.
    const std::int64_t seconds =
        std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    const std::int64_t ago =
        std::clamp<std::int64_t>(seconds - spot.time, -kMaxSpotAgeSeconds, kMaxSpotAgeSeconds);
    const stations::Clock::time_point when =
        stations::Clock::time_point(std::chrono::seconds(seconds - ago));
    if (store_.Hear(std::move(station), when) != 0) {
        ++counts_.stations;
    }
}

void ClusterSession::Send(const QByteArray& line) {
    if (socket_ != nullptr) {
        socket_->write(line);
    }
}

void ClusterSession::SetStatus(State state, const QString& text) {
    state_ = state;
    if (text == status_) {
        return;
    }
    status_ = text;
    if (hooks_.status) {
        hooks_.status(status_);
    }
}

}  // namespace orbida::live
