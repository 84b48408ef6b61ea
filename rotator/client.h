#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

#include "rotator/protocol.h"
#include "rotator/socket.h"

namespace orbida::rotator {

// The client of a rotator daemon (Hamlib's rotctld). It connects when a command needs it, reads
// the rotator's limits once per connection, sends each course as an azimuth inside them, and
// follows the rotator's azimuth while connected. Nothing waits: every step is a signal or a timer,
// and each has a time limit. A fault drops the connection with a French reason; the next command
// connects again.
class Client : public QObject {
    Q_OBJECT

  public:
    enum class State { kDisconnected, kConnecting, kReady, kMoving, kFailed };
    Q_ENUM(State)

    static constexpr int kConnectTimeoutMs = 2000;
    static constexpr int kReplyTimeoutMs = 2000;
    // The azimuth is asked at most this often, and only while connected.
    static constexpr int kPollIntervalMs = 500;

    explicit Client(QObject* parent = nullptr);
    // Takes a socket of the caller's (tests); it becomes the client's child.
    explicit Client(Socket* socket, QObject* parent = nullptr);
    ~Client() override;

    // Where the daemon listens. A new address drops the current connection; an empty host means
    // no rotator.
    void SetAddress(const QString& host, quint16 port);
    QString Host() const { return host_; }
    quint16 Port() const { return port_; }

    // Connects (if not connected) and follows the azimuth.
    void Connect();
    // Turns the rotator to a course in degrees (any value, taken modulo 360).
    void TurnTo(double courseDeg);
    void Stop();
    // Connects if needed, then reads the model's name and the azimuth: TestFinished.
    void Test();
    // Drops the connection; nothing runs afterwards.
    void Disconnect();

    State state() const { return state_; }
    QString StatusText() const { return statusText_; }
    // The rotator's azimuth as a course, 0 ≤ a < 360, once read on this connection.
    std::optional<double> Heading() const { return heading_; }
    // Whether any timer runs (for tests: nothing should while disconnected).
    bool Busy() const;

  signals:
    void HeadingChanged(double courseDeg);
    void StatusChanged(orbida::rotator::Client::State state, const QString& text);
    // ok: text is "model, azimuth"; otherwise the reason, in French.
    void TestFinished(bool ok, const QString& text);

  private:
    enum class Step { kNone, kState, kPosition, kInfo, kSetPosition, kStop };

    void OnConnected();
    void OnReadyRead();
    void OnClosed();
    void Fail(const QString& reason);
    // Closes the socket, stops the timers and forgets the exchange under way.
    void DropConnection();
    void Ask(Step step, Question question, const QByteArray& line);
    void Next();
    void Handle(Step step, const Reply& reply);
    void SetState(State state);
    void UpdateText();
    bool Connected() const { return state_ == State::kReady || state_ == State::kMoving; }

    Socket* socket_;
    QTimer connectTimer_;
    QTimer replyTimer_;
    QTimer pollTimer_;
    ReplyReader reader_;
    QString host_;
    quint16 port_ = 4533;
    State state_ = State::kDisconnected;
    QString statusText_;
    State emittedState_ = State::kDisconnected;
    QString failure_;
    QString notice_;  // a course that could not be sent, until the next command

    // Per connection.
    Step inFlight_ = Step::kNone;
    std::optional<Limits> limits_;
    std::optional<double> azimuth_;  // as the rotator counts it (may be negative or past 360)
    std::optional<double> heading_;
    int model_ = 0;
    QString info_;
    std::optional<long long> targetTenths_;
    long long sentTenths_ = 0;
    int stillPolls_ = 0;

    // Waiting for the connection or for the question in flight.
    std::optional<double> pendingCourse_;
    bool pendingStop_ = false;
    bool pendingTest_ = false;
    bool testInfoAsked_ = false;
    bool pollDue_ = false;
};

}  // namespace orbida::rotator
