// A DX cluster node's lines: spots as DX Spider, AR-Cluster and CC Cluster write them, the lines
// a session acts on, broken and hostile lines, the date of a spot's HHMM, bands and modes, and
// the stream cut into lines.
#include <gtest/gtest.h>

#include <string>

#include "stations/cluster_line.h"

namespace orbida::stations::cluster {
namespace {

constexpr std::int64_t kNoon = 1797854440;      // 2026-12-21T12:00:40Z
constexpr std::int64_t kDayStart = 1797811200;  // 2026-12-21T00:00:00Z

struct SpotCase {
    const char* line;
    const char* spotter;
    double kilohertz;
    const char* call;
    const char* comment;
    int utcMinutes;
    const char* locator;
    int zone;
    const char* band;
    const char* mode;
};
const SpotCase kSpots[] = {
    // DX Spider, with the spotter's square.
    {"DX de W3LPL:     14025.0  JA1ABC       CW 599 tnx                     2159Z FN20", "W3LPL",
     14025.0, "JA1ABC", "CW 599 tnx", 1319, "FN20", 0, "20m", "CW"},
    // CC Cluster's skimmer spot; AR-Cluster's two decimals and a node's SSID.
    {"DX de PJ2A-#:     7003.5  K1ABC        CW    24 dB  23 WPM  CQ        1158Z", "PJ2A-#",
     7003.5, "K1ABC", "CW    24 dB  23 WPM  CQ", 718, "", 0, "40m", "CW"},
    {"DX de DL1ABC-2:  14195.00  3DA0RU       up 5                          1200Z", "DL1ABC-2",
     14195.0, "3DA0RU", "up 5", 720, "", 0, "20m", "SSB"},
    // A frequency too long for its column, and one run into the colon.
    {"DX de G4ABC:  1296000.0  OH2XYZ       EME JT65 -22               0915Z io91ab", "G4ABC",
     1296000.0, "OH2XYZ", "EME JT65 -22", 555, "IO91AB", 0, "23cm", "JT65"},
    {"DX de VE7CC-1:14074  JA1ABC/P -12 dB 2159Z 5", "VE7CC-1", 14074.0, "JA1ABC/P", "-12 dB", 1319,
     "", 5, "20m", "FT8"},
    // Bells, colours and the line end that some nodes send.
    {"\a\x1b[1;33mDX de W3LPL:\x1b[0m 3525.0 UA9CLB 0001Z\r\n", "W3LPL", 3525.0, "UA9CLB", "", 1,
     "", 0, "80m", "CW"},
    // No band: a frequency of 0, one between bands.
    {"DX de N0CALL: 0.0 K1ABC test 1200Z", "N0CALL", 0.0, "K1ABC", "test", 720, "", 0, "", ""},
    {"DX de N0CALL: 14500.0 K1ABC usb 1200Z", "N0CALL", 14500.0, "K1ABC", "usb", 720, "", 0, "",
     "USB"},
};

TEST(ClusterLine, ReadsSpotsOfEachNode) {
    for (const SpotCase& c : kSpots) {
        SCOPED_TRACE(c.line);
        const Line line = ReadLine(c.line, kNoon);
        ASSERT_EQ(line.kind, LineKind::kSpot);
        const Spot& s = line.spot;
        EXPECT_EQ(s.spotter, c.spotter);
        EXPECT_EQ(line.from, c.spotter);
        EXPECT_DOUBLE_EQ(s.kilohertz, c.kilohertz);
        EXPECT_EQ(s.call, c.call);
        EXPECT_EQ(s.comment, c.comment);
        EXPECT_EQ(s.utcMinutes, c.utcMinutes);
        EXPECT_EQ(s.spotterLocator, c.locator);
        EXPECT_EQ(s.spotterZone, c.zone);
        EXPECT_EQ(s.band, c.band);
        EXPECT_EQ(s.mode, c.mode);
        EXPECT_EQ(s.time, SpotTime(c.utcMinutes, kNoon));
    }
}

TEST(ClusterLine, IgnoresBrokenSpots) {
    for (const char* text : {
             "DX de W3LPL 14025.0 JA1ABC CW 2159Z",            // no colon after the spotter
             "DX de W3LPL:     14025.0  JA1ABC       CW 599",  // no time
             "DX de W3LPL: 14025.0 JA1ABC CW 2460Z",           // no such time
             "DX de W3LPL: 14025.0 JA1ABC CW 2159Z FN20 x",    // words after the square
             "DX de W3LPL: 14.025.0 JA1ABC 2159Z",             // not a frequency
             "DX de W3LPL: 1402500000.0 JA1ABC 2159Z",         // ten digits
             "DX de W3LPL: 14025.000 JA1ABC 2159Z",            // three decimals
             "DX de W3LPL: 14025.0 JA1<ABC> 2159Z",            // not a call
             "DX de : 14025.0 JA1ABC 2159Z",                   // no spotter
             "DX de W3 LPL: 14025.0 JA1ABC 2159Z",             // a spotter in two words
             "DX de W3LPL: 14025.0 2159Z",                     // no call
         }) {
        EXPECT_EQ(ReadLine(text, kNoon).kind, LineKind::kIgnored) << text;
    }
}

TEST(ClusterLine, ClassifiesWhatTheSessionActsOn) {
    const struct {
        const char* line;
        LineKind kind;
        const char* from;
    } cases[] = {
        {"WWV de W0MU <18>:   SFI=68, A=8, K=2, No Storms -> No Storms", LineKind::kWwv, "W0MU"},
        {"WCY de DK0WCY-2 <18> : K=2 expK=2 A=8 R=41 SFI=105 SA=qui", LineKind::kWcy, "DK0WCY-2"},
        {"To ALL de SV5FRI: QRV 6m tonight", LineKind::kAnnouncement, "SV5FRI"},
        {"To K1ABC de G4XYZ: hi Bob", LineKind::kTalk, "G4XYZ"},
        {"K1ABC de G4XYZ: hi Bob", LineKind::kTalk, "G4XYZ"},
        {"login: ", LineKind::kLoginPrompt, ""},
        {"\x1b[0mpassword:", LineKind::kPasswordPrompt, ""},
        {"Sorry, K1ABC is already logged on", LineKind::kRejected, ""},
        {"Dupe call K1ABC, disconnecting", LineKind::kRejected, ""},
        {"K1ABC de GB7DJK 21-Dec-2026 1200Z dxspider >", LineKind::kPrompt, ""},
        {"Hello K1ABC, this is GB7DJK in Manchester", LineKind::kIgnored, ""},
        {"\a\r\n", LineKind::kIgnored, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const Line line = ReadLine(c.line, kNoon);
        EXPECT_EQ(line.kind, c.kind);
        EXPECT_EQ(line.from, c.from);
    }
}

TEST(ClusterLine, CleansControlBytesWithoutEatingText) {
    EXPECT_EQ(CleanLine("\a\x1b[1;31mK1ABC\x1b[0m\tde\r\n"), "K1ABC de");
    EXPECT_EQ(CleanLine("a\x1b[12"), "a");             // cut inside a sequence
    EXPECT_EQ(CleanLine("a\x1b[1\x01text"), "atext");  // broken by a control byte
    EXPECT_EQ(CleanLine(QByteArrayView("a\x1bZb\x7f\0c", 7)),
              "aZbc");  // ESC without '[' goes alone
}

// A spot's HHMM is today's unless that lies more than two minutes ahead of the clock.
TEST(ClusterLine, DatesSpotsTodayOrYesterday) {
    const struct {
        int utcMinutes;
        std::int64_t now;
        std::int64_t expected;
    } cases[] = {
        {719, kNoon, kDayStart + 719 * 60},          // 11:59, a minute ago
        {722, kNoon, kDayStart + 722 * 60},          // 12:02, the node's clock ahead
        {723, kNoon, kDayStart + 723 * 60 - 86400},  // 12:03: yesterday's
        {1439, kDayStart + 30, kDayStart - 60},      // 23:59 seen after midnight
        {0, kDayStart - 30, kDayStart},              // 00:00 seen just before it
        {1439, -30, -60},                            // before 1970
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SpotTime(c.utcMinutes, c.now), c.expected) << c.utcMinutes << " " << c.now;
    }
}

TEST(ClusterLine, BandsAndModes) {
    const struct {
        double kilohertz;
        const char* comment;
        const char* band;
        const char* mode;
    } cases[] = {
        {1800.0, "", "160m", "CW"},
        {1999.9, "", "160m", "SSB"},
        {2000.0, "", "", ""},
        {5357.0, "", "60m", "FT8"},
        {7025.0, "", "40m", "CW"},
        {14077.0, "", "20m", "FT8"},
        {14077.5, "", "20m", ""},
        {14250.0, "", "20m", "SSB"},
        {18100.0, "", "17m", "FT8"},
        {28074.0, "", "10m", "FT8"},
        {50313.0, "", "6m", "FT8"},
        {144300.0, "", "2m", "SSB"},
        {432050.0, "", "70cm", "CW"},
        {14085.0, "rtty contest", "20m", "RTTY"},
        {14070.5, "BPSK31 cq", "20m", "BPSK31"},
        {7150.0, "lsb!", "40m", "LSB"},
        {21074.0, "FT4? no: ft8", "15m", "FT4"},
        {21300.0, "tnx QSO", "15m", "SSB"},
        {14030.0, "CWT", "20m", "CW"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.kilohertz) + " " + c.comment);
        EXPECT_EQ(BandOf(c.kilohertz), c.band);
        EXPECT_EQ(ModeOf(QString::fromLatin1(c.comment), c.kilohertz), c.mode);
    }
}

TEST(ClusterLine, SplitsTheStreamIntoLines) {
    LineSplitter splitter;
    EXPECT_TRUE(splitter.Feed("DX de W3LPL:  14025.0 JA1").isEmpty());
    EXPECT_EQ(splitter.Feed("ABC CW 2159Z\r\nWWV de"),
              QList<QByteArray>{"DX de W3LPL:  14025.0 JA1ABC CW 2159Z"});
    EXPECT_EQ(splitter.Feed(" W0MU <18>: K=2\n\r\nWelcome\rlogin"),
              (QList<QByteArray>{"WWV de W0MU <18>: K=2", "Welcome"}));
    // The prompt waits for an answer: it is given without its line end, once.
    EXPECT_EQ(splitter.Feed(": "), QList<QByteArray>{"login: "});
    EXPECT_TRUE(splitter.Feed("\r\n").isEmpty());
    EXPECT_EQ(splitter.Feed("password: "), QList<QByteArray>{"password: "});

    // A line of exactly the limit is kept; one byte more and it goes whole, up to its line end.
    const QByteArray longest(kMaxLineBytes, 'x');
    EXPECT_EQ(splitter.Feed(longest + "\n"), QList<QByteArray>{longest});
    EXPECT_TRUE(splitter.Feed(longest + "y\n").isEmpty());
    EXPECT_TRUE(splitter.Feed(QByteArray(100000, 'z')).isEmpty());
    EXPECT_LE(splitter.pendingBytes(), kMaxLineBytes);
    EXPECT_EQ(splitter.Feed("still the long line\nlogin: "), QList<QByteArray>{"login: "});
    EXPECT_EQ(splitter.droppedLines(), 2);
}

}  // namespace
}  // namespace orbida::stations::cluster
