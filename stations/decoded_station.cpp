#include "stations/decoded_station.h"

#include <QStringList>
#include <algorithm>
#include <vector>

namespace orbida::stations {
namespace {

bool IsUpper(QChar c) {
    return c >= u'A' && c <= u'Z';
}
bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// What may follow CQ, QRZ or DE to direct the call: DX, one to four letters ("NA", "POTA") or
// three digits (a frequency to answer on).
bool IsDirection(const QString& word) {
    if (word.size() >= 1 && word.size() <= 4 &&
        std::all_of(word.begin(), word.end(), [](QChar c) { return IsUpper(c); })) {
        return true;
    }
    return word.size() == 3 &&
           std::all_of(word.begin(), word.end(), [](QChar c) { return IsDigit(c); });
}

// The base of a call with a prefix or suffix: its longest part between slashes.
QString BaseCall(const QString& call) {
    QString base;
    for (const QString& part : call.split(u'/')) {
        if (part.size() > base.size()) {
            base = part;
        }
    }
    return base;
}

bool IsMyCall(const QString& word, const QString& myCall) {
    if (myCall.isEmpty()) {
        return false;
    }
    return word == myCall || BaseCall(word) == BaseCall(myCall);
}

bool IsSquare(const QString& word) {
    return word.size() == 4 && word[0] >= u'A' && word[0] <= u'R' && word[1] >= u'A' &&
           word[1] <= u'R' && IsDigit(word[2]) && IsDigit(word[3]);
}

bool IsSubsquareLetter(QChar c) {
    return c >= u'A' && c <= u'X';
}

}  // namespace

bool LooksLikeCall(const QString& word) {
    if (word.size() < 3 || word.size() > 13) {
        return false;
    }
    bool hasCallPart = false;
    for (const QString& part : word.split(u'/')) {
        for (const QChar c : part) {
            if (!IsUpper(c) && !IsDigit(c)) {
                return false;
            }
        }
        const bool hasDigit = std::any_of(part.begin(), part.end(), IsDigit);
        if (hasDigit && IsUpper(part.back())) {
            hasCallPart = true;
        }
    }
    return hasCallPart;
}

bool IsGridSquare(const QString& word) {
    return IsSquare(word) && word != u"RR73";
}

std::optional<DecodedStation> StationFromText(const QString& text, const QString& myCall) {
    QString message = text;
    // A DXpedition's double message ("K1ABC RR73; W9XYZ <G4ABC> -12") and a contest's "TU; ":
    // the station is in the part after the semicolon.
    const qsizetype semicolon = message.indexOf(u"; ");
    if (semicolon >= 0) {
        message = message.mid(semicolon + 2);
    }
    // What WSJT-X may append ("?" for low confidence, "a1" for an a-priori decode) comes after
    // the words read here and is never taken for a call or a square.
    QStringList words = message.split(u' ', Qt::SkipEmptyParts);
    // Hashed calls lose their brackets; "<...>", a hash WSJT-X could not resolve, becomes "...",
    // which is no call.
    std::vector<bool> hashed(static_cast<std::size_t>(words.size()), false);
    for (qsizetype i = 0; i < words.size(); ++i) {
        QString& word = words[i];
        if (word.size() > 2 && word.startsWith(u'<') && word.endsWith(u'>')) {
            word = word.mid(1, word.size() - 2);
            hashed[static_cast<std::size_t>(i)] = true;
        }
    }

    // The first word: CQ, QRZ or DE with their direction, or the call of the station addressed.
    StationKind kind = StationKind::kOther;
    qsizetype next = 1;
    if (words.size() < 2) {
        return std::nullopt;
    }
    const QString& first = words[0];
    if (first == u"CQ" || first == u"QRZ" || first == u"DE") {
        const bool directed = words.size() >= 3 && IsDirection(words[1]);
        if (directed) {
            next = 2;
        }
        if (first != u"DE") {
            kind = directed ? StationKind::kCqDirected : StationKind::kCq;
        }
    } else if (first == u"CQDX" || first == u"QRZDX") {
        kind = StationKind::kCqDirected;
    } else if (LooksLikeCall(first)) {
        kind = IsMyCall(first, myCall) ? StationKind::kCallingMe : StationKind::kOther;
    } else if (first != u"...") {
        return std::nullopt;  // free text
    }

    const QString& call = words[next];
    if (!LooksLikeCall(call)) {
        return std::nullopt;
    }
    DecodedStation station;
    station.call = call;
    station.kind = kind;
    station.hashed = hashed[static_cast<std::size_t>(next)];
    // The word after the call is a square, a report, RRR, RR73 or 73; "R" before a square is
    // the roger of a VHF contest exchange.
    qsizetype gridAt = next + 1;
    if (gridAt < words.size() && words[gridAt] == u"R") {
        ++gridAt;
    }
    if (gridAt < words.size() && IsGridSquare(words[gridAt])) {
        station.grid = words[gridAt];
    }
    return station;
}

std::optional<DecodedStation> StationFromDecode(const wsjtx::Decode& decode,
                                                const QString& myCall) {
    return StationFromText(QString::fromUtf8(decode.message), myCall);
}

std::optional<DecodedStation> StationFromWspr(const wsjtx::WsprDecode& decode) {
    QString call = QString::fromUtf8(decode.callsign).trimmed();
    DecodedStation station;
    if (call.startsWith(u'<') && call.endsWith(u'>')) {
        call = call.mid(1, call.size() - 2);
        station.hashed = true;
    }
    if (!LooksLikeCall(call)) {
        return std::nullopt;
    }
    station.call = call;
    const QString grid = QString::fromUtf8(decode.grid).trimmed().toUpper();
    if (IsSquare(grid.left(4)) &&
        (grid.size() == 4 ||
         (grid.size() == 6 && IsSubsquareLetter(grid[4]) && IsSubsquareLetter(grid[5])))) {
        station.grid = grid;
    }
    return station;
}

}  // namespace orbida::stations
