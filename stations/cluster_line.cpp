#include "stations/cluster_line.h"

#include <QStringList>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace orbida::stations::cluster {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

struct Token {
    qsizetype start = 0;
    qsizetype end = 0;  // one past the last character
};

// The words of a line, split on spaces, with where each lies.
QList<Token> Tokens(const QString& text, qsizetype from) {
    QList<Token> tokens;
    qsizetype i = from;
    while (i < text.size()) {
        while (i < text.size() && text[i] == u' ') {
            ++i;
        }
        const qsizetype start = i;
        while (i < text.size() && text[i] != u' ') {
            ++i;
        }
        if (i > start) {
            tokens.append({start, i});
        }
    }
    return tokens;
}

QString Word(const QString& text, Token t) {
    return text.mid(t.start, t.end - t.start);
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool IsLetter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// A station's call as nodes write it: letters, digits and slashes, and for a spotter the
// suffixes of a node's connection ("-2") or a skimmer ("-#").
bool IsCallText(const QString& word, bool spotter) {
    if (word.isEmpty() || word.size() > 20) {
        return false;
    }
    bool letterOrDigit = false;
    for (const QChar c : word) {
        if (IsDigit(c) || IsLetter(c)) {
            letterOrDigit = true;
        } else if (c != u'/' && !(spotter && (c == u'-' || c == u'#'))) {
            return false;
        }
    }
    return letterOrDigit;
}

// "14025", "14025.0" or "14025.00": up to nine digits, so that any value fits a double exactly.
std::optional<double> Frequency(const QString& word) {
    const qsizetype dot = word.indexOf(u'.');
    const qsizetype whole = dot < 0 ? word.size() : dot;
    const qsizetype decimals = dot < 0 ? 0 : word.size() - dot - 1;
    if (whole < 1 || whole > 9 || (dot >= 0 && (decimals < 1 || decimals > 2))) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (i != dot && !IsDigit(word[i])) {
            return std::nullopt;
        }
    }
    return word.toDouble();
}

// "2159Z" as minutes into the day.
std::optional<int> UtcMinutes(const QString& word) {
    if (word.size() != 5 || (word[4] != u'Z' && word[4] != u'z')) {
        return std::nullopt;
    }
    for (int i = 0; i < 4; ++i) {
        if (!IsDigit(word[i])) {
            return std::nullopt;
        }
    }
    const int hours = word.left(2).toInt();
    const int minutes = word.mid(2, 2).toInt();
    if (hours > 23 || minutes > 59) {
        return std::nullopt;
    }
    return hours * 60 + minutes;
}

bool IsLocator(const QString& word) {
    if (word.size() != 4 && word.size() != 6) {
        return false;
    }
    const auto in = [](QChar c, char first, char last) {
        const QChar upper = c.toUpper();
        return upper >= QChar::fromLatin1(first) && upper <= QChar::fromLatin1(last);
    };
    return in(word[0], 'A', 'R') && in(word[1], 'A', 'R') && IsDigit(word[2]) && IsDigit(word[3]) &&
           (word.size() == 4 || (in(word[4], 'A', 'X') && in(word[5], 'A', 'X')));
}

// A CQ or ITU zone that some nodes append after the time.
int Zone(const QString& word) {
    if (word.isEmpty() || word.size() > 2 || !IsDigit(word[0]) ||
        (word.size() == 2 && !IsDigit(word[1]))) {
        return 0;
    }
    const int zone = word.toInt();
    return zone >= 1 && zone <= 90 ? zone : 0;
}

// "DX de W3LPL:     14025.0  JA1ABC       CW 599 tnx                     2159Z FN20".
// `from` is where the spotter's call may start, after "de".
bool ReadSpot(const QString& text, qsizetype from, std::int64_t now, Spot& spot) {
    const qsizetype colon = text.indexOf(u':', from);
    if (colon < 0) {
        return false;
    }
    spot.spotter = text.mid(from, colon - from).trimmed();
    if (!IsCallText(spot.spotter, true)) {
        return false;
    }
    const QList<Token> tokens = Tokens(text, colon + 1);
    if (tokens.size() < 3) {
        return false;
    }
    const std::optional<double> kilohertz = Frequency(Word(text, tokens[0]));
    spot.call = Word(text, tokens[1]);
    if (!kilohertz || !IsCallText(spot.call, false)) {
        return false;
    }
    // The time closes the line, or comes just before the spotter's locator or zone.
    qsizetype timeAt = tokens.size() - 1;
    std::optional<int> minutes = UtcMinutes(Word(text, tokens[timeAt]));
    if (!minutes && timeAt > 2) {
        const QString last = Word(text, tokens[timeAt]);
        if (IsLocator(last)) {
            spot.spotterLocator = last.toUpper();
        } else {
            spot.spotterZone = Zone(last);
        }
        if (!spot.spotterLocator.isEmpty() || spot.spotterZone != 0) {
            --timeAt;
            minutes = UtcMinutes(Word(text, tokens[timeAt]));
        }
    }
    if (!minutes) {
        return false;
    }
    spot.kilohertz = *kilohertz;
    spot.comment = text.mid(tokens[1].end, tokens[timeAt].start - tokens[1].end).trimmed();
    spot.utcMinutes = *minutes;
    spot.time = SpotTime(*minutes, now);
    spot.band = QString::fromLatin1(BandOf(spot.kilohertz));
    spot.mode = ModeOf(spot.comment, spot.kilohertz);
    return true;
}

// The call after "de" in "WWV de W0MU <18>:" or "To ALL de SV5FRI:".
QString Sender(const QString& word) {
    QString sender = word;
    while (sender.endsWith(u':')) {
        sender.chop(1);
    }
    return sender;
}

bool IsOpenPrompt(QByteArrayView pending) {
    const LineKind kind = ReadLine(pending, 0).kind;
    return kind == LineKind::kLoginPrompt || kind == LineKind::kPasswordPrompt ||
           kind == LineKind::kPrompt;
}

struct Segment {
    double low;   // kHz, included
    double high;  // kHz, excluded
    const char* name;
};

// The amateur allocations of the three ITU regions together.
constexpr std::array<Segment, 15> kBands = {{
    {1800, 2000, "160m"},
    {3500, 4000, "80m"},
    {5250, 5450, "60m"},
    {7000, 7300, "40m"},
    {10100, 10150, "30m"},
    {14000, 14350, "20m"},
    {18068, 18168, "17m"},
    {21000, 21450, "15m"},
    {24890, 24990, "12m"},
    {28000, 29700, "10m"},
    {50000, 54000, "6m"},
    {70000, 70500, "4m"},
    {144000, 148000, "2m"},
    {420000, 450000, "70cm"},
    {1240000, 1300000, "23cm"},
}};

// FT8's dial frequencies; its signals lie within 3 kHz of them.
constexpr std::array<double, 13> kFt8Dials = {1840,  3573,  5357,  7074,  10136, 14074, 18100,
                                              21074, 24915, 28074, 50313, 70154, 144174};

// The CW segment at each band's bottom and the phone segments, where most of the traffic is.
constexpr std::array<Segment, 22> kPlan = {{
    {1800, 1838, "CW"},      {1843, 2000, "SSB"},    {3500, 3570, "CW"},    {3600, 4000, "SSB"},
    {7000, 7040, "CW"},      {7060, 7300, "SSB"},    {10100, 10130, "CW"},  {14000, 14070, "CW"},
    {14101, 14350, "SSB"},   {18068, 18095, "CW"},   {18111, 18168, "SSB"}, {21000, 21070, "CW"},
    {21151, 21450, "SSB"},   {24890, 24915, "CW"},   {24931, 24990, "SSB"}, {28000, 28070, "CW"},
    {28300, 29000, "SSB"},   {50000, 50100, "CW"},   {50100, 50500, "SSB"}, {144000, 144150, "CW"},
    {144150, 144400, "SSB"}, {432000, 432100, "CW"},
}};

// The words of a comment that name a mode, as skimmers and operators write them.
constexpr std::array<const char*, 23> kModeWords = {
    "CW",   "SSB", "USB",   "LSB",    "FM",     "FT8",  "FT4",  "FST4",
    "RTTY", "PSK", "PSK31", "BPSK31", "PSK63",  "JT65", "JT9",  "MSK144",
    "Q65",  "JS8", "WSPR",  "SSTV",   "OLIVIA", "MFSK", "HELL",
};

}  // namespace

QByteArray CleanLine(QByteArrayView raw) {
    QByteArray out;
    out.reserve(raw.size());
    qsizetype i = 0;
    while (i < raw.size()) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (c == 0x1B) {
            // ESC [ parameters and intermediates (0x20-0x3F), then one final byte (0x40-0x7E).
            // A sequence broken by anything else ends there, so that it swallows no text.
            ++i;
            if (i < raw.size() && raw[i] == '[') {
                ++i;
                while (i < raw.size() && raw[i] >= 0x20 && raw[i] <= 0x3F) {
                    ++i;
                }
                if (i < raw.size() && raw[i] >= 0x40 && raw[i] <= 0x7E) {
                    ++i;
                }
            }
            continue;
        }
        if (c == '\t') {
            out.append(' ');
        } else if (c >= 0x20 && c != 0x7F) {
            out.append(static_cast<char>(c));
        }
        ++i;
    }
    return out;
}

Line ReadLine(QByteArrayView raw, std::int64_t now) {
    Line line;
    line.text = QString::fromUtf8(CleanLine(raw));
    const QString& text = line.text;
    const QString lower = text.trimmed().toLower();
    const QList<Token> tokens = Tokens(text, 0);
    if (tokens.isEmpty()) {
        return line;
    }
    const auto word = [&](qsizetype i) {
        return i < tokens.size() ? Word(text, tokens[i]) : QString();
    };
    const bool secondIsDe = word(1).compare(u"de", Qt::CaseInsensitive) == 0;
    const QString first = word(0).toUpper();

    if (secondIsDe && first == u"DX") {
        if (ReadSpot(text, tokens[1].end, now, line.spot)) {
            line.kind = LineKind::kSpot;
            line.from = line.spot.spotter;
        }
        return line;
    }
    if (secondIsDe && (first == u"WWV" || first == u"WCY")) {
        line.kind = first == u"WWV" ? LineKind::kWwv : LineKind::kWcy;
        line.from = Sender(word(2));
        return line;
    }
    if (first == u"TO" && word(2).compare(u"de", Qt::CaseInsensitive) == 0 &&
        word(3).contains(u':')) {
        const QString to = word(1).toUpper();
        line.kind = to == u"ALL" || to == u"LOCAL" ? LineKind::kAnnouncement : LineKind::kTalk;
        line.from = Sender(word(3).left(word(3).indexOf(u':')));
        return line;
    }
    if (lower.contains(u"already logged on") || lower.contains(u"already connected") ||
        lower.contains(u"dupe call")) {
        line.kind = LineKind::kRejected;
        return line;
    }
    if (lower.endsWith(u"password:")) {
        line.kind = LineKind::kPasswordPrompt;
        return line;
    }
    if (lower.endsWith(u"login:") || lower.contains(u"enter your call") ||
        lower.endsWith(u"your call:") || lower.endsWith(u"callsign:")) {
        line.kind = LineKind::kLoginPrompt;
        return line;
    }
    // "G4XYZ de GB7DJK: text" is talk on DX Spider; "K1ABC de GB7DJK 21-Dec-2026 1200Z >" is the
    // prompt after a command.
    if (secondIsDe && tokens.size() >= 3 && word(2).contains(u':') && IsCallText(word(0), true)) {
        line.kind = LineKind::kTalk;
        line.from = Sender(word(2).left(word(2).indexOf(u':')));
        return line;
    }
    if (lower.endsWith(u'>') && lower.contains(u" de ")) {
        line.kind = LineKind::kPrompt;
    }
    return line;
}

std::int64_t SpotTime(int utcMinutes, std::int64_t now) {
    // The second of the UTC day `now` falls in (0 to 86399, before 1970 too), and how far the
    // spot's time lies from it: back by up to a day, or ahead by up to the skew, so that 0000Z
    // seen at 23:59:30 is the coming midnight and 1203Z seen at 12:00:40 is yesterday's.
    std::int64_t second = now % kSecondsPerDay;
    if (second < 0) {
        second += kSecondsPerDay;
    }
    std::int64_t delta = std::int64_t{utcMinutes} * 60 - second;
    if (delta > kClockSkewSeconds) {
        delta -= kSecondsPerDay;
    } else if (delta + kSecondsPerDay <= kClockSkewSeconds) {
        delta += kSecondsPerDay;
    }
    if (delta > 0 && now > std::numeric_limits<std::int64_t>::max() - delta) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (delta < 0 && now < std::numeric_limits<std::int64_t>::min() - delta) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return now + delta;
}

std::string_view BandOf(double kilohertz) {
    for (const Segment& band : kBands) {
        if (kilohertz >= band.low && kilohertz < band.high) {
            return band.name;
        }
    }
    return {};
}

QString ModeOf(const QString& comment, double kilohertz) {
    QString word;
    // A sentinel space closes the last word.
    for (const QChar c : comment + u' ') {
        if (IsLetter(c) || IsDigit(c)) {
            word += c.toUpper();
            continue;
        }
        for (const char* mode : kModeWords) {
            if (word == QLatin1String(mode)) {
                return word;
            }
        }
        word.clear();
    }
    for (const double dial : kFt8Dials) {
        if (std::abs(kilohertz - dial) <= 3.0) {
            return QStringLiteral("FT8");
        }
    }
    for (const Segment& segment : kPlan) {
        if (kilohertz >= segment.low && kilohertz < segment.high) {
            return QString::fromLatin1(segment.name);
        }
    }
    return {};
}

QList<QByteArray> LineSplitter::Feed(QByteArrayView bytes) {
    QList<QByteArray> lines;
    for (const char c : bytes) {
        if (c == '\n' || c == '\r') {
            Complete(lines);
            continue;
        }
        if (overlong_) {
            continue;
        }
        if (pending_.size() >= kMaxLineBytes) {
            overlong_ = true;
            ++dropped_;
            pending_.clear();
            continue;
        }
        pending_.append(c);
    }
    if (!overlong_ && !pending_.isEmpty() && IsOpenPrompt(pending_)) {
        Complete(lines);
    }
    return lines;
}

void LineSplitter::Complete(QList<QByteArray>& lines) {
    if (!overlong_ && !pending_.isEmpty()) {
        lines.append(pending_);
    }
    pending_.clear();
    overlong_ = false;
}

}  // namespace orbida::stations::cluster
