#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "fake_rotctld.h"
#include "rotator/client.h"
#include "rotator/protocol.h"

namespace orbida::rotator {
namespace {

using Status = ReplyReader::Status;
using testing::FakeRotctld;

TEST(ReplyReaderTest, ReadsEachAnswerOrFailsWithAReason) {
    const std::string huge(ReplyReader::kMaxLine + 1, '7');
    std::string manyLines = "1\n1\n";
    for (int line = 0; line < ReplyReader::kMaxStateLines; ++line) {
        manyLines += "x=1\n";
    }
    const struct {
        Question question;
        std::vector<std::string> chunks;
        bool close;
        Status status;
        std::string failure;
        double azimuth;
    } cases[] = {
        {Question::kPosition, {"292.40\n", "-0.01\n"}, false, Status::kComplete, "", 292.4},
        {Question::kPosition, {"-67.6", "0\r\n0.00\n"}, false, Status::kComplete, "", -67.6},
        {Question::kPosition, {"RPRT -5\n"}, false, Status::kFailed, "erreur 5 (délai dépassé)", 0},
        {Question::kPosition, {"RPRT 0\n"}, false, Status::kFailed, "réponse inattendue", 0},
        {Question::kPosition, {"nan\n0\n"}, false, Status::kFailed, "réponse illisible", 0},
        {Question::kPosition,
         {"12.0\n0\nRPRT 0\n"},
         false,
         Status::kFailed,
         "réponse inattendue",
         0},
        {Question::kPosition,
         {"12.0\n0.0"},
         true,
         Status::kFailed,
         "connexion coupée au milieu d'une réponse",
         0},
        {Question::kPosition,
         {},
         true,
         Status::kFailed,
         "pas de réponse (connexion fermée par le rotor)",
         0},
        {Question::kPosition, {huge}, false, Status::kFailed, "ligne trop longue", 0},
        {Question::kCommand, {"RPRT 0\n"}, false, Status::kComplete, "", 0},
        {Question::kCommand,
         {"RPRT -1\n"},
         false,
         Status::kFailed,
         "erreur 1 (paramètre refusé)",
         0},
        {Question::kCommand,
         {"RPRT -2147483648\n"},
         false,
         Status::kFailed,
         "erreur 2147483648",
         0},
        {Question::kCommand, {"RPRT 3\n"}, false, Status::kFailed, "réponse illisible", 0},
        {Question::kCommand, {"12.5\n"}, false, Status::kFailed, "réponse inattendue", 0},
        {Question::kInfo, {"RPRT -4\n"}, false, Status::kComplete, "", 0},
        {Question::kDumpState,
         {"1\n1\nmin_az=-180.000000\nmax_az=450.000000\nmin_el=0.000000\nmax_el=90.000000\n"
          "south_zero=0\nrot_type=AzEl\ndone\n"},
         false,
         Status::kComplete,
         "",
         0},
        {Question::kDumpState,
         {"1\n1\nmin_az=-180\ndone\n"},
         false,
         Status::kFailed,
         "limites du rotor illisibles",
         0},
        {Question::kDumpState,
         {"1\n1\nmin_az=180\nmax_az=-180\ndone\n"},
         false,
         Status::kFailed,
         "limites du rotor illisibles",
         0},
        {Question::kDumpState,
         {"1\n1\nmin_az=abc\n"},
         false,
         Status::kFailed,
         "limites du rotor illisibles",
         0},
        {Question::kDumpState,
         {"0\n"},
         false,
         Status::kFailed,
         "version du protocole non prise en charge",
         0},
        {Question::kDumpState,
         {"RPRT -11\n"},
         false,
         Status::kFailed,
         "erreur 11 (fonction indisponible)",
         0},
        {Question::kDumpState, {manyLines}, false, Status::kFailed, "réponse trop longue", 0},
        {Question::kDumpState,
         {"1\n1\nmin_a"},
         true,
         Status::kFailed,
         "connexion coupée au milieu d'une réponse",
         0},
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
        EXPECT_EQ(reader.status(), c.status);
        EXPECT_EQ(reader.failure(), c.failure);
        if (c.status == Status::kComplete && c.question == Question::kPosition) {
            EXPECT_DOUBLE_EQ(reader.Take().azimuth, c.azimuth);
        }
    }
}

TEST(ReplyReaderTest, KeepsTheAnswersValuesAndRefusesBytesNobodyAskedFor) {
    ReplyReader reader;
    reader.Expect(Question::kDumpState);
    reader.Feed("1\n7\nmin_az=-180.000000\nmax_az=180.000000\nmin_el=5\nmax_el=85\ndone\n");
    ASSERT_EQ(reader.status(), Status::kComplete);
    const Reply state = reader.Take();
    EXPECT_EQ(state.model, 7);
    EXPECT_EQ(state.limits.minAzimuth, -180.0);
    EXPECT_EQ(state.limits.maxAzimuth, 180.0);
    EXPECT_EQ(state.limits.minElevation, 5.0);

    reader.Expect(Question::kInfo);
    reader.Feed(std::string("Dummy\x01 rotator\n"));
    EXPECT_EQ(reader.Take().info, "Dummy rotator");

    // Idle: any byte is out of turn, and the reader stays failed until reset.
    EXPECT_EQ(reader.Feed("RPRT 0\n"), Status::kFailed);
    EXPECT_EQ(reader.failure(), "réponse sans question");
    EXPECT_EQ(reader.Expect(Question::kCommand), Status::kFailed);
    reader.Reset();
    EXPECT_EQ(reader.Expect(Question::kCommand), Status::kPending);
}

TEST(AzimuthTest, SendsTheReachableTurnNearestTheRotator) {
    const Limits half{-180, 180, 0, 90}, full{0, 360, 0, 90}, overlap{-180, 450, 0, 90},
        wide{0, 450, 0, 90}, narrow{0, 180, 0, 90}, raised{0, 360, 10, 90}, odd{0.05, 359.95, 0, 0};
    const struct {
        double course;
        Limits limits;
        double current;
        std::optional<std::string> command;
    } cases[] = {
        {292.4, full, 0, "P 292.4 0\n"},
        {292.4, half, 0, "P -67.6 0\n"},
        {292.44, half, 100, "P -67.6 0\n"},
        {180.0, half, 10, "P 180.0 0\n"},
        {-180.0, half, -10, "P -180.0 0\n"},
        {359.96, full, 100, "P 0.0 0\n"},
        {359.96, full, 200, "P 360.0 0\n"},
        {292.4, overlap, 0, "P -67.6 0\n"},
        {292.4, overlap, 200, "P 292.4 0\n"},
        {30, wide, 400, "P 390.0 0\n"},
        {30, wide, 100, "P 30.0 0\n"},
        {100, wide, 1e9, "P 100.0 0\n"},
        {720.5, full, 0, "P 0.5 0\n"},
        {270, narrow, 0, std::nullopt},
        {0.0, odd, 0, std::nullopt},
        {0.1, odd, 0, "P 0.1 0\n"},
        {100, raised, 0, "P 100.0 10\n"},
        {std::nan(""), full, 0, std::nullopt},
        {10, full, std::numeric_limits<double>::infinity(), std::nullopt},
        {10, Limits{-1e300, 1e300, 0, 90}, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.course << " from " << c.current);
        const std::optional<long long> tenths = AzimuthTenths(c.course, c.limits, c.current);
        ASSERT_EQ(tenths.has_value(), c.command.has_value());
        if (tenths) {
            EXPECT_EQ(SetPositionCommand(*tenths, LevelElevation(c.limits)), *c.command);
            EXPECT_GE(static_cast<double>(*tenths) / 10.0, c.limits.minAzimuth);
            EXPECT_LE(static_cast<double>(*tenths) / 10.0, c.limits.maxAzimuth);
        }
    }
}

bool WaitForState(const Client& client, Client::State state, int ms = 3000) {
    return QTest::qWaitFor([&] { return client.state() == state; }, ms);
}

TEST(ClientTest, SendsTheCourseInsideTheLimitsItReadOnConnecting) {
    const struct {
        QByteArray limits;
        QByteArray azimuth;
        QByteArray command;  // empty: nothing may be sent
        QString text;
    } cases[] = {
        {"min_az=0.000000\nmax_az=360.000000\n", "10.000000", "P 292.4 0", "Rotor 10 °"},
        {"min_az=-180.000000\nmax_az=180.000000\n", "-0.010000", "P -67.6 0", "Rotor 359 °"},
        {"min_az=0.000000\nmax_az=450.000000\n", "400.000000", "P 292.4 0", "Rotor 40 °"},
        {"min_az=0.000000\nmax_az=180.000000\n", "10.000000", "",
         "Rotor 10 ° : azimut 292 ° hors de portée (0 °…180 °)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.toStdString());
        FakeRotctld daemon;
        daemon.limits = c.limits;
        daemon.azimuth = c.azimuth;
        Client client;
        client.SetAddress(QStringLiteral("127.0.0.1"), daemon.Port());
        client.TurnTo(292.44);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return c.command.isEmpty() ? client.StatusText() == c.text
                                           : client.state() == Client::State::kMoving;
            },
            3000));
        EXPECT_EQ(client.StatusText(), c.text);
        if (c.command.isEmpty()) {
            QTest::qWait(100);
            EXPECT_EQ(daemon.commands, (QList<QByteArray>{"\\dump_state", "p"}));
            EXPECT_EQ(client.state(), Client::State::kReady);
        } else {
            EXPECT_EQ(daemon.commands.mid(0, 3),
                      (QList<QByteArray>{"\\dump_state", "p", c.command}));
        }
    }
}

TEST(ClientTest, PollsAtMostTwiceASecondAndOnlyWhileConnected) {
    FakeRotctld daemon;
    Client client;
    EXPECT_FALSE(client.Busy());
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
    const struct {
        const char* name;
        Mode mode;
        bool refuse;
        QString text;
    } cases[] = {
        {"refused", Mode::kGood, true, "Rotor : connexion refusée"},
        {"silent", Mode::kSilent, false, "Rotor : pas de réponse"},
        {"garbage", Mode::kGarbage, false, "Rotor : réponse illisible"},
        {"error", Mode::kError, false, "Rotor : erreur 5 (délai dépassé)"},
        {"wrong question", Mode::kWrongQuestion, false, "Rotor : réponse inattendue"},
        {"mid-line", Mode::kMidLine, false, "Rotor : connexion coupée au milieu d'une réponse"},
        {"huge line", Mode::kHugeLine, false, "Rotor : ligne trop longue"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRotctld daemon;
        const quint16 port = daemon.Port();
        daemon.mode = c.mode;
        if (c.refuse) {
            daemon.Refuse();
        }
        Client client;
        client.SetAddress(QStringLiteral("127.0.0.1"), port);
        QElapsedTimer elapsed;
        elapsed.start();
        client.TurnTo(100);
        ASSERT_TRUE(WaitForState(client, Client::State::kFailed, 4000));
        EXPECT_LT(elapsed.elapsed(), 3000);
        EXPECT_EQ(client.StatusText(), c.text);
        EXPECT_FALSE(client.Busy());

        daemon.mode = Mode::kGood;
        if (c.refuse) {
            daemon.Listen(port);
        }
        const int before = daemon.connections;
        client.TurnTo(100);
        ASSERT_TRUE(WaitForState(client, Client::State::kMoving));
        EXPECT_EQ(daemon.connections, before + 1);
        EXPECT_EQ(daemon.commands.last(), "P 100.0 0");
    }
}

// Hamlib's own dummy rotator, on a free loopback port for the test's life.
class DummyRotator : public ::testing::Test {
  protected:
    void SetUp() override {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("rotctld"));
        if (program.isEmpty()) {
            GTEST_SKIP() << "rotctld not installed (Debian libhamlib-utils)";
        }
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
        probe.close();
        daemon.start(program, {"-m", "1", "-T", "127.0.0.1", "-t", QString::number(port)});
        ASSERT_TRUE(daemon.waitForStarted(2000));
        ASSERT_TRUE(QTest::qWaitFor([this] { return Position().has_value(); }, 3000));
    }
    void TearDown() override {
        daemon.kill();
        daemon.waitForFinished(2000);
    }
    // The dummy's azimuth, read on a connection of the test's own.
    std::optional<double> Position() const { return testing::DaemonAzimuth(port); }

    QProcess daemon;
    quint16 port = 0;
};

TEST_F(DummyRotator, TurnsTheShortWayStopsAndArrives) {
    Client client;
    std::vector<double> headings;
    QObject::connect(&client, &Client::HeadingChanged, [&](double h) { headings.push_back(h); });
    client.SetAddress(QStringLiteral("127.0.0.1"), port);

    // The dummy spans −180…450 and starts at 0: 292.4 is reached through −67.6, westwards.
    client.TurnTo(292.4);
    ASSERT_TRUE(WaitForState(client, Client::State::kMoving));
    QTest::qWait(1200);
    const std::optional<double> turning = Position();
    ASSERT_TRUE(turning);
    EXPECT_LT(*turning, -2.0);
    EXPECT_GT(*turning, -20.0);

    client.Stop();
    ASSERT_TRUE(WaitForState(client, Client::State::kReady));
    const double stopped = Position().value_or(1e9);
    QTest::qWait(600);
    EXPECT_NEAR(Position().value_or(-1e9), stopped, 0.05);

    // A course a few degrees away is reached in about a second (the dummy turns 6 °/s).
    client.TurnTo(352.4);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return std::abs(Position().value_or(0) + 7.6) < 0.05; }, 4000));
    // The client's next readings follow it there.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !headings.empty() && std::abs(headings.back() - 352.4) < 0.05; }, 2000));
    EXPECT_EQ(client.state(), Client::State::kReady);
    EXPECT_EQ(client.StatusText(), QStringLiteral("Rotor 352 °"));
}

}  // namespace
}  // namespace orbida::rotator
