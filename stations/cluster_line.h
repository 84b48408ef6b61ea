#pragma once

// What a DX cluster node (DX Spider, AR-Cluster, CC Cluster) writes to a telnet session, line by
// line: spots, propagation bulletins, announcements, the login dialogue and the rest. Lines are
// read by their content, not by fixed columns: nodes pad differently, long calls and frequencies
// push the fields along, and skimmer spotters carry suffixes such as "-#".
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <cstdint>
#include <string_view>

namespace orbida::stations::cluster {

// The longest line kept. A node's lines are well under 100 characters; anything longer than this
// is dropped whole rather than let a hostile peer grow the buffer.
inline constexpr qsizetype kMaxLineBytes = 1024;
// How far a spot's time may run ahead of the local clock and still be today's: the node's clock
// and ours are rarely exact.
inline constexpr std::int64_t kClockSkewSeconds = 120;

enum class LineKind {
    kIgnored,         // anything else: banners, blank lines, command output
    kSpot,            // "DX de W3LPL: 14025.0 JA1ABC ..."
    kWwv,             // "WWV de W0MU <18>: SFI=68, A=8, K=2 ..."
    kWcy,             // "WCY de DK0WCY-2 <18> : K=2 expK=2 ..."
    kAnnouncement,    // "To ALL de SV5FRI: ..."
    kTalk,            // "To K1ABC de G4XYZ: ..." addressed to one station
    kLoginPrompt,     // "login:", "Please enter your call:"
    kPasswordPrompt,  // "password:"
    kRejected,        // the node refuses the call: "already logged on", "Dupe call"
    kPrompt,          // the node waits for a command: "K1ABC de GB7DJK 21-Dec-2026 1200Z >"
};

struct Spot {
    QString spotter;         // without the colon; "PJ2A-#", "DL1ABC-2" kept whole
    double kilohertz = 0.0;  // 0 when the node sent 0
    QString call;            // the station spotted
    QString comment;         // trimmed; may be empty
    int utcMinutes = 0;      // the HHMM given, as minutes into the UTC day
    std::int64_t time = 0;   // the same as seconds since 1970 UTC, see SpotTime
    QString spotterLocator;  // "FN20" or "FN20ab" when the node appends it, else empty
    int spotterZone = 0;     // a zone the node appends instead, else 0
    QString band;            // "20m"; empty when the frequency is in no amateur band
    QString mode;            // "CW", "SSB", "FT8"…; empty when neither comment nor plan tells
};

struct Line {
    LineKind kind = LineKind::kIgnored;
    QString text;  // the line cleaned of bells, colour codes and control characters
    QString from;  // the sender of a bulletin, announcement or talk
    Spot spot;     // when kind is kSpot
};

// Reads one line as the node sent it (with or without its line end). `now` is the local clock
// (seconds since 1970 UTC), which dates a spot's HHMM.
Line ReadLine(QByteArrayView raw, std::int64_t now);

// The line without BEL, CR, ANSI escape sequences (ESC [ … letter) and other control characters;
// a tab becomes a space.
QByteArray CleanLine(QByteArrayView raw);

// The instant a spot's HHMM names: the last time the UTC clock showed it, counting up to
// kClockSkewSeconds past `now` as already shown (the node's clock may run ahead of ours).
std::int64_t SpotTime(int utcMinutes, std::int64_t now);

// The amateur band holding a frequency ("160m" to "23cm", 60 m, 6 m, 4 m and 2 m included), or an
// empty view.
std::string_view BandOf(double kilohertz);
// The mode a spot's comment names ("CW", "SSB", "USB", "LSB", "FT8", "FT4", "RTTY", "PSK31",
// "JT65"…), or else the one the band plan gives the frequency: CW at each band's bottom, FT8
// within 3 kHz of its dial frequencies, SSB in the phone segments. Empty when neither tells.
QString ModeOf(const QString& comment, double kilohertz);

// Cuts the bytes of a TCP stream into lines. A line end is LF, CR or CR LF; empty lines are
// skipped. A prompt that the node leaves open ("login: ") is given at once, since the node waits
// for the answer before it sends a line end. A line longer than kMaxLineBytes is dropped whole.
class LineSplitter {
  public:
    // The lines completed by these bytes, without their line ends.
    QList<QByteArray> Feed(QByteArrayView bytes);
    qsizetype pendingBytes() const { return pending_.size(); }
    int droppedLines() const { return dropped_; }

  private:
    void Complete(QList<QByteArray>& lines);

    QByteArray pending_;
    bool overlong_ = false;  // inside a line already too long: skip to its end
    int dropped_ = 0;
};

}  // namespace orbida::stations::cluster
