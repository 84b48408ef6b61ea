// A DX cluster session against a node of the test's own on a loopback port: the login of each kind
// of node, the spots that become stations, the refusals that end the session, the reconnection
// after a lost connection, the keep-alive and a node that floods the line.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <vector>

#include "fake_node.h"
#include "live/cluster_session.h"

namespace orbida::live {
namespace {

using namespace std::chrono_literals;
using State = ClusterSession::State;
using stations::HeardStation;
using testing::FakeNode;

constexpr std::int64_t kNow = 1796731240;  // 2026-12-08T12:00:40Z

// Countries by the call's first letter, longitude west positive; Q has none.
std::optional<geodesy::GeoPoint> Country(const QString& call) {
    if (call.startsWith(u'Q')) {
        return std::nullopt;
    }
    return call.startsWith(u'J')   ? geodesy::GeoPoint{36.0, -138.0}
           : call.startsWith(u'K') ? geodesy::GeoPoint{40.0, 100.0}
                                   : geodesy::GeoPoint{48.0, -2.0};
}

struct Bench {
    stations::StationStore store;
    QStringList statuses;
    std::vector<std::chrono::milliseconds> delays;  // the session's retry delay at each status
    int changes = 0;
    ClusterSession session;

    explicit Bench(ClusterSession::Timing timing = {})
        : session(store,
                  {Country, [] { return stations::Clock::time_point(std::chrono::seconds(kNow)); },
                   [this] { ++changes; },
                   [this](const QString& text) {
                       statuses << text;
                       delays.push_back(session.retryDelay());
                   }},
                  timing) {}
    void Start(quint16 port, const QString& password = {}) {
        ASSERT_EQ(session.Start(
                      {QStringLiteral("127.0.0.1"), port, QStringLiteral(" f4abc-2"), password}),
                  QString());
    }
    bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
        return QTest::qWaitFor(done, ms);
    }
    qsizetype Refusals() const {
        return statuses.count(QStringLiteral("cluster : connexion refusée"));
    }
    const HeardStation* Find(const QString& call) const {
        const HeardStation* found = nullptr;
        store.ForEach([&](std::uint64_t, const HeardStation& s) {
            if (s.call == call) {
                found = &s;
            }
        });
        return found;
    }
};

const QByteArray kDxSpiderWelcome =
    "Hello Jean, this is GB7MBC in London\r\nrunning DXSpider V1.57\r\n"
    "Cluster: 392 nodes, 12 local / 2810 total users\r\n"
    "F4ABC-2 de GB7MBC  8-Dec-2026 1200Z dxspider >\r\n";

// What a node sends once logged in: spots of placed stations (one cut across two writes, one
// dressed in bells and colours, two out of band, one dated yesterday), one of a call whose
// country is unknown, and lines that are no spots.
struct Expected {
    const char* call;
    const char* band;
    std::uint64_t hertz;
};
const Expected kExpected[] = {{"JA1ABC", "20m", 14025000},
                              {"VK2XYZ", "15m", 21074000},
                              {"G3SXW", "40m", 7005000},
                              {"KH6LC", "20m", 14080000},
                              {"XX9AA", "", 0},
                              {"3B8CF", "", 14500000},
                              {"JW7QIA", "20m", 14013000}};
std::vector<FakeNode::Step> Spots() {
    return {
        {"DX de W3LPL:     14025.0  JA1ABC       CW 599                         1159Z\r\n"
         "WWV de W0MU <18>:   SFI=68, A=8, K=2, No Storms -> No Storms\r\n"
         "DX de DL1ABC-2:  21074.0  VK2XYZ       FT8 -12 dB                     1157Z JF88\r\n"
         "To ALL de SV5FRI: QSL via LoTW only please\r\n"
         "DX de DJ1AA:     14020.0  QQ1ZZ        unknown country                1145Z\r\n"
         "DX de DL8ABC: 70"},
        {"05.0  G3SXW        CW                             1144Z\r\n", {}, 100},
        {"\a\a\x1b[1mDX de W6XX:      14080.0  KH6LC        RTTY\x1b[0m        1143Z\r\n"
         "DX de K1TTT:         0.0  XX9AA        ?                              1141Z\r\n"
         "DX de EA3XYZ:    14500.0  3B8CF        pirate?                        1140Z\r\n"
         "DX de LA1ABC:    14013.0  JW7QIA       CW                             1230Z\r\n"
         "F4ABC-2 de GB7MBC  8-Dec-2026 1201Z dxspider >\r\n"},
    };
}

std::vector<FakeNode::Step> Login(const QByteArray& prompt, const QByteArray& welcome,
                                  const QByteArray& passwordPrompt = {},
                                  const QByteArray& password = {}) {
    std::vector<FakeNode::Step> steps = {{prompt}};
    if (passwordPrompt.isEmpty()) {
        steps.push_back({welcome, "F4ABC-2\r\n"});
    } else {
        steps.push_back({passwordPrompt, "F4ABC-2\r\n"});
        steps.push_back({welcome, password + "\r\n"});
    }
    return steps;
}

std::vector<FakeNode::Step> Then(std::vector<FakeNode::Step> a,
                                 const std::vector<FakeNode::Step>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ClusterSession, LogsInToEachKindOfNodeAndPlacesTheSpottedStations) {
    struct Case {
        const char* name;
        std::vector<FakeNode::Step> login;
        QString password;
        QByteArray typed;
    };
    const Case cases[] = {
        {"DX Spider", Login("login: ", kDxSpiderWelcome), {}, "F4ABC-2\r\n"},
        {"CC Cluster",
         Login("Welcome to VE7CC-1 CC Cluster\r\n\r\nPlease enter your call:",
               "CC-Cluster Version 4.0.1\r\nF4ABC-2 de VE7CC-1 08-Dec-2026 1200Z CCC >\r\n"),
         {},
         "F4ABC-2\r\n"},
        {"DX Spider, password", Login("login: ", kDxSpiderWelcome, "password: ", "s3cret!"),
         QStringLiteral("s3cret!"), "F4ABC-2\r\ns3cret!\r\n"},
        {"DX Spider, password asked, none set",
         Login("login: ", kDxSpiderWelcome, "password: ", ""),
         {},
         "F4ABC-2\r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeNode node(Then(c.login, Spots()));
        Bench bench;
        bench.Start(node.Port(), c.password);
        ASSERT_TRUE(bench.WaitFor([&] { return bench.session.counts().spots == 8; }));
        EXPECT_EQ(bench.session.state(), State::kOnline);
        EXPECT_EQ(bench.statuses,
                  QStringList({"cluster : connexion…", "cluster : connecté à 127.0.0.1"}));
        EXPECT_EQ(node.received, c.typed);
        EXPECT_EQ(bench.store.size(), 7u);
        EXPECT_EQ(bench.session.counts().stations, 7u);
        EXPECT_EQ(bench.session.counts().unplaced, 1u);
        EXPECT_EQ(bench.session.counts().offBand, 2u);
        EXPECT_GT(bench.changes, 0);
        for (const Expected& e : kExpected) {
            const HeardStation* s = bench.Find(QString::fromLatin1(e.call));
            ASSERT_NE(s, nullptr) << e.call;
            EXPECT_EQ(s->source, stations::StationSource::kCluster);
            EXPECT_EQ(s->band, QString::fromLatin1(e.band)) << e.call;
            EXPECT_EQ(s->frequency, e.hertz) << e.call;
            EXPECT_EQ(s->position, *Country(s->call)) << e.call;
            EXPECT_TRUE(s->approximate);
        }
        EXPECT_EQ(bench.Find("KH6LC")->mode, QStringLiteral("RTTY"));
        // Heard at the spot's time: a minute before the clock, and yesterday for a time ahead.
        EXPECT_EQ(bench.Find("JA1ABC")->lastHeard.time_since_epoch(), 1796731140s);
        EXPECT_EQ(bench.Find("JW7QIA")->lastHeard.time_since_epoch(), 1796646600s);
    }
}

TEST(ClusterSession, ConnectsAgainAfterTheNodeWentDownWithGrowingDelays) {
    FakeNode node(Login("login: ", kDxSpiderWelcome));
    Bench bench({60s, 100ms, 400ms, 5s});
    bench.Start(node.Port());
    ASSERT_TRUE(bench.WaitFor([&] { return bench.session.state() == State::kOnline; }));
    const quint16 port = node.Port();

    node.Kill();
    ASSERT_TRUE(bench.WaitFor([&] { return bench.Refusals() >= 3; }));
    // Lost after a login: the first delay; then refused, twice as long each time, up to the
    // longest.
    ASSERT_GE(bench.statuses.size(), 7);
    EXPECT_EQ(bench.statuses.mid(2, 5),
              QStringList({"cluster : connexion perdue", "cluster : connexion…",
                           "cluster : connexion refusée", "cluster : connexion…",
                           "cluster : connexion refusée"}));
    EXPECT_EQ(bench.delays[2], 100ms);
    std::vector<std::chrono::milliseconds> refused;
    for (qsizetype i = 0; i < bench.statuses.size(); ++i) {
        if (bench.statuses[i] == u"cluster : connexion refusée") {
            refused.push_back(bench.delays[static_cast<std::size_t>(i)]);
        }
    }
    EXPECT_EQ(std::vector(refused.begin(), refused.begin() + 3),
              std::vector<std::chrono::milliseconds>({200ms, 400ms, 400ms}));

    // The node back on its port: connected again within the longest delay, and a login brings
    // the first delay back.
    ASSERT_TRUE(node.Listen(port));
    QElapsedTimer back;
    back.start();
    ASSERT_TRUE(bench.WaitFor([&] { return bench.session.state() == State::kOnline; }));
    EXPECT_LT(back.elapsed(), 400 + 1000);
    EXPECT_EQ(bench.session.counts().connections, 2u);
    EXPECT_EQ(node.connections, 2);
    node.Kill();
    ASSERT_TRUE(bench.WaitFor([&] { return bench.session.state() == State::kWaiting; }));
    EXPECT_EQ(bench.statuses.back(), u"cluster : connexion perdue");
    EXPECT_EQ(bench.session.retryDelay(), 100ms);
}

TEST(ClusterSession, EndsWithoutRetryWhenTheNodeRefusesTheLogin) {
    const std::vector<FakeNode::Step> again = {{"login: ", "F4ABC-2\r\n"}};
    struct Case {
        std::vector<FakeNode::Step> script;
        QString status;
    };
    const Case cases[] = {
        {Login("login: ", "Sorry F4ABC-2 is already logged on to GB7MBC\r\n"),
         "cluster : indicatif déjà connecté"},
        // A node that asks again and again for what it was given.
        {Then(Then(Then({{"login: "}}, again), again), again), "cluster : identification refusée"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status.toStdString());
        FakeNode node(c.script);
        Bench bench({60s, 20ms, 40ms, 5s});
        bench.Start(node.Port());
        ASSERT_TRUE(bench.WaitFor([&] { return bench.session.state() == State::kRefused; }));
        EXPECT_EQ(bench.statuses.back(), c.status);
        QTest::qWait(200);
        EXPECT_EQ(node.connections, 1);
        EXPECT_EQ(bench.session.state(), State::kRefused);
        EXPECT_LE(node.received.count("F4ABC-2\r\n"), 3);
    }
}

TEST(ClusterSession, SendsOneIdleLineAfterASilenceNeverForTheSpots) {
    constexpr int kIdleMs = 600;
    std::vector<FakeNode::Step> script = Login("login: ", kDxSpiderWelcome);
    for (int i = 0; i < 8; ++i) {
        script.push_back(
            {QStringLiteral("DX de W3LPL: 14025.0 K%1ABC CW 1159Z\r\n").arg(i).toLatin1(),
             {},
             150});
    }
    FakeNode node(script);
    Bench bench({std::chrono::milliseconds(kIdleMs), 5s, 5s, 5s});
    bench.Start(node.Port());
    ASSERT_TRUE(bench.WaitFor([&] { return bench.store.size() == 8; }));
    QElapsedTimer silence;
    silence.start();
    EXPECT_EQ(node.received, "F4ABC-2\r\n");
    ASSERT_TRUE(bench.WaitFor([&] { return node.received.size() > 9; }));
    EXPECT_GE(silence.elapsed(), kIdleMs - 100);
    EXPECT_EQ(node.received, "F4ABC-2\r\n\r\n");
    QTest::qWait(kIdleMs / 2);
    EXPECT_EQ(bench.session.counts().keepAlives, 1u);
    EXPECT_EQ(node.received, "F4ABC-2\r\n\r\n");
}

TEST(ClusterSession, HoldsAFloodWithoutLineEndsWithinTheLineLimit) {
    QByteArray junk(64 * 1024, 'x');
    for (qsizetype i = 0; i < junk.size(); i += 97) {
        junk[i] = "\0\a\x1b[2J\xff"[i % 6];
    }
    std::vector<FakeNode::Step> script = Login("login: ", kDxSpiderWelcome);
    for (int i = 0; i < 16; ++i) {
        script.push_back({junk});
    }
    script.push_back(
        {QByteArrayLiteral("\r\nDX de W3LPL: 14025.0 \x1b[7mJA1ABC\x1b[0m CW\0 1159Z\r\n"),
         {},
         1000});
    FakeNode node(script);
    Bench bench;
    bench.Start(node.Port());
    const auto flood = static_cast<std::uint64_t>(16 * junk.size() + kDxSpiderWelcome.size());
    ASSERT_TRUE(bench.WaitFor([&] { return bench.session.counts().bytes >= flood; }));
    EXPECT_LE(bench.session.pendingBytes(), stations::cluster::kMaxLineBytes);
    ASSERT_TRUE(bench.WaitFor([&] { return bench.store.size() == 1; }));
    EXPECT_NE(bench.Find("JA1ABC"), nullptr);
    EXPECT_EQ(bench.session.droppedLines(), 1);
    EXPECT_EQ(bench.session.state(), State::kOnline);
}

TEST(ClusterSession, RefusesWhatCannotBeSentToTheNode) {
    const ClusterSession::Config cases[] = {
        {"", 7300, "F4ABC", ""},
        {"dxc.example.org", 0, "F4ABC", ""},
        {"dxc.example.org", 7300, "F4ABC\r\nsh/dx", ""},
        {"dxc.example.org", 7300, "F4ABC-123", ""},
        {"dxc.example.org", 7300, "FRANCE", ""},
        {"dxc.example.org", 7300, "F4ABC", "pass\r\nbye"},
    };
    for (const ClusterSession::Config& c : cases) {
        Bench bench;
        EXPECT_NE(bench.session.Start(c), QString()) << c.call.toStdString();
        EXPECT_EQ(bench.session.state(), State::kStopped);
        EXPECT_TRUE(bench.statuses.isEmpty());
    }
}

TEST(ClusterSession, StopsFromItsOwnStatusHook) {
    FakeNode node(Then(Login("login: ", kDxSpiderWelcome), Spots()));
    stations::StationStore store;
    ClusterSession* self = nullptr;
    ClusterSession session(store, {Country, {}, {}, [&](const QString& text) {
                                       if (text.startsWith(u"cluster : connecté")) {
                                           self->Stop();
                                       }
                                   }});
    self = &session;
    ASSERT_EQ(session.Start({"127.0.0.1", node.Port(), "F4ABC", ""}), QString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.state() == State::kStopped; }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(session.state(), State::kStopped);
    EXPECT_EQ(store.size(), 0u);
}

}  // namespace
}  // namespace orbida::live
