// The rotator daemon's protocol, the course sent to it, and the client against a daemon of the
// test's own and against Hamlib's dummy rotator.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "fake_rotctld.h"
#include "rotator/client.h"
#include "rotator/protocol.h"
#include "rotator/reason_text.h"

namespace orbida::rotator {
namespace {

using Status = ReplyReader::Status;
using testing::FakeRotctld;
using enum Question;

// The answer fed in pieces, then the connection closed or not: complete ("" as the failure, with
// the azimuth of a position) or failed with its reason.
TEST(ReplyReaderTest, ReadsEachAnswerOrFailsWithAReason) {
    std::string manyLines = "1\n1\n";
    for (int line = 0; line < ReplyReader::kMaxStateLines; ++line) {
        manyLines += "x=1\n";
    }
    const std::string state = "1\n1\nmin_az=-180.0\nmax_az=450.0\nmin_el=0\nmax_el=90\ndone\n";
    const struct {
        Question question;
        std::vector<std::string> chunks;
        bool close;
        std::string failure;
        double azimuth = 0;
    } cases[] = {
        {kPosition, {"292.40\n", "-0.01\n"}, false, "", 292.4},
        {kPosition, {"-67.6", "0\r\n0.00\n"}, false, "", -67.6},
        {kPosition, {"RPRT -5\n"}, false, "erreur 5 (délai dépassé)"},
        {kPosition, {"nan\n0\n"}, false, "réponse illisible"},
        {kPosition, {"3600\n-3600\n"}, false, "", 3600},
        {kPosition, {"1e308\n0\n"}, false, "position illisible"},
        {kPosition, {"12\n-3600.1\n"}, false, "position illisible"},
        {kPosition, {"12.0\n0\nRPRT 0\n"}, false, "réponse inattendue"},
        {kPosition, {"12.0\n0.0"}, true, "connexion coupée au milieu d'une réponse"},
        {kPosition, {}, true, "pas de réponse (connexion fermée par le rotor)"},
        {kPosition, {std::string(ReplyReader::kMaxLine + 1, '7')}, false, "ligne trop longue"},
        {kCommand, {"RPRT 0\n"}, false, ""},
        {kCommand, {"RPRT -2147483648\n"}, false, "erreur 2147483648"},
        {kCommand, {"RPRT 3\n"}, false, "réponse illisible"},
        {kInfo, {"RPRT -4\n"}, false, ""},
        {kDumpState, {state}, false, ""},
        {kDumpState, {"1\n1\nmin_az=-180\ndone\n"}, false, "limites du rotor illisibles"},
        {kDumpState, {"0\n"}, false, "version du protocole non prise en charge"},
        {kDumpState, {manyLines}, false, "réponse trop longue"},
        {kDumpState, {"1\n1\nmin_a"}, true, "connexion coupée au milieu d'une réponse"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chunks.empty() ? std::string("(none)") : c.chunks.front().substr(0, 40));
        ReplyReader reader;
        reader.Expect(c.question);
        for (const std::string& chunk : c.chunks) {
            reader.Feed(chunk);
        }
        if (c.close) {
            reader.Close();
        }
        EXPECT_EQ(reader.status(), c.failure.empty() ? Status::kComplete : Status::kFailed);
        EXPECT_EQ(reader.failure(), c.failure);
        if (c.failure.empty() && c.question == kPosition) {
            EXPECT_DOUBLE_EQ(reader.Take().azimuth, c.azimuth);
        }
    }
}

TEST(ReplyReaderTest, KeepsTheAnswersValuesAndRefusesBytesNobodyAskedFor) {
    ReplyReader reader;
    reader.Expect(kDumpState);
    reader.Feed("1\n7\nmin_az=-180.000000\nmax_az=180.000000\nmin_el=5\nmax_el=85\ndone\n");
    ASSERT_EQ(reader.status(), Status::kComplete);
    const Reply state = reader.Take();
    EXPECT_EQ(state.model, 7);
    EXPECT_EQ(state.limits.minAzimuth, -180.0);
    EXPECT_EQ(state.limits.maxAzimuth, 180.0);
    EXPECT_EQ(state.limits.minElevation, 5.0);
    reader.Expect(kInfo);
    reader.Feed(std::string("Dummy\x01 rotator\n"));
    EXPECT_EQ(reader.Take().info, "Dummy rotator");

    // Idle: any byte is out of turn, and the reader stays failed until reset.
    EXPECT_EQ(reader.Feed("RPRT 0\n"), Status::kFailed);
    EXPECT_EQ(reader.failure(), "réponse sans question");
    EXPECT_EQ(reader.Expect(kCommand), Status::kFailed);
    reader.Reset();
    EXPECT_EQ(reader.Expect(kCommand), Status::kPending);
}

// The command sent for a course from the rotator's current azimuth, if it can reach the course.
TEST(AzimuthTest, SendsTheReachableTurnNearestTheRotator) {
    const Limits half{-180, 180, 0, 90}, full{0, 360, 0, 90}, overlap{-180, 450, 0, 90},
        wide{0, 450, 0, 90}, narrow{0, 180, 0, 90}, raised{0, 360, 10, 90}, odd{0.05, 359.95, 0, 0},
        huge{-1e300, 1e300, 0, 90};
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    const std::tuple<double, Limits, double, std::string> cases[] = {
        {292.4, full, 0, "P 292.4 0"},
        {292.4, half, 0, "P -67.6 0"},
        {180.0, half, 10, "P 180.0 0"},
        {359.96, full, 100, "P 0.0 0"},
        {359.96, full, 200, "P 360.0 0"},
        {292.4, overlap, 0, "P -67.6 0"},
        {292.4, overlap, 200, "P 292.4 0"},
        {30, wide, 400, "P 390.0 0"},
        {30, wide, 100, "P 30.0 0"},
        {100, wide, 1e9, "P 100.0 0"},
        {720.5, full, 0, "P 0.5 0"},
        {270, narrow, 0, "(none)"},
        {0.0, odd, 0, "(none)"},
        {0.1, odd, 0, "P 0.1 0"},
        {100, raised, 0, "P 100.0 10"},
        {nan, full, 0, "(none)"},
        {10, full, inf, "(none)"},
        {10, huge, 0, "(none)"}};
    for (const auto& [course, limits, current, command] : cases) {
        SCOPED_TRACE(::testing::Message() << course << " from " << current);
        const std::optional<long long> tenths = AzimuthTenths(course, limits, current);
        EXPECT_EQ(tenths ? SetPositionCommand(*tenths, LevelElevation(limits)) : "(none)\n",
                  command + "\n");
    }
}

bool WaitForState(const Client& client, Client::State state, int ms = 3000) {
    return QTest::qWaitFor([&] { return client.state() == state; }, ms);
}

TEST(ClientTest, SendsTheCourseInsideTheLimitsItReadOnConnecting) {
    // The limits and azimuth reported, the command sent (empty: nothing may be sent), the text.
    const std::tuple<QByteArray, QByteArray, QByteArray, QString> cases[] = {
        {"min_az=0.000000\nmax_az=360.000000\n", "10.000000", "P 292.4 0", "Rotor 10 °"},
        {"min_az=-180.000000\nmax_az=180.000000\n", "-0.010000", "P -67.6 0", "Rotor 359 °"},
        {"min_az=0.000000\nmax_az=450.000000\n", "400.000000", "P 292.4 0", "Rotor 40 °"},
        {"min_az=0.000000\nmax_az=180.000000\n", "10.000000", "",
         "Rotor 10 ° : azimut 292 ° hors de portée (0 °…180 °)"},
    };
    for (const auto& [limits, azimuth, command, text] : cases) {
        SCOPED_TRACE(command.toStdString());
        FakeRotctld daemon;
        daemon.limits = limits;
        daemon.azimuth = azimuth;
        Client client;
        client.SetAddress(QStringLiteral("127.0.0.1"), daemon.Port());
        client.TurnTo(292.44);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return command.isEmpty() ? client.StatusText() == text
                                         : client.state() == Client::State::kMoving;
            },
            3000));
        EXPECT_EQ(client.StatusText(), text);
        if (command.isEmpty()) {
            QTest::qWait(100);
            EXPECT_EQ(daemon.commands, (QList<QByteArray>{"\\dump_state", "p"}));
            EXPECT_EQ(client.state(), Client::State::kReady);
        } else {
            EXPECT_EQ(daemon.commands.mid(0, 3), (QList<QByteArray>{"\\dump_state", "p", command}));
        }
    }
}

// A course that is not a number (a reading gone wrong upstream) turns nothing and asks nothing.
TEST(ClientTest, IgnoresACourseThatIsNotFinite) {
    for (const double course : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        FakeRotctld daemon;
        Client client;
        client.SetAddress(QStringLiteral("127.0.0.1"), daemon.Port());
        client.TurnTo(course);
        QTest::qWait(150);
        EXPECT_TRUE(daemon.commands.isEmpty()) << course;
        EXPECT_EQ(client.state(), Client::State::kDisconnected) << course;
    }
}

// A reason's values go in once each, in the French text and in the translated one alike, even a
// value that looks like a placeholder (an IPv6 zone "%2").
TEST(ReasonTest, PutsEachValueInOnce) {
    const Reason reason{"adresse [%1] : port %2", {"fe80::1%2", "4533"}};
    EXPECT_EQ(reason.French(), "adresse [fe80::1%2] : port 4533");
    EXPECT_EQ(ReasonText(reason), QStringLiteral("adresse [fe80::1%2] : port 4533"));
    EXPECT_EQ(ReasonText(ErrorReason(-5)), QStringLiteral("erreur 5 (délai dépassé)"));
}

TEST(ClientTest, PollsAtMostTwiceASecondAndOnlyWhileConnected) {
    FakeRotctld daemon;
    Client client;
    client.Connect();  // no address: nothing starts
    EXPECT_FALSE(client.Busy());
    client.SetAddress(QStringLiteral("127.0.0.1"), daemon.Port());
    EXPECT_FALSE(client.Busy());
    client.Connect();
    ASSERT_TRUE(WaitForState(client, Client::State::kReady));
    QTest::qWait(1600);
    EXPECT_GE(daemon.commands.count("p"), 2);
    EXPECT_LE(daemon.commands.count("p"), 5);
    client.Disconnect();
    EXPECT_FALSE(client.Busy());
    EXPECT_EQ(client.StatusText(), QString());
}

TEST(ClientTest, EachFaultGivesAReasonAndTheNextCommandConnectsAgain) {
    using Mode = FakeRotctld::Mode;
    const std::tuple<Mode, bool, QString, QByteArray> cases[] = {
        {Mode::kGood, true, "Rotor : connexion refusée", "10"},
        {Mode::kSilent, false, "Rotor : pas de réponse", "10"},
        {Mode::kGarbage, false, "Rotor : réponse illisible", "10"},
        {Mode::kMidLine, false, "Rotor : connexion coupée au milieu d'une réponse", "10"},
        {Mode::kHugeLine, false, "Rotor : ligne trop longue", "10"},
        {Mode::kGood, false, "Rotor : position illisible", "1e308"},
    };
    for (const auto& [mode, refuse, text, azimuth] : cases) {
        SCOPED_TRACE(text.toStdString());
        FakeRotctld daemon;
        const quint16 port = daemon.Port();
        daemon.mode = mode;
        daemon.azimuth = azimuth;
        if (refuse) {
            daemon.Refuse();
        }
        Client client;
        client.SetAddress(QStringLiteral("127.0.0.1"), port);
        QElapsedTimer elapsed;
        elapsed.start();
        client.TurnTo(100);
        ASSERT_TRUE(WaitForState(client, Client::State::kFailed, 4000));
        EXPECT_LT(elapsed.elapsed(), 3000);
        EXPECT_EQ(client.StatusText(), text);
        EXPECT_FALSE(client.Busy());

        daemon.mode = Mode::kGood;
        daemon.azimuth = "10";
        if (refuse) {
            daemon.Listen(port);
        }
        const int before = daemon.connections;
        client.TurnTo(100);
        ASSERT_TRUE(WaitForState(client, Client::State::kMoving));
        EXPECT_EQ(daemon.connections, before + 1);
        EXPECT_EQ(daemon.commands.last(), "P 100.0 0");
    }
}

// Hamlib's own dummy rotator on a free loopback port, read back on a connection of the test's own.
TEST(DummyRotator, TurnsTheShortWayStopsAndArrives) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("rotctld"));
    if (program.isEmpty()) {
        GTEST_SKIP() << "rotctld not installed (Debian libhamlib-utils)";
    }
    FakeRotctld probe;  // a free loopback port, given back for the daemon
    const quint16 port = probe.Port();
    probe.Refuse();
    QProcess daemon;
    daemon.start(program, {"-m", "1", "-T", "127.0.0.1", "-t", QString::number(port)});
    ASSERT_TRUE(daemon.waitForStarted(2000));
    const auto position = [port] { return testing::DaemonAzimuth(port); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return position().has_value(); }, 3000));
    Client client;
    std::vector<double> headings;
    QObject::connect(&client, &Client::HeadingChanged, [&](double h) { headings.push_back(h); });
    client.SetAddress(QStringLiteral("127.0.0.1"), port);

    // The dummy spans −180…450 and starts at 0: 292.4 is reached through −67.6, westwards.
    client.TurnTo(292.4);
    ASSERT_TRUE(WaitForState(client, Client::State::kMoving));
    QTest::qWait(1200);
    const double turning = position().value_or(1e9);
    EXPECT_LT(turning, -2.0);
    EXPECT_GT(turning, -20.0);
    client.Stop();
    ASSERT_TRUE(WaitForState(client, Client::State::kReady));
    const double stopped = position().value_or(1e9);
    QTest::qWait(600);
    EXPECT_NEAR(position().value_or(-1e9), stopped, 0.05);

    // A course a few degrees away is reached in about a second (the dummy turns 6 °/s), and the
    // client's next readings follow it there.
    client.TurnTo(352.4);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return std::abs(position().value_or(0) + 7.6) < 0.05; }, 4000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !headings.empty() && std::abs(headings.back() - 352.4) < 0.05; }, 2000));
    EXPECT_EQ(client.state(), Client::State::kReady);
    EXPECT_EQ(client.StatusText(), QStringLiteral("Rotor 352 °"));
    daemon.kill();
    daemon.waitForFinished(2000);
}

}  // namespace
}  // namespace orbida::rotator
