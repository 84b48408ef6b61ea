#include "rotator/client.h"

#include <QCoreApplication>
#include <cmath>

#include "rotator/reason_text.h"

namespace orbida::rotator {
namespace {

double AsCourse(double azimuth) {
    double course = std::fmod(azimuth, 360.0);
    if (course < 0.0) {
        course += 360.0;
    }
    return course >= 360.0 ? 0.0 : course;
}

// Degrees as the window writes azimuths: whole degrees, rounded down.
QString Degrees(double value) {
    return QString::number(static_cast<long long>(std::floor(value))) + QStringLiteral(" °");
}

// The rotator counts as arrived within this many degrees of the azimuth sent, or once its azimuth
// has not changed for kStillPolls readings.
constexpr double kArrivedDeg = 1.0;
constexpr double kStillDeg = 0.05;
constexpr int kStillPolls = 4;

}  // namespace

Client::Client(QObject* parent) : Client(new TcpSocket, parent) {}

Client::Client(Socket* socket, QObject* parent) : QObject(parent), socket_(socket) {
    socket_->setParent(this);
    for (QTimer* timer : {&connectTimer_, &replyTimer_, &pollTimer_}) {
        timer->setSingleShot(true);
    }
    connectTimer_.setInterval(kConnectTimeoutMs);
    replyTimer_.setInterval(kReplyTimeoutMs);
    pollTimer_.setInterval(kPollIntervalMs);
    connect(&connectTimer_, &QTimer::timeout, this,
            [this] { Fail(QCoreApplication::translate("Rotator", "pas de réponse")); });
    connect(&replyTimer_, &QTimer::timeout, this,
            [this] { Fail(QCoreApplication::translate("Rotator", "pas de réponse")); });
    connect(&pollTimer_, &QTimer::timeout, this, [this] {
        pollDue_ = true;
        Next();
    });
    connect(socket_, &Socket::Connected, this, &Client::OnConnected);
    connect(socket_, &Socket::ReadyRead, this, &Client::OnReadyRead);
    connect(socket_, &Socket::Closed, this, &Client::OnClosed);
    connect(socket_, &Socket::Failed, this, &Client::Fail);
}

Client::~Client() {
    disconnect(socket_, nullptr, this, nullptr);
    socket_->Abort();
}

bool Client::Busy() const {
    return connectTimer_.isActive() || replyTimer_.isActive() || pollTimer_.isActive();
}

void Client::SetAddress(const QString& host, quint16 port) {
    if (host.trimmed() == host_ && port == port_) {
        return;
    }
    Disconnect();
    host_ = host.trimmed();
    port_ = port;
}

void Client::DropConnection() {
    socket_->Abort();
    connectTimer_.stop();
    replyTimer_.stop();
    pollTimer_.stop();
    reader_.Reset();
    inFlight_ = Step::kNone;
    pendingCourse_.reset();
    pendingStop_ = false;
    heading_.reset();
}

void Client::Disconnect() {
    DropConnection();
    pendingTest_ = false;
    notice_.clear();
    SetState(State::kDisconnected);
}

void Client::Connect() {
    if (host_.isEmpty() || Connected() || state_ == State::kConnecting) {
        return;
    }
    reader_.Reset();
    inFlight_ = Step::kNone;
    limits_.reset();
    azimuth_.reset();
    heading_.reset();
    targetTenths_.reset();
    model_ = 0;
    info_.clear();
    pollDue_ = false;
    SetState(State::kConnecting);
    connectTimer_.start();
    socket_->ConnectTo(host_, port_);
}

void Client::TurnTo(double courseDeg) {
    // A course that is not a number points nowhere: nothing to turn to.
    if (host_.isEmpty() || !std::isfinite(courseDeg)) {
        return;
    }
    notice_.clear();
    pendingCourse_ = courseDeg;
    pendingStop_ = false;
    Connect();
    Next();
}

void Client::Stop() {
    if (host_.isEmpty()) {
        return;
    }
    notice_.clear();
    pendingCourse_.reset();
    pendingStop_ = true;
    Connect();
    Next();
}

void Client::Test() {
    if (host_.isEmpty()) {
        emit TestFinished(false, QCoreApplication::translate("Rotator", "aucune adresse"));
        return;
    }
    pendingTest_ = true;
    testInfoAsked_ = false;
    Connect();
    Next();
}

void Client::OnConnected() {
    if (state_ != State::kConnecting) {
        return;
    }
    connectTimer_.stop();
    Ask(Step::kState, Question::kDumpState, QByteArrayLiteral("\\dump_state\n"));
}

void Client::OnReadyRead() {
    const QByteArray bytes = socket_->ReadAll();
    if (state_ == State::kDisconnected || state_ == State::kFailed) {
        return;
    }
    const auto status =
        reader_.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (status == ReplyReader::Status::kFailed) {
        Fail(ReasonText(reader_.reason()));
    } else if (status == ReplyReader::Status::kComplete) {
        replyTimer_.stop();
        const Step step = inFlight_;
        inFlight_ = Step::kNone;
        Handle(step, reader_.Take());
    }
}

void Client::OnClosed() {
    if (state_ == State::kDisconnected || state_ == State::kFailed) {
        return;
    }
    const bool broken = reader_.Close() == ReplyReader::Status::kFailed;
    Fail(broken ? ReasonText(reader_.reason())
                : QCoreApplication::translate("Rotator",
                                              "pas de réponse (connexion fermée par le rotor)"));
}

void Client::Fail(const QString& reason) {
    DropConnection();
    failure_ = reason;
    const bool testing = pendingTest_;
    pendingTest_ = false;
    SetState(State::kFailed);
    if (testing) {
        emit TestFinished(false, reason);
    }
}

void Client::Ask(Step step, Question question, const QByteArray& line) {
    inFlight_ = step;
    reader_.Expect(question);
    replyTimer_.start();
    socket_->Write(line);
}

void Client::Next() {
    if (inFlight_ != Step::kNone || !Connected()) {
        return;
    }
    if (pendingStop_) {
        pendingStop_ = false;
        Ask(Step::kStop, Question::kCommand, QByteArrayLiteral("S\n"));
    } else if (pendingCourse_) {
        const double course = *pendingCourse_;
        pendingCourse_.reset();
        const std::optional<long long> tenths = AzimuthTenths(course, *limits_, *azimuth_);
        if (!tenths) {
            notice_ = QCoreApplication::translate("Rotator", "azimut %1 hors de portée (%2…%3)")
                          .arg(Degrees(AsCourse(course)), Degrees(limits_->minAzimuth),
                               Degrees(limits_->maxAzimuth));
            UpdateText();
            Next();
            return;
        }
        sentTenths_ = *tenths;
        Ask(Step::kSetPosition, Question::kCommand,
            QByteArray::fromStdString(SetPositionCommand(*tenths, LevelElevation(*limits_))));
    } else if (pendingTest_ && !testInfoAsked_) {
        testInfoAsked_ = true;
        Ask(Step::kInfo, Question::kInfo, QByteArrayLiteral("_\n"));
    } else if (pollDue_) {
        pollDue_ = false;
        Ask(Step::kPosition, Question::kPosition, QByteArrayLiteral("p\n"));
    } else if (!pollTimer_.isActive()) {
        pollTimer_.start();
    }
}

void Client::Handle(Step step, const Reply& reply) {
    switch (step) {
        case Step::kNone:
            break;
        case Step::kState:
            limits_ = reply.limits;
            model_ = reply.model;
            Ask(Step::kPosition, Question::kPosition, QByteArrayLiteral("p\n"));
            return;
        case Step::kInfo:
            info_ = QString::fromUtf8(reply.info).trimmed();
            pollDue_ = true;  // the test reports a fresh azimuth
            break;
        case Step::kSetPosition:
            targetTenths_ = sentTenths_;
            stillPolls_ = 0;
            SetState(State::kMoving);
            break;
        case Step::kStop:
            targetTenths_.reset();
            SetState(State::kReady);
            break;
        case Step::kPosition: {
            const double previous = azimuth_.value_or(reply.azimuth);
            azimuth_ = reply.azimuth;
            const double course = AsCourse(reply.azimuth);
            const bool changed = !heading_ || *heading_ != course;
            heading_ = course;
            if (state_ == State::kMoving) {
                stillPolls_ = std::abs(reply.azimuth - previous) < kStillDeg ? stillPolls_ + 1 : 0;
                const double target = static_cast<double>(*targetTenths_) / 10.0;
                if (std::abs(reply.azimuth - target) <= kArrivedDeg || stillPolls_ >= kStillPolls) {
                    targetTenths_.reset();
                    SetState(State::kReady);
                }
            } else {
                SetState(State::kReady);
            }
            UpdateText();
            if (changed) {
                emit HeadingChanged(course);
            }
            if (pendingTest_ && testInfoAsked_) {
                pendingTest_ = false;
                const QString model =
                    info_.isEmpty()
                        ? QCoreApplication::translate("Rotator", "modèle n° %1").arg(model_)
                        : info_;
                emit TestFinished(true,
                                  QStringLiteral("%1, azimut %2").arg(model, Degrees(course)));
            }
            break;
        }
    }
    Next();
}

void Client::SetState(State state) {
    state_ = state;
    UpdateText();
}

void Client::UpdateText() {
    QString text;
    switch (state_) {
        case State::kDisconnected:
            break;
        case State::kConnecting:
            text = QStringLiteral("Rotor : connexion…");
            break;
        case State::kReady:
        case State::kMoving:
            text = heading_ ? QStringLiteral("Rotor ") + Degrees(*heading_)
                            : QStringLiteral("Rotor : connexion…");
            if (!notice_.isEmpty()) {
                text += QStringLiteral(" : ") + notice_;
            }
            break;
        case State::kFailed:
            text = QStringLiteral("Rotor : ") + failure_;
            break;
    }
    if (text != statusText_ || state_ != emittedState_) {
        statusText_ = text;
        emittedState_ = state_;
        emit StatusChanged(state_, statusText_);
    }
}

}  // namespace orbida::rotator
