#pragma once

// A rotator daemon of the test's own, on a loopback port: it answers like rotctld or misbehaves in
// one chosen way, and records the command lines it receives.
#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <optional>

#include "rotator/protocol.h"

namespace orbida::testing {

class FakeRotctld {
  public:
    enum class Mode { kGood, kSilent, kGarbage, kError, kWrongQuestion, kMidLine, kHugeLine };

    FakeRotctld() {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] { Accept(); });
    }
    quint16 Port() const { return server.serverPort(); }
    // Stops listening: connections to the port are refused.
    void Refuse() { server.close(); }
    void Listen(quint16 port) { server.listen(QHostAddress::LocalHost, port); }

    Mode mode = Mode::kGood;
    QByteArray limits = "min_az=-180.000000\nmax_az=450.000000\n";
    QByteArray azimuth = "10.000000";
    QList<QByteArray> commands;
    int connections = 0;

  private:
    void Accept() {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            ++connections;
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                while (socket->canReadLine()) {
                    Answer(socket, socket->readLine().trimmed());
                }
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }
    void Answer(QTcpSocket* socket, const QByteArray& command) {
        commands.append(command);
        if (mode == Mode::kGood) {
            socket->write(command == "\\dump_state"
                              ? "1\n1\n" + limits + "min_el=0.0\nmax_el=90.0\nrot_type=AzEl\ndone\n"
                          : command == "p" ? azimuth + "\n0.000000\n"
                          : command == "_" ? QByteArray("Fake rotator\n")
                                           : QByteArray("RPRT 0\n"));
            return;
        }
        const char* faults[] = {"", "", "\xff\xfe<html>\n", "RPRT -5\n", "RPRT 0\n", "1\n1\nmin_a"};
        socket->write(mode == Mode::kHugeLine ? QByteArray(1 << 20, 'x') + "\n"
                                              : QByteArray(faults[static_cast<int>(mode)]));
        if (mode == Mode::kMidLine) {
            socket->disconnectFromHost();
        }
    }

    QTcpServer server;
};

// The azimuth that a rotator daemon listening on a loopback port reports, asked on a connection
// of the caller's own; std::nullopt while it does not answer.
inline std::optional<double> DaemonAzimuth(quint16 port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(500)) {
        return std::nullopt;
    }
    socket.write("p\n");
    QByteArray answer;
    while (answer.count('\n') < 2 && socket.waitForReadyRead(1000)) {
        answer += socket.readAll();
    }
    return rotator::ParseNumber(answer.left(answer.indexOf('\n')).toStdString());
}

}  // namespace orbida::testing
