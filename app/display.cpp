#include "app/display.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QtGlobal>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
#define ORBIDA_PROBE_DISPLAY 1
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#endif

namespace orbida::app {

#ifdef ORBIDA_PROBE_DISPLAY
namespace {

// A connection to a display server that does not answer within this time is left for Qt to judge.
constexpr int kConnectTimeoutMs = 500;

enum class Probe { Answers, Refuses, Unknown };

class Socket {
  public:
    explicit Socket(int fd) : fd_(fd) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int fd() const { return fd_; }

  private:
    int fd_;
};

// Connects without blocking and waits a bounded time: a server whose backlog is full still counts
// as there.
Probe Connect(int family, const sockaddr* address, socklen_t length) {
    const Socket socket(::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.fd() < 0) {
        return Probe::Unknown;
    }
    if (::connect(socket.fd(), address, length) == 0) {
        return Probe::Answers;
    }
    if (errno == EAGAIN) {
        return Probe::Answers;
    }
    if (errno != EINPROGRESS) {
        return Probe::Refuses;
    }
    pollfd waiting{socket.fd(), POLLOUT, 0};
    if (::poll(&waiting, 1, kConnectTimeoutMs) <= 0) {
        return Probe::Unknown;
    }
    int error = 0;
    socklen_t size = sizeof error;
    ::getsockopt(socket.fd(), SOL_SOCKET, SO_ERROR, &error, &size);
    return error == 0 ? Probe::Answers : Probe::Refuses;
}

// abstract: a Linux abstract socket name (no file), which the X server also listens on.
Probe ConnectLocal(const QByteArray& path, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (path.isEmpty() ||
        static_cast<std::size_t>(path.size()) + offset >= sizeof address.sun_path) {
        return Probe::Refuses;
    }
    std::memcpy(address.sun_path + offset, path.constData(), static_cast<std::size_t>(path.size()));
    const auto length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                               static_cast<std::size_t>(path.size()) + (abstract ? 0 : 1));
    return Connect(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), length);
}

Probe ConnectTcp(const QByteArray& host, int port) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const QByteArray service = QByteArray::number(port);
    if (::getaddrinfo(host.constData(), service.constData(), &hints, &found) != 0) {
        return Probe::Refuses;
    }
    Probe result = Probe::Refuses;
    for (const addrinfo* a = found; a != nullptr && result == Probe::Refuses; a = a->ai_next) {
        result = Connect(a->ai_family, a->ai_addr, a->ai_addrlen);
    }
    ::freeaddrinfo(found);
    return result;
}

// An X display name is [host]:number[.screen]; no host (or "unix") means the local socket.
Probe ProbeX(const QString& display) {
    const qsizetype colon = display.lastIndexOf(u':');
    if (colon < 0) {
        return Probe::Refuses;
    }
    const QString host = display.left(colon);
    bool ok = false;
    const int number = display.mid(colon + 1).section(u'.', 0, 0).toInt(&ok);
    if (!ok || number < 0) {
        return Probe::Refuses;
    }
    if (host.startsWith(u'/')) {
        return Probe::Unknown;  // a launcher's socket path: Qt knows what to make of it
    }
    if (host.isEmpty() || host == QStringLiteral("unix")) {
        const QByteArray path = "/tmp/.X11-unix/X" + QByteArray::number(number);
        return ConnectLocal(path, true) == Probe::Answers ? Probe::Answers
                                                          : ConnectLocal(path, false);
    }
    return ConnectTcp(host.toLocal8Bit(), 6000 + number);
}

QString Shown(const char* variable, const QString& value) {
    if (value.isEmpty()) {
        return QCoreApplication::translate("Display", "%1 n'est pas défini")
            .arg(QString::fromLatin1(variable));
    }
    return QCoreApplication::translate("Display", "%1=%2 ne répond pas")
        .arg(QString::fromLatin1(variable), value);
}

}  // namespace

QString NoDisplayReason(const QString& platform, const QString& display) {
    // Qt takes the first window system of the list that works: "wayland;xcb", "xcb:option".
    QString chosen = platform.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : platform;
    const bool explicitChoice = !chosen.trimmed().isEmpty();
    QStringList candidates;
    for (const QString& entry : chosen.split(u';', Qt::SkipEmptyParts)) {
        candidates << entry.section(u':', 0, 0).trimmed();
    }
    candidates.removeAll(QString());
    if (candidates.isEmpty()) {
        candidates = {QStringLiteral("wayland"), QStringLiteral("xcb")};
    }

    QStringList tried;
    for (const QString& candidate : candidates) {
        if (candidate == QStringLiteral("xcb")) {
            const QString x = display.isEmpty() ? qEnvironmentVariable("DISPLAY") : display;
            const Probe probe = x.isEmpty() ? Probe::Refuses : ProbeX(x);
            if (probe != Probe::Refuses) {
                return {};
            }
            tried << Shown(display.isEmpty() ? "DISPLAY" : "-display", x);
        } else if (candidate.startsWith(QStringLiteral("wayland"))) {
            if (qEnvironmentVariableIsSet("WAYLAND_SOCKET")) {
                return {};  // a connection handed over by the launcher
            }
            QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
            const bool named = !name.isEmpty();
            if (!named && explicitChoice) {
                name = QStringLiteral("wayland-0");  // what the Wayland library falls back on
            }
            Probe probe = Probe::Refuses;
            if (!name.isEmpty()) {
                const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
                const QString path = name.startsWith(u'/') ? name : runtime + u'/' + name;
                if (name.startsWith(u'/') || !runtime.isEmpty()) {
                    probe = ConnectLocal(QFile::encodeName(path), false);
                }
            }
            if (probe != Probe::Refuses) {
                return {};
            }
            tried << Shown("WAYLAND_DISPLAY", named ? name : QString());
        } else {
            return {};  // offscreen, eglfs, vnc…: nothing to probe here
        }
    }
    tried.removeDuplicates();
    return QCoreApplication::translate(
               "Display",
               "Orbida\u00A0: aucun écran n'est accessible (%1)\u00A0; lancez-le depuis "
               "une session graphique, ou choisissez un autre affichage avec "
               "QT_QPA_PLATFORM.")
        .arg(tried.join(QStringLiteral(", ")));
}

#else

QString NoDisplayReason(const QString& /*platform*/, const QString& /*display*/) {
    return {};
}

#endif

}  // namespace orbida::app
