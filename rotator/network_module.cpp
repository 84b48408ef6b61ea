// The network module: the only code of the program that uses Qt's network library. Built both as
// liborbida-network.so, loaded on demand by the program, and as objects linked into the tests.
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QTcpSocket>

#include "rotator/network.h"

namespace orbida::rotator::network {
namespace {

QString FailureText(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            return QStringLiteral("connexion refusée");
        case QAbstractSocket::HostNotFoundError:
            return QStringLiteral("hôte introuvable");
        case QAbstractSocket::NetworkError:
            return QStringLiteral("réseau inaccessible");
        default:
            return QStringLiteral("erreur réseau");
    }
}

QIODevice* NewTcp(QObject* parent, const TcpEvents& events) {
    auto* socket = new QTcpSocket(parent);
    // A daemon that floods the line is cut off by the reader long before this fills.
    socket->setReadBufferSize(64 * 1024);
    QObject::connect(socket, &QTcpSocket::connected, socket, events.connected);
    QObject::connect(socket, &QTcpSocket::readyRead, socket, events.readyRead);
    QObject::connect(socket, &QTcpSocket::disconnected, socket, events.closed);
    QObject::connect(socket, &QTcpSocket::errorOccurred, socket,
                     [failed = events.failed](QAbstractSocket::SocketError error) {
                         // A closed connection is followed by disconnected().
                         if (error != QAbstractSocket::RemoteHostClosedError) {
                             failed(FailureText(error));
                         }
                     });
    return socket;
}

void ConnectTcp(QIODevice* socket, const QString& host, quint16 port) {
    static_cast<QTcpSocket*>(socket)->connectToHost(host, port);
}

void AbortTcp(QIODevice* socket) {
    const QSignalBlocker blocker(socket);
    static_cast<QTcpSocket*>(socket)->abort();
}

bool AnyInterfaceUp() {
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : interfaces) {
        const auto flags = i.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) &&
            flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack) && !i.addressEntries().isEmpty()) {
            return true;
        }
    }
    return false;
}

// The system's network information backend (NetworkManager on Linux, the Network List Manager on
// Windows, SystemConfiguration on macOS). Where none loads, as in a container or a desktop
// without NetworkManager, an interface that is up, running, not the loopback and has an address
// counts as a local-network connection.
Reachability GetReachability() {
    static const bool loaded =
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    if (const QNetworkInformation* info = loaded ? QNetworkInformation::instance() : nullptr) {
        switch (info->reachability()) {
            case QNetworkInformation::Reachability::Online:
                return Reachability::kOnline;
            case QNetworkInformation::Reachability::Local:
            case QNetworkInformation::Reachability::Site:
                return Reachability::kLocal;
            case QNetworkInformation::Reachability::Disconnected:
                return Reachability::kDisconnected;
            case QNetworkInformation::Reachability::Unknown:
                break;
        }
    }
    return AnyInterfaceUp() ? Reachability::kLocal : Reachability::kDisconnected;
}

constexpr Functions kFunctions{kVersion, NewTcp, ConnectTcp, AbortTcp, GetReachability};

}  // namespace
}  // namespace orbida::rotator::network

extern "C" const orbida::rotator::network::Functions* orbida_network_functions() {
    return &orbida::rotator::network::kFunctions;
}
