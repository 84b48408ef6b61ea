// The tests' datagram writer (wsjtx_sender.h) against WSJT-X's reference receiver, udp_daemon of
// Debian's wsjtx, and against the program's own reader and writer.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QUdpSocket>

#include "stations/wsjtx_message.h"
#include "wsjtx_sender.h"

namespace orbida {
namespace {

using namespace stations::wsjtx;
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

TEST(WsjtxSender, IsReadByTheProgramAsWritten) {
    SentDecode low = Cq();
    low.lowConfidence = true;
    low.offAir = true;
    low.time = QTime();
    low.snr = -24;
    for (const quint32 schema : {2u, 3u}) {
        const WsjtxSender sender("WSJT-X - 2", schema);
        const Parsed heartbeat = Parse(sender.Heartbeat());
        const Parsed status = Parse(sender.Status(MyStatus()));
        const Parsed decode = Parse(sender.Decode(low));
        const Parsed clear = Parse(sender.Clear());
        const Parsed close = Parse(sender.Close());
        for (const Parsed* p : {&heartbeat, &status, &decode, &clear, &close}) {
            ASSERT_TRUE(p->ok());
            EXPECT_EQ(p->message.schema, schema);
            EXPECT_EQ(p->message.id, "WSJT-X - 2");
        }
        EXPECT_EQ(std::get<Heartbeat>(heartbeat.message.body), (Heartbeat{3, "2.6.1", "abc123"}));
        const auto& s = std::get<Status>(status.message.body);
        EXPECT_EQ(s.dialFrequency, 14'074'000u);
        EXPECT_EQ(s.deCall + s.deGrid + s.dxCall + s.dxGrid, "F4XYZJN18K1ABCFN42");
        EXPECT_EQ(s.trPeriod, 15u);
        const auto& d = std::get<Decode>(decode.message.body);
        EXPECT_EQ(d, (Decode{true, QTime(), -24, 0.3, 1234, "~", "CQ K1ABC FN42", true, true}));
        EXPECT_EQ(std::get<Clear>(clear.message.body), Clear{});
        EXPECT_TRUE(std::holds_alternative<Close>(close.message.body));

        // The program's Reply to the decode is the one the writer makes.
        Message reply;
        reply.schema = schema;
        reply.id = decode.message.id;
        reply.body = ReplyTo(d, 0x02);
        EXPECT_EQ(Encode(reply).toHex(), sender.Reply(low, 0x02).toHex());
    }
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
