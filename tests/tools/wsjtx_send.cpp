// Sends WSJT-X's datagrams, as the tests write them, to a port on 127.0.0.1: a Heartbeat, a
// Status, then decodes of stations calling CQ from squares around the world, for trying the
// program by hand and for its screenshots.
//
//   wsjtx_send PORT [COUNT [RATE]]   (COUNT decodes, 50 by default, "CQ K1ABC FN42" first;
//                                     RATE a second, all at once without)
#include <QCoreApplication>
#include <QUdpSocket>
#include <chrono>
#include <cstdio>
#include <thread>

#include "../wsjtx_sender.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const quint16 port = args.size() > 1 ? static_cast<quint16>(args[1].toUInt(&ok)) : 0;
    if (!ok || port == 0) {
        std::fprintf(stderr, "usage: wsjtx_send PORT [COUNT]\n");
        return 2;
    }
    const int count = args.size() > 2 ? args[2].toInt() : 50;
    const double rate = args.size() > 3 ? args[3].toDouble() : 0.0;
    const auto start = std::chrono::steady_clock::now();
    const orbida::test::WsjtxSender sender;
    QUdpSocket socket;
    const auto send = [&](const QByteArray& datagram) {
        socket.writeDatagram(datagram, QHostAddress::LocalHost, port);
        socket.waitForBytesWritten(100);
    };
    orbida::test::SentStatus status;
    status.deCall = "F4ABC";
    status.deGrid = "JN18";
    send(sender.Heartbeat());
    send(sender.Status(status));
    const char* const grids[] = {"EM73", "IO91", "PM95", "QF56", "GG66", "KP20", "DM04",
                                 "OL72", "FK68", "KG43", "RE68", "BL11", "NO16", "HK96"};
    const char* const kinds[] = {"CQ", "CQ DX", "CQ", "F4ABC", "G4XYZ"};
    for (int i = 0; i < count; ++i) {
        orbida::test::SentDecode d;
        d.snr = -24 + (i * 7) % 34;
        if (i == 0) {
            d.message = "CQ K1ABC FN42";
        } else {
            const QByteArray call = "T" + QByteArray::number(i) + "ST";
            d.message = QByteArray(kinds[i % 5]) + ' ' + call + ' ' + grids[i % 14];
        }
        if (rate > 0.0) {
            std::this_thread::sleep_until(start +
                                          std::chrono::duration_cast<std::chrono::nanoseconds>(
                                              std::chrono::duration<double>(i / rate)));
        }
        send(sender.Decode(d));
    }
    return 0;
}
