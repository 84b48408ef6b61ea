// WSJT-X's messages heard over a real loopback socket: the stations their decodes place, what is
// counted and dropped, the instance's Clear and Close, and the Reply sent back.
#include <gtest/gtest.h>

#include <QTest>
#include <QUdpSocket>
#include <vector>

#include "live/wsjtx_listener.h"
#include "wsjtx_sender.h"

namespace orbida::live {
namespace {

using stations::HeardStation;
using stations::StationKind;
using test::SentDecode;
using test::WsjtxSender;

const stations::Clock::time_point kT0{std::chrono::seconds(1'700'000'000)};
const geodesy::GeoPoint kCountry{10.0, 20.0};

// A listener on a free loopback port, and a socket that plays WSJT-X.
struct Bench {
    stations::StationStore store;
    int changes = 0;
    WsjtxListener listener{store,
                           {[](const QString& call) -> std::optional<geodesy::GeoPoint> {
                                if (call.startsWith(u'Z')) {
                                    return std::nullopt;  // no known country
                                }
                                return kCountry;
                            },
                            [] { return kT0; }, [this] { ++changes; }}};
    QUdpSocket wsjtx;
    quint16 port = 0;

    Bench() {
        QUdpSocket probe;
        probe.bind(QHostAddress::LocalHost, 0);
        port = probe.localPort();
        probe.close();
        EXPECT_EQ(listener.Listen(QStringLiteral("127.0.0.1"), port), QString());
        wsjtx.bind(QHostAddress::LocalHost, 0);
    }
    // Sends the datagrams and waits until the listener has read them all.
    void Send(const std::vector<QByteArray>& datagrams) {
        const std::uint64_t before = listener.counts().datagrams;
        for (const QByteArray& d : datagrams) {
            wsjtx.writeDatagram(d, QHostAddress::LocalHost, port);
        }
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return listener.counts().datagrams == before + datagrams.size(); }, 5000));
    }
    const HeardStation* Find(const QString& call, std::uint64_t* id = nullptr) const {
        const HeardStation* found = nullptr;
        store.ForEach([&](std::uint64_t i, const HeardStation& s) {
            if (s.call == call) {
                found = &s;
                if (id)
                    *id = i;
            }
        });
        return found;
    }
};

test::SentStatus MyStatus() {
    test::SentStatus status;
    status.dialFrequency = 14'074'000;
    status.deCall = "F4XYZ";
    status.deGrid = "JN18";
    return status;
}

// Each decode places its station at its square's centre, or at its country's point when it names
// no square, with the kind of call it is and the dial frequency and mode of the Status before.
TEST(WsjtxListener, PlacesTheDecodedStations) {
    Bench bench;
    const WsjtxSender sender;
    // The decode, its station's call, place (longitude west positive) and kind.
    const struct {
        const char* text;
        const char* call;
        geodesy::GeoPoint position;
        StationKind kind;
    } cases[] = {
        {"CQ DX K1ABC FN42", "K1ABC", {42.5, 71.0}, StationKind::kCqDirected},
        {"F4XYZ G4ABC IO91", "G4ABC", {51.5, 1.0}, StationKind::kCallingMe},
        {"CQ JA1XYZ PM95", "JA1XYZ", {35.5, -139.0}, StationKind::kCq},
        {"W9XYZ VK2ABC QF56", "VK2ABC", {-33.5, -151.0}, StationKind::kOther},
        {"QRZ K9ABC", "K9ABC", kCountry, StationKind::kCq},
    };
    std::vector<QByteArray> datagrams = {sender.Heartbeat(), sender.Status(MyStatus())};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SentDecode decode;
        decode.message = cases[i].text;
        decode.deltaFrequency = static_cast<quint32>(200 + i * 50);
        decode.snr = -20 + static_cast<int>(i);
        datagrams.push_back(sender.Decode(decode));
    }
    bench.Send(datagrams);
    EXPECT_EQ(bench.store.size(), std::size(cases));
    EXPECT_EQ(bench.listener.counts().stations, std::size(cases));
    EXPECT_GT(bench.changes, 0);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.text);
        const HeardStation* s = bench.Find(QString::fromLatin1(c.call));
        ASSERT_NE(s, nullptr);
        EXPECT_NEAR(s->position.latitude, c.position.latitude, 1e-9);
        EXPECT_NEAR(s->position.longitude, c.position.longitude, 1e-9);
        EXPECT_EQ(s->approximate, c.position == kCountry);
        EXPECT_EQ(s->kind, c.kind);
        EXPECT_EQ(s->frequency, 14'074'000u + 200 + i * 50);
        EXPECT_EQ(s->snr, -20 + static_cast<int>(i));
        EXPECT_EQ(s->band, QStringLiteral("20m"));
        EXPECT_EQ(s->mode, QStringLiteral("FT8"));
        EXPECT_EQ(s->instance, "WSJT-X");
        EXPECT_EQ(s->lastHeard, kT0);
    }
}

TEST(WsjtxListener, CountsAndDropsWhatWsjtxNeverSends) {
    Bench bench;
    const WsjtxSender sender;
    SentDecode huge;
    huge.message = "CQ K1ABC FN42 " + QByteArray(65'000, 'x');
    QByteArray noise(1000, '\0');
    for (int i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<char>((static_cast<unsigned>(i) * 2654435761u) >> 13);
    }
    SentDecode cut;
    cut.message = "CQ K1ABC FN42";
    SentDecode nowhere;
    nowhere.message = "CQ ZZ9ZZ";  // no grid, no known country
    bench.Send({sender.Decode(huge), noise, sender.Decode(cut).chopped(3), QByteArray(),
                sender.Decode(nowhere)});
    const auto& counts = bench.listener.counts();
    EXPECT_EQ(counts.huge, 1u);
    EXPECT_EQ(counts.garbage, 2u);
    EXPECT_EQ(counts.truncated, 1u);
    EXPECT_EQ(counts.unplaced, 1u);
    EXPECT_EQ(bench.store.size(), 0u);
    EXPECT_EQ(bench.changes, 0);
}

TEST(WsjtxListener, RepliesToTheInstanceThatDecodedTheStation) {
    Bench bench;
    const WsjtxSender sender("WSJT-X - 2", 2);
    SentDecode cq;
    cq.message = "CQ K1ABC FN42";
    SentDecode toMe;
    toMe.message = "F4XYZ G4ABC IO91";
    bench.Send({sender.Status(MyStatus()), sender.Decode(cq), sender.Decode(toMe)});
    std::uint64_t cqId = 0, toMeId = 0;
    ASSERT_NE(bench.Find(QStringLiteral("K1ABC"), &cqId), nullptr);
    ASSERT_NE(bench.Find(QStringLiteral("G4ABC"), &toMeId), nullptr);

    EXPECT_EQ(bench.listener.SendReply(toMeId),
              QStringLiteral("WSJT-X ne répond qu'à un CQ ou un QRZ"));
    EXPECT_EQ(bench.listener.SendReply(999), QStringLiteral("station disparue"));
    EXPECT_EQ(bench.listener.SendReply(cqId, 0x02), QString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return bench.wsjtx.hasPendingDatagrams(); }, 5000));
    QByteArray reply(1024, '\0');
    QHostAddress from;
    quint16 fromPort = 0;
    reply.resize(bench.wsjtx.readDatagram(reply.data(), reply.size(), &from, &fromPort));
    EXPECT_EQ(reply.toHex(' '), sender.Reply(cq, 0x02).toHex(' '));
    EXPECT_EQ(fromPort, bench.port);
    EXPECT_FALSE(bench.wsjtx.hasPendingDatagrams());

    // A Clear for a window is another program's request to WSJT-X; WSJT-X's own Clear drops its
    // decodes, which it can no longer answer; its Close forgets it.
    const WsjtxSender other("JTDX");
    SentDecode elsewhere;
    elsewhere.message = "CQ W9XYZ EN52";
    bench.Send({other.Decode(elsewhere), sender.Clear() + QByteArray(1, '\2')});
    EXPECT_EQ(bench.store.size(), 3u);
    bench.Send({sender.Clear()});
    EXPECT_EQ(bench.store.size(), 1u);
    ASSERT_NE(bench.Find(QStringLiteral("W9XYZ"), &cqId), nullptr);
    bench.Send({other.Close()});
    EXPECT_EQ(bench.listener.instances().count("JTDX"), 0u);
    EXPECT_EQ(bench.listener.instances().count("WSJT-X - 2"), 1u);
    EXPECT_EQ(bench.listener.SendReply(cqId), QStringLiteral("WSJT-X « JTDX » fermé"));
}

}  // namespace
}  // namespace orbida::live
