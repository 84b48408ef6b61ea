// The stations heard, on a fake window: WSJT-X's datagrams over loopback become marks at their
// squares' centres, rows measured from home, a station pinned, a Reply sent back; off, nothing
// listens and nothing ticks.
#include <QTableView>
#include <QTest>
#include <QUdpSocket>
#include <chrono>
#include <set>

#include "fake_node.h"
#include "fake_part_host.h"
#include "geodesy/locator.h"
#include "live/cluster_session.h"
#include "live/wsjtx_listener.h"
#include "ui/map/station_layer.h"
#include "ui/parts/stations_part.h"
#include "wsjtx_sender.h"

namespace orbida::ui {
namespace {

using namespace std::chrono;

class StationsPartTest : public ::testing::Test {
  protected:
    StationsPartTest() {
        host.fake.now = WallTime{sys_days{2026y / 12 / 21} + hours{12}};
        host.Add(part);
        QUdpSocket probe;
        probe.bind(QHostAddress::LocalHost, 0);
        port = probe.localPort();
        probe.close();
        wsjtx.bind(QHostAddress::LocalHost, 0);
    }
    void Send(const std::vector<QByteArray>& datagrams) {
        const std::uint64_t before = part.Listener()->counts().datagrams;
        for (const QByteArray& d : datagrams) {
            wsjtx.writeDatagram(d, QHostAddress::LocalHost, port);
        }
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return part.Listener()->counts().datagrams == before + datagrams.size(); },
            5000));
    }
    std::uint64_t IdOf(const QString& call) {
        std::uint64_t found = 0;
        part.Store().ForEach([&](std::uint64_t id, const stations::HeardStation& s) {
            if (s.call == call) {
                found = id;
            }
        });
        return found;
    }

    testing::FakePartHost host;
    StationsPart part;
    QUdpSocket wsjtx;
    quint16 port = 0;
    test::WsjtxSender sender;
};

// Heartbeat, Status and five decodes: five marks, each at its square's centre, in the colour of a
// CQ; the list measures each from home as the tick does; K1ABC FN42 pinned; a double click asks
// WSJT-X to answer it with the Reply WSJT-X expects, received byte-exact.
TEST_F(StationsPartTest, DecodesBecomeMarksRowsAndTargets) {
    EXPECT_EQ(host.MenuTexts(MenuPlace::Stations), QStringList{"Stations…"});
    EXPECT_EQ(part.Listener(), nullptr);  // off: nothing listens
    ASSERT_EQ(part.SetWsjtx({true, QStringLiteral("127.0.0.1"), port, false}, false), QString());
    test::SentStatus status;
    status.deCall = "F4ABC";
    std::vector<QByteArray> datagrams = {sender.Heartbeat(), sender.Status(status)};
    std::vector<test::SentDecode> decodes;
    for (const char* text :
         {"CQ K1ABC FN42", "CQ G4XYZ IO91", "CQ F5XYZ JN18", "CQ JA1XYZ PM95", "CQ VK2XYZ QF56"}) {
        decodes.push_back({});
        decodes.back().message = text;
        datagrams.push_back(sender.Decode(decodes.back()));
    }
    Send(datagrams);
    ASSERT_TRUE(QTest::qWaitFor([&] { return part.Layer().Marks().size() == 5u; }, 2000));
    for (const StationLayer::Mark& mark : part.Layer().Marks()) {
        const stations::HeardStation* s = part.Store().Find(mark.id);
        ASSERT_NE(s, nullptr);
        const auto centre = geodesy::LocatorCentre(s->grid.toStdString());
        ASSERT_TRUE(centre.has_value()) << s->grid.toStdString();
        EXPECT_DOUBLE_EQ(mark.place.latitude, centre->latitude);
        EXPECT_DOUBLE_EQ(mark.place.longitude, centre->longitude);
        EXPECT_EQ(mark.colour.rgb(), QColor(40, 230, 40).rgb());  // CQ
        EXPECT_FALSE(mark.approximate);
    }
    EXPECT_TRUE(part.AgingTimer().isActive());

    part.OpenWindow();
    const auto& rows = part.Window()->Model().Rows();
    ASSERT_EQ(rows.size(), 5u);
    // The list's filters: a band none was heard on, then all bands again.
    part.Window()->Filter().SetBand(QStringLiteral("40m"));
    EXPECT_EQ(part.Window()->Filter().rowCount(), 0);
    part.Window()->Filter().SetBand(QString());
    EXPECT_EQ(part.Window()->Filter().rowCount(), 5);
    const std::uint64_t k1abc = IdOf(QStringLiteral("K1ABC"));
    for (const StationsModel::Row& row : rows) {
        if (row.id == k1abc) {
            const tracking::TickFrame f = host.MeasurePlace(*geodesy::LocatorCentre("FN42"));
            EXPECT_EQ(row.azimuthText, QString::fromStdString(f.dial.text));
            EXPECT_DOUBLE_EQ(row.km, f.distanceKm);
        }
    }
    part.PinStation(k1abc);
    ASSERT_EQ(host.pins.size(), 1u);
    EXPECT_EQ(host.pins[0].place, geodesy::LocatorCentre("FN42"));

    EXPECT_EQ(part.Answer(k1abc), QStringLiteral("Réponse demandée à WSJT-X"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return wsjtx.hasPendingDatagrams(); }, 3000));
    QByteArray reply(static_cast<qsizetype>(wsjtx.pendingDatagramSize()), '\0');
    wsjtx.readDatagram(reply.data(), reply.size());
    EXPECT_EQ(reply, sender.Reply(decodes[0], 0));
}

// Ten minutes after they were last heard the stations are gone, and the timer stops with them;
// turned off, the listener goes.
TEST_F(StationsPartTest, AgeAndStop) {
    ASSERT_EQ(part.SetWsjtx({true, QStringLiteral("127.0.0.1"), port, false}, false), QString());
    test::SentDecode d;
    d.message = "CQ DX K1ABC FN42";
    Send({sender.Heartbeat(), sender.Decode(d)});
    ASSERT_TRUE(QTest::qWaitFor([&] { return part.Layer().Marks().size() == 1u; }, 2000));
    EXPECT_EQ(part.Layer().Marks()[0].colour.rgb(), QColor(255, 160, 0).rgb());  // CQ DX
    const int fresh = part.Layer().Marks()[0].colour.alpha();
    host.fake.now += minutes{5};
    part.Refresh();
    ASSERT_EQ(part.Layer().Marks().size(), 1u);
    EXPECT_LT(part.Layer().Marks()[0].colour.alpha(), fresh);  // fading
    host.fake.now += minutes{5};
    part.Refresh();
    EXPECT_TRUE(part.Layer().Marks().empty());
    EXPECT_FALSE(part.AgingTimer().isActive());
    part.SetWsjtx({false, QStringLiteral("127.0.0.1"), port, false}, false);
    EXPECT_EQ(part.Listener(), nullptr);
}

// Following WSJT-X's DX: each new DX grid of its Status pins its square's centre, once; without
// the option the Status pins nothing.
TEST_F(StationsPartTest, FollowsWsjtxDx) {
    for (const bool follow : {false, true}) {
        host.pins.clear();
        ASSERT_EQ(part.SetWsjtx({true, QStringLiteral("127.0.0.1"), port, follow}, false),
                  QString());
        test::SentStatus status;
        status.dxCall = "JA1NUT";
        status.dxGrid = "PM95";
        Send({sender.Heartbeat(), sender.Status(status), sender.Status(status)});
        EXPECT_EQ(host.pins.size(), follow ? 1u : 0u);
        if (follow && !host.pins.empty()) {
            EXPECT_EQ(host.pins[0].place, geodesy::LocatorCentre("PM95"));
        }
    }
}

// A DX cluster node that asks for the call, then sends spots among other lines: each spotted
// station at its country's point in its band's colour, kept thirty minutes; the node gone, the
// window says so.
TEST_F(StationsPartTest, ClusterSpotsBecomeMarks) {
    dxcc::Country japan;
    japan.name = QStringLiteral("Japan");
    japan.latitude = 36.40;
    japan.longitude = -138.38;
    host.countries[QStringLiteral("JA1ABC")] = japan;
    host.countries[QStringLiteral("JA7XYZ")] = japan;
    testing::FakeNode node({{"login: "},
                            {"Hello F4ABC\r\nF4ABC de TEST  8-Dec-2026 1200Z dxspider >\r\n"
                             "DX de W3LPL:     14025.0  JA1ABC       CW 599              1155Z\r\n"
                             "WWV de VE7CC <18>:   SFI=150, A=5, K=1\r\n"
                             "DX de K1TTT:     21074.0  JA7XYZ       FT8 -12             1156Z\r\n",
                             "F4ABC\r\n"}});
    ASSERT_EQ(part.SetCluster({true, QStringLiteral("127.0.0.1"), node.Port(),
                               QStringLiteral("F4ABC"), QString()},
                              false),
              QString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return part.Layer().Marks().size() == 2; }, 5000));
    std::set<QRgb> colours;
    for (const StationLayer::Mark& mark : part.Layer().Marks()) {
        EXPECT_DOUBLE_EQ(mark.place.latitude, 36.40);
        EXPECT_TRUE(mark.approximate);
        colours.insert(mark.colour.rgb());
    }
    EXPECT_EQ(colours.size(), 2u);  // 20 m and 15 m
    host.fake.now += minutes{20};   // a decode would be gone; a spot stays
    part.Refresh();
    EXPECT_EQ(part.Layer().Marks().size(), 2u);
    node.Kill();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return part.Status().contains(QStringLiteral("cluster : connexion perdue")); }, 5000))
        << part.Status().toStdString();
    part.SetCluster({}, false);
    EXPECT_EQ(part.Session(), nullptr);
}

}  // namespace
}  // namespace orbida::ui
