#include "rotator/socket.h"

#include <QTimer>

#include "rotator/network.h"

namespace orbida::rotator {

TcpSocket::TcpSocket(QObject* parent) : Socket(parent) {}

void TcpSocket::ConnectTo(const QString& host, quint16 port) {
    Abort();
    if (socket_ == nullptr) {
        QString why;
        functions_ = network::Load(&why);
        if (functions_ == nullptr) {
            // Reported from the event loop, as any failure to connect.
            QTimer::singleShot(0, this, [this, why] { emit Failed(why); });
            return;
        }
        network::TcpEvents events;
        events.connected = [this] { emit Connected(); };
        events.readyRead = [this] { emit ReadyRead(); };
        events.closed = [this] { emit Closed(); };
        events.failed = [this](const QString& reason) { emit Failed(reason); };
        socket_ = functions_->newTcp(this, events);
    }
    functions_->connectTcp(socket_, host, port);
}

void TcpSocket::Write(const QByteArray& bytes) {
    if (socket_ != nullptr) {
        socket_->write(bytes);
    }
}

QByteArray TcpSocket::ReadAll() {
    return socket_ != nullptr ? socket_->readAll() : QByteArray();
}

void TcpSocket::Abort() {
    if (socket_ != nullptr) {
        functions_->abortTcp(socket_);
    }
}

}  // namespace orbida::rotator
