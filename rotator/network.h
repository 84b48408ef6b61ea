#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

namespace orbida::rotator::network {

// What the program asks of the network: a TCP connection to the rotator's daemon, a UDP socket
// for WSJT-X's messages and, before the web map opens, whether the computer is connected. Qt's
// network library is only loaded with them, from a module of the program's own
// (plugins/liborbida-network.so beside the executable), the first time one of them is needed: most
// sessions never touch the network, and a program linked with it carries its libraries (Kerberos
// and the proxy resolver among them) from the start.

enum class Reachability { kUnknown, kDisconnected, kLocal, kOnline };

// Called on the socket's events, on the thread that owns it.
struct TcpEvents {
    std::function<void()> connected;
    std::function<void()> readyRead;
    std::function<void()> closed;                // the other side closed the connection
    std::function<void(const QString&)> failed;  // French reason
};

// The largest datagram read: UDP's own limit. A bigger one (an IPv6 jumbogram) is dropped unread
// rather than handed over cut.
inline constexpr qsizetype kMaxDatagramBytes = 64 * 1024;

// Called for each datagram a UDP socket receives, whole, with the sender's address and port.
struct UdpEvents {
    std::function<void(const QString& address, quint16 port, const QByteArray& datagram)> datagram;
};

struct Functions {
    int version;
    // A TCP socket, child of parent, reporting to events. Reading and writing are QIODevice's.
    QIODevice* (*newTcp)(QObject* parent, const TcpEvents& events);
    void (*connectTcp)(QIODevice* socket, const QString& host, quint16 port);
    // Drops the connection at once, without any event.
    void (*abortTcp)(QIODevice* socket);
    // Asks the system's network information backend, else whether an interface is up.
    Reachability (*reachability)();

    // A UDP socket, child of parent, reporting to events once bound.
    QObject* (*newUdp)(QObject* parent, const UdpEvents& events);
    // Binds to a local address ("127.0.0.1", "::1", "0.0.0.0") and port, no other program
    // sharing it; or, for a multicast group ("239.255.0.1", "ff02::1"), to the port on every
    // address, shared with the other programs that listen to the group, and joins the group on
    // every interface that is up and can. Empty when bound, else why not in French ("port 2237
    // déjà utilisé").
    QString (*bindUdp)(QObject* socket, const QString& address, quint16 port);
    // Sends one datagram from the socket (bound or not) to an address and port. Empty when sent,
    // else why not in French.
    QString (*sendUdp)(QObject* socket, const QString& address, quint16 port,
                       const QByteArray& datagram);
};

inline constexpr int kVersion = 2;

// The functions, from the code linked into the program when it is (tests), else from the module
// of the program's folder, loaded on the first call. Null when the module cannot be loaded; why
// then says so in French.
const Functions* Load(QString* why);

// The module of programFolder, loaded now, whatever is linked in. Null when it cannot be loaded
// or is of another version (why says which; the loader's own words go to the terminal).
const Functions* LoadFrom(const QString& programFolder, QString* why);

}  // namespace orbida::rotator::network

// The module's one entry point.
extern "C" const orbida::rotator::network::Functions* orbida_network_functions();
