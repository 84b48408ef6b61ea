#pragma once

// A telnet session with a DX cluster node (DX Spider, AR-Cluster, CC Cluster): it logs in with the
// user's call, puts the stations the spots name into a StationStore, keeps an idle connection
// open and connects again after the connection is lost.
//
// The login is answered as a user would type it: the call at "login:" or "Please enter your
// call:", the password (or an empty line) at "password:". A node that refuses the call because it
// is already connected, or that keeps asking for it, ends the session: connecting again would
// only be refused again, or knock the user's other session off.
//
// Each spot places its station at its country's point (marked approximate), with the spot's
// time; a spot of a call whose country is unknown is counted and left out. A spot whose frequency
// is 0 or in no amateur band is kept with an empty band.
//
// After a connection is lost or cannot be made, the session waits before the next attempt: the
// first retry delay, then twice as long each time up to the longest, and the first again once a
// login has succeeded (a spot or the node's prompt came). Nothing waits: every step is an event
// of the socket or a timer of the thread the session lives on.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "geodesy/geo_point.h"
#include "stations/cluster_line.h"
#include "stations/station_store.h"

class QIODevice;

namespace orbida::rotator::network {
struct Functions;
}

namespace orbida::live {

inline constexpr quint16 kClusterDefaultPort = 7300;

class ClusterSession {
  public:
    struct Config {
        QString host;
        quint16 port = kClusterDefaultPort;
        QString call;      // the user's call, an SSID allowed: "F4ABC-2"
        QString password;  // sent only when the node asks; may be empty
    };

    // How long the session waits; tests shorten them.
    struct Timing {
        // Without a byte received for this long, one empty line shows the node the user is there.
        std::chrono::milliseconds keepAlive{60'000};
        std::chrono::milliseconds firstRetry{5'000};
        std::chrono::milliseconds longestRetry{300'000};
        // A connection not made by then counts as failed.
        std::chrono::milliseconds connectTimeout{30'000};
    };

    struct Hooks {
        // Where a call's country lies (longitude west positive).
        std::function<std::optional<geodesy::GeoPoint>(const QString& call)> countryPosition;
        // The local clock, which dates a spot's HHMM; the system clock when not given.
        std::function<stations::Clock::time_point()> now;
        // Called after received lines changed the store.
        std::function<void()> changed;
        // Called with each new status text, in French ("cluster : connecté à dxc.example.org");
        // an empty text once stopped.
        std::function<void(const QString& text)> status;
    };

    enum class State {
        kStopped,
        kConnecting,
        kLoggingIn,  // connected; the node has not yet shown a prompt or a spot
        kOnline,
        kWaiting,  // for the next attempt after a lost or failed connection
        kRefused,  // the node refused the login: stopped until Start
    };

    struct Counts {
        std::uint64_t connections = 0;  // connections made
        std::uint64_t bytes = 0;        // received
        std::uint64_t lines = 0;        // whole lines received
        std::uint64_t spots = 0;
        std::uint64_t stations = 0;    // spots that placed a station
        std::uint64_t unplaced = 0;    // spots of a call whose country is unknown
        std::uint64_t offBand = 0;     // spots of frequency 0 or in no amateur band (kept)
        std::uint64_t keepAlives = 0;  // idle lines sent
    };

    ClusterSession(stations::StationStore& store, Hooks hooks);
    ClusterSession(stations::StationStore& store, Hooks hooks, Timing timing);
    ~ClusterSession();
    ClusterSession(const ClusterSession&) = delete;
    ClusterSession& operator=(const ClusterSession&) = delete;

    // Connects to the node (the network module is loaded then) after stopping any session
    // before. Empty when connecting, else why not in French: no host, a call or a password that
    // cannot be sent, no network module.
    QString Start(const Config& config);
    // Closes the connection; nothing runs afterwards. May be called from a hook.
    void Stop();

    State state() const { return state_; }
    const QString& status() const { return status_; }
    const Counts& counts() const { return counts_; }
    // How long the next attempt waits, while waiting for it; else zero.
    std::chrono::milliseconds retryDelay() const;
    // Bytes of an unfinished line held; never more than stations::cluster::kMaxLineBytes.
    qsizetype pendingBytes() const { return splitter_.pendingBytes(); }
    // Lines dropped for being longer than stations::cluster::kMaxLineBytes.
    int droppedLines() const { return splitter_.droppedLines(); }

  private:
    void Connect();
    void OnConnected();
    void OnReadyRead();
    // The connection broke or could not be made: waits, then connects again.
    void Lost(const QString& reason);
    // Ends the session for good with a status text.
    void Refuse(const QString& text);
    void Take(const QByteArray& rawLine);
    // Types the call or the password at the node's prompt.
    void Answer(const QString& text);
    // The node showed a prompt or a spot: the login went through.
    void LoggedIn();
    void Place(const stations::cluster::Spot& spot, stations::Clock::time_point now);
    void Send(const QByteArray& line);
    void SetStatus(State state, const QString& text);

    stations::StationStore& store_;
    Hooks hooks_;
    Timing timing_;
    Config config_;
    const rotator::network::Functions* network_ = nullptr;
    std::unique_ptr<QObject> owner_;  // owns the module's socket
    QIODevice* socket_ = nullptr;
    QTimer keepAliveTimer_;
    QTimer retryTimer_;
    QTimer connectTimer_;
    stations::cluster::LineSplitter splitter_;
    State state_ = State::kStopped;
    QString status_;
    Counts counts_;
    std::chrono::milliseconds nextRetry_{};  // the wait after the next failure
    int loginAnswers_ = 0;                   // on this connection
};

}  // namespace orbida::live
