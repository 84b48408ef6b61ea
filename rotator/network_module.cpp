// The network module: the only code of the program that uses Qt's network library. Built both as
// liborbida-network.so, loaded on demand by the program, and as objects linked into the tests.
#include <QCoreApplication>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QTcpSocket>
#include <QUdpSocket>

#include "rotator/network.h"

namespace orbida::rotator::network {
namespace {

QString FailureText(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            return QCoreApplication::translate("Rotator", "connexion refusée");
        case QAbstractSocket::HostNotFoundError:
            return QCoreApplication::translate("Rotator", "hôte introuvable");
        case QAbstractSocket::NetworkError:
            return QCoreApplication::translate("Rotator", "réseau inaccessible");
        default:
            return QCoreApplication::translate("Rotator", "erreur réseau");
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

QString BindFailureText(const QUdpSocket& socket, const QString& address, quint16 port) {
    switch (socket.error()) {
        case QAbstractSocket::AddressInUseError:
            return QCoreApplication::translate("Rotator", "port %1 déjà utilisé").arg(port);
        case QAbstractSocket::SocketAccessError:
            return QStringLiteral("port %1 interdit").arg(port);
        case QAbstractSocket::SocketAddressNotAvailableError:
            return QCoreApplication::translate("Rotator", "adresse %1 absente de cet ordinateur")
                .arg(address);
        default:
            return QCoreApplication::translate("Rotator", "écoute impossible sur %1 port %2")
                .arg(address)
                .arg(port);
    }
}

QObject* NewUdp(QObject* parent, const UdpEvents& events) {
    auto* socket = new QUdpSocket(parent);
    QObject::connect(socket, &QUdpSocket::readyRead, socket, [socket, received = events.datagram] {
        QByteArray buffer;
        while (socket->hasPendingDatagrams()) {
            QHostAddress sender;
            quint16 port = 0;
            const qint64 size = socket->pendingDatagramSize();
            if (size < 0 || size > kMaxDatagramBytes) {
                socket->readDatagram(nullptr, 0);  // drops it
                continue;
            }
            buffer.resize(size);
            const qint64 read = socket->readDatagram(buffer.data(), size, &sender, &port);
            if (read != size) {
                continue;
            }
            // An IPv4 sender seen through a dual-stack socket is named as IPv4.
            bool isV4 = false;
            const quint32 v4 = sender.toIPv4Address(&isV4);
            received(isV4 ? QHostAddress(v4).toString() : sender.toString(), port, buffer);
        }
    });
    return socket;
}

QString BindUdp(QObject* object, const QString& address, quint16 port) {
    auto* socket = static_cast<QUdpSocket*>(object);
    const QHostAddress host(address);
    if (host.isNull()) {
        return QCoreApplication::translate("Rotator", "adresse invalide : %1").arg(address);
    }
    if (!host.isMulticast()) {
        // Unicast: a second listener on the port would take the datagrams from the first.
        return socket->bind(host, port, QAbstractSocket::DontShareAddress)
                   ? QString()
                   : BindFailureText(*socket, address, port);
    }
    const bool v4 = host.protocol() == QAbstractSocket::IPv4Protocol;
    if (!socket->bind(
            v4 ? QHostAddress(QHostAddress::AnyIPv4) : QHostAddress(QHostAddress::AnyIPv6), port,
            QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        return BindFailureText(*socket, address, port);
    }
    // Joined on each interface, not only the one the routing table names for the group: WSJT-X
    // may send from any of them, the loopback included.
    int joined = 0;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : interfaces) {
        const auto flags = i.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) &&
            flags.testFlag(QNetworkInterface::CanMulticast) &&
            socket->joinMulticastGroup(host, i)) {
            ++joined;
        }
    }
    if (joined == 0) {
        socket->close();
        return QCoreApplication::translate("Rotator",
                                           "aucune interface ne peut rejoindre le groupe %1")
            .arg(address);
    }
    return {};
}

QString SendUdp(QObject* object, const QString& address, quint16 port, const QByteArray& datagram) {
    auto* socket = static_cast<QUdpSocket*>(object);
    const QHostAddress host(address);
    if (host.isNull()) {
        return QCoreApplication::translate("Rotator", "adresse invalide : %1").arg(address);
    }
    if (socket->writeDatagram(datagram, host, port) != datagram.size()) {
        return QCoreApplication::translate("Rotator", "envoi impossible vers %1 port %2")
            .arg(address)
            .arg(port);
    }
    return {};
}

constexpr Functions kFunctions{kVersion,        NewTcp, ConnectTcp, AbortTcp,
                               GetReachability, NewUdp, BindUdp,    SendUdp};

}  // namespace
}  // namespace orbida::rotator::network

extern "C" const orbida::rotator::network::Functions* orbida_network_functions() {
    return &orbida::rotator::network::kFunctions;
}
