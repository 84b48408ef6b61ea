// The tests' datagram writer (wsjtx_sender.h) against WSJT-X's reference receiver, udp_daemon of
// Debian's wsjtx. (The program reads what it writes in the WSJT-X listener's tests, and its Reply
// is compared there with the writer's.)
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QUdpSocket>

#include "wsjtx_sender.h"

namespace orbida {
namespace {

using test::SentDecode;
using test::SentStatus;
using test::WsjtxSender;

SentDecode Cq() {
    SentDecode d;
    d.message = "CQ K1ABC FN42";
    return d;
}

SentStatus MyStatus() {
    SentStatus s;
    s.deCall = "F4XYZ";
    s.deGrid = "JN18";
    s.dxCall = "K1ABC";
    s.dxGrid = "FN42";
    return s;
}

// What udp_daemon printed, stdout and stderr together, once it saw `until`.
QString RunReferenceReceiver(const std::vector<QByteArray>& datagrams, const QString& until) {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    const quint16 port = probe.localPort();
    probe.close();
    QProcess daemon;
    daemon.setProcessChannelMode(QProcess::MergedChannels);
    daemon.start(QStringLiteral("udp_daemon"), {QStringLiteral("-p"), QString::number(port)});
    if (!daemon.waitForStarted(5000)) {
        return QStringLiteral("udp_daemon did not start");
    }
    QUdpSocket socket;
    socket.bind(QHostAddress::LocalHost, 0);
    // It answers the first Heartbeat of an instance: then it listens.
    const QDeadlineTimer deadline(10000);
    while (!socket.hasPendingDatagrams() && !deadline.hasExpired()) {
        socket.writeDatagram(datagrams.front(), QHostAddress::LocalHost, port);
        socket.waitForReadyRead(100);
    }
    for (const QByteArray& datagram : datagrams) {
        socket.writeDatagram(datagram, QHostAddress::LocalHost, port);
    }
    QString output;
    while (!output.contains(until) && !deadline.hasExpired()) {
        daemon.waitForReadyRead(100);
        output += QString::fromUtf8(daemon.readAll());
    }
    daemon.kill();
    daemon.waitForFinished(5000);
    return output + QString::fromUtf8(daemon.readAll());
}

TEST(WsjtxSender, IsUnderstoodByWsjtxsReferenceReceiver) {
    if (QStandardPaths::findExecutable(QStringLiteral("udp_daemon")).isEmpty()) {
        GTEST_SKIP() << "udp_daemon (Debian's wsjtx) is not installed";
    }
    const WsjtxSender sender("Orbida test");
    SentDecode second = Cq();
    second.message = "F4XYZ G4ABC IO91";
    second.snr = 7;
    second.deltaTime = -1.5;
    second.deltaFrequency = 2890;
    second.lowConfidence = true;
    second.offAir = true;
    second.isNew = false;
    second.time = QTime(23, 59, 30);
    const QString output =
        RunReferenceReceiver({sender.Heartbeat(), sender.Status(MyStatus()), sender.Decode(Cq()),
                              sender.Decode(second), sender.Clear(), sender.Close()},
                             QStringLiteral("Removed WSJT-X instance"));
    const char* expected[] = {
        "Discovered WSJT-X instance: Orbida test(",
        ") v2.6.1 (abc123)",
        "Dial frequency changed to 14074000",
        "Mode changed to FT8",
        R"(new: true t: QTime("12:34:45.000") snr: -12 Dt: 0.3 Df: 1234 mode: "~" Confidence: )"
        "high On air: true",
        "Decoded CQ K1ABC FN42",
        R"(new: false t: QTime("23:59:30.000") snr: 7 Dt: -1.5 Df: 2890 mode: "~" Confidence: )"
        "low On air: false",
        "Decoded F4XYZ G4ABC IO91",
        "Removed WSJT-X instance: Orbida test(",
    };
    for (const char* line : expected) {
        EXPECT_TRUE(output.contains(QString::fromLatin1(line))) << line << "\n"
                                                                << output.toStdString();
    }
}

}  // namespace
}  // namespace orbida
