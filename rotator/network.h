#pragma once

#include <QIODevice>
#include <QString>
#include <functional>

namespace orbida::rotator::network {

// What the program asks of the network: a TCP connection to the rotator's daemon and, before the
// web map opens, whether the computer is connected. Qt's network library is only loaded with
// them, from a module of the program's own (plugins/liborbida-network.so beside the executable),
// the first time one of them is needed: most sessions never touch the network, and a program
// linked with it carries its libraries (Kerberos and the proxy resolver among them) from the start.

enum class Reachability { kUnknown, kDisconnected, kLocal, kOnline };

// Called on the socket's events, on the thread that owns it.
struct TcpEvents {
    std::function<void()> connected;
    std::function<void()> readyRead;
    std::function<void()> closed;                // the other side closed the connection
    std::function<void(const QString&)> failed;  // French reason
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
};

inline constexpr int kVersion = 1;

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
