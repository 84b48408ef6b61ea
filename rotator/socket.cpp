#include "rotator/socket.h"

#include <QTcpSocket>

namespace orbida::rotator {

TcpSocket::TcpSocket(QObject* parent) : Socket(parent), socket_(new QTcpSocket(this)) {
    // A daemon that floods the line is cut off by the reader long before this fills.
    socket_->setReadBufferSize(64 * 1024);
    connect(socket_, &QTcpSocket::connected, this, &Socket::Connected);
    connect(socket_, &QTcpSocket::readyRead, this, &Socket::ReadyRead);
    connect(socket_, &QTcpSocket::disconnected, this, &Socket::Closed);
    connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        switch (error) {
            case QAbstractSocket::RemoteHostClosedError:
                break;  // followed by disconnected()
            case QAbstractSocket::ConnectionRefusedError:
                emit Failed(QStringLiteral("connexion refusée"));
                break;
            case QAbstractSocket::HostNotFoundError:
                emit Failed(QStringLiteral("hôte introuvable"));
                break;
            case QAbstractSocket::NetworkError:
                emit Failed(QStringLiteral("réseau inaccessible"));
                break;
            default:
                emit Failed(QStringLiteral("erreur réseau"));
                break;
        }
    });
}

void TcpSocket::ConnectTo(const QString& host, quint16 port) {
    Abort();
    socket_->connectToHost(host, port);
}

void TcpSocket::Write(const QByteArray& bytes) {
    socket_->write(bytes);
}

QByteArray TcpSocket::ReadAll() {
    return socket_->readAll();
}

void TcpSocket::Abort() {
    const QSignalBlocker blocker(socket_);
    socket_->abort();
}

}  // namespace orbida::rotator
