#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QIODevice;

namespace orbida::rotator {

// The byte stream to the daemon, as the client needs it; tests may put another behind it.
// Nothing here waits: every outcome comes back as a signal.
class Socket : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    virtual void ConnectTo(const QString& host, quint16 port) = 0;
    virtual void Write(const QByteArray& bytes) = 0;
    virtual QByteArray ReadAll() = 0;
    // Drops the connection at once, without any signal.
    virtual void Abort() = 0;

  signals:
    void Connected();
    void ReadyRead();
    // The other side closed the connection.
    void Closed();
    // The connection could not be made or broke; the reason is French.
    void Failed(const QString& reason);
};

namespace network {
struct Functions;
}

// A Socket over TCP, through the network module (loaded with the first connection).
class TcpSocket final : public Socket {
    Q_OBJECT

  public:
    explicit TcpSocket(QObject* parent = nullptr);

    void ConnectTo(const QString& host, quint16 port) override;
    void Write(const QByteArray& bytes) override;
    QByteArray ReadAll() override;
    void Abort() override;

  private:
    const network::Functions* functions_ = nullptr;
    QIODevice* socket_ = nullptr;
};

}  // namespace orbida::rotator
