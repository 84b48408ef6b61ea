#include "cities/home_entry.h"

#include <QCoreApplication>
#include <QStringList>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "geodesy/locator.h"

namespace orbida::cities {
namespace {

HomeEntry Refuse(const QString& reason) {
    HomeEntry entry;
    entry.reason = reason;
    return entry;
}

// Letters and digits alternating by pairs as a locator's are, whatever their values: such a text
// is meant as a locator, and one out of range is refused as a locator.
bool LocatorShaped(const QString& text) {
    const qsizetype n = text.size();
    if (n != 4 && n != 6 && n != 8 && n != 10) {
        return false;
    }
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        const bool digitPair = (i / 2) % 2 == 1;
        const bool isDigit = c >= u'0' && c <= u'9';
        const bool isLetter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
        if (digitPair ? !isDigit : !isLetter) {
            return false;
        }
    }
    return true;
}

// A text that begins as a locator does (a field from AA to RR, a square) and goes on as one up to
// its last character without being a whole locator: "JN18E", "JN18EU5", "JN18EU5A". It is a
// locator mistyped, not a callsign of Japan.
bool LocatorTypo(const QString& text) {
    const qsizetype n = text.size();
    if (n < 5 || n > 10) {
        return false;
    }
    for (qsizetype i = 0; i + 1 < n; ++i) {
        const char16_t c = QChar(text[i]).toUpper().unicode();
        const bool digitPair = (i / 2) % 2 == 1;
        const bool isDigit = c >= u'0' && c <= u'9';
        const bool isLetter = c >= u'A' && c <= (i < 2 ? u'R' : u'Z');
        if (digitPair ? !isDigit : !isLetter) {
            return false;
        }
    }
    return true;
}

// Letters, digits and strokes only, with at least one letter and one digit, as every callsign
// ("F4ABC", "EA8/DL1ABC", "W1AW/MM") and every numbered prefix ("3B8", "VK0") has. A word
// without a digit is a misspelt city more likely than a prefix: "Lyon" would read as Lithuania.
bool CallsignShaped(const QString& text) {
    constexpr qsizetype kLongest = 32;
    if (text.size() > kLongest) {
        return false;
    }
    bool letter = false;
    bool digit = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool isLetter = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        const bool isDigit = u >= u'0' && u <= u'9';
        if (!isLetter && !isDigit && u != u'/') {
            return false;
        }
        letter = letter || isLetter;
        digit = digit || isDigit;
    }
    return letter && digit;
}

// One piece of written coordinates.
struct Token {
    enum Kind { Number, Mark, Hemisphere } kind = Number;
    double value = 0.0;
    bool fraction = false;  // Number: written with a decimal point
    int mark = 0;           // Mark: 0 degrees, 1 minutes, 2 seconds
    char16_t letter = 0;    // Hemisphere: N, S, E or W (O is read as W)
};

// Splits the text into numbers, unit marks and hemisphere letters; blanks, commas and semicolons
// separate. A comma between two digits is a decimal comma ("48,85N"). Anything else refuses.
std::optional<std::vector<Token>> Tokenise(const QString& text, QString& reason) {
    std::vector<Token> tokens;
    const qsizetype n = text.size();
    const auto isDigit = [&](qsizetype i) {
        return i >= 0 && i < n && text[i] >= u'0' && text[i] <= u'9';
    };
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = text[i].unicode();
        if (isDigit(i) || (c == u'.' && isDigit(i + 1))) {
            std::string number;
            bool point = false;
            while (i < n) {
                if (isDigit(i)) {
                    number += static_cast<char>(text[i].unicode());
                } else if ((text[i] == u'.' || text[i] == u',') && !point && isDigit(i + 1) &&
                           (text[i] == u'.' || isDigit(i - 1))) {
                    number += '.';
                    point = true;
                } else {
                    break;
                }
                ++i;
            }
            if (number.size() > 32) {
                reason = QCoreApplication::translate("HomeEntry", "Nombre trop long.");
                return std::nullopt;
            }
            Token t;
            t.value = QByteArray::fromStdString(number).toDouble();  // C notation, any locale
            t.fraction = point;
            tokens.push_back(t);
            continue;
        }
        Token t;
        const char16_t upper = QChar(c).toUpper().unicode();
        if (c == u' ' || c == u'\t' || c == u',' || c == u';' || c == u'\u00A0') {
            ++i;
            continue;
        }
        if (c == u'°' || c == u'º') {
            t.kind = Token::Mark;
            t.mark = 0;
        } else if (c == u'\'' || c == u'\u2032' || c == u'\u2019') {
            t.kind = Token::Mark;
            t.mark = 1;
            if (i + 1 < n &&
                (text[i + 1] == u'\'' || text[i + 1] == u'\u2032' || text[i + 1] == u'\u2019')) {
                t.mark = 2;  // two single quotes for seconds
                ++i;
            }
        } else if (c == u'"' || c == u'\u2033' || c == u'\u201D') {
            t.kind = Token::Mark;
            t.mark = 2;
        } else if (upper == u'N' || upper == u'S' || upper == u'E' || upper == u'W' ||
                   upper == u'O') {
            t.kind = Token::Hemisphere;
            t.letter = upper == u'O' ? u'W' : upper;
        } else {
            reason = QCoreApplication::translate("HomeEntry", "Caractère inattendu « %1 ».")
                         .arg(QChar(c));
            return std::nullopt;
        }
        tokens.push_back(t);
        ++i;
    }
    return tokens;
}

// One coordinate: its letter and up to three numbers, degrees, minutes and seconds.
struct Group {
    char16_t letter = 0;
    std::array<double, 3> parts{};
    int count = 0;
    int nextMark = 0;     // the next unit a mark may name
    bool closed = false;  // a number with a fraction was the last one allowed
};

// Adds a number to the group; false when the coordinate cannot hold it.
bool AddNumber(Group& g, const Token& t) {
    if (g.count >= 3 || g.closed) {
        return false;
    }
    g.parts[static_cast<std::size_t>(g.count++)] = t.value;
    g.closed = t.fraction;
    return true;
}

// A mark names the unit of the number just before it: units go down from degrees and skip none
// written before.
bool AddMark(Group& g, const Token& t) {
    if (g.count == 0 || t.mark != g.count - 1 || t.mark < g.nextMark) {
        return false;
    }
    g.nextMark = t.mark + 1;
    return true;
}

std::optional<std::vector<Group>> GroupTokens(const std::vector<Token>& tokens, QString& reason) {
    const QString malformed = QCoreApplication::translate(
        "HomeEntry", "Coordonnées illisibles : écrivez par exemple « 48.8566N 2.3522E ».");
    std::vector<Group> groups;
    bool letterFirst = !tokens.empty() && tokens.front().kind == Token::Hemisphere;
    Group current;
    bool open = false;
    for (const Token& t : tokens) {
        if (t.kind == Token::Hemisphere) {
            if (letterFirst) {
                if (open) {
                    groups.push_back(current);
                }
                current = Group{};
                current.letter = t.letter;
                open = true;
            } else {
                if (!open || current.count == 0) {
                    reason = malformed;
                    return std::nullopt;
                }
                current.letter = t.letter;
                groups.push_back(current);
                current = Group{};
                open = false;
            }
            continue;
        }
        if (!open) {
            current = Group{};
            open = true;
        }
        const bool ok = t.kind == Token::Number ? AddNumber(current, t) : AddMark(current, t);
        if (!ok) {
            reason = malformed;
            return std::nullopt;
        }
    }
    if (open) {
        if (!letterFirst) {
            reason = QCoreApplication::translate(
                "HomeEntry", "Il manque la lettre N, S, E ou O de chaque coordonnée.");
            return std::nullopt;
        }
        groups.push_back(current);
    }
    for (const Group& g : groups) {
        if (g.count == 0) {
            reason = malformed;
            return std::nullopt;
        }
    }
    return groups;
}

HomeEntry ReadCoordinates(const QString& text) {
    bool hasDigit = false;
    for (const QChar c : text) {
        hasDigit = hasDigit || (c >= u'0' && c <= u'9');
    }
    if (!hasDigit) {
        return Refuse(QCoreApplication::translate("HomeEntry",
                                                  "Aucune ville ne commence par «\u00a0%1\u00a0»")
                          .arg(text));
    }
    HomeEntry refused;
    const auto tokens = Tokenise(text, refused.reason);
    if (!tokens) {
        return refused;
    }
    bool hasLetter = false;
    for (const Token& t : *tokens) {
        hasLetter = hasLetter || t.kind == Token::Hemisphere;
    }
    if (!hasLetter) {
        return Refuse(QCoreApplication::translate(
            "HomeEntry", "Il manque la lettre N, S, E ou O de chaque coordonnée."));
    }
    const auto groups = GroupTokens(*tokens, refused.reason);
    if (!groups) {
        return refused;
    }
    if (groups->size() != 2) {
        return Refuse(
            QCoreApplication::translate("HomeEntry",
                                        "Il faut deux coordonnées : une latitude (N ou S) et une "
                                        "longitude (E ou O)."));
    }
    const auto isLatitude = [](const Group& g) { return g.letter == u'N' || g.letter == u'S'; };
    const Group& first = (*groups)[0];
    const Group& second = (*groups)[1];
    if (isLatitude(first) == isLatitude(second)) {
        return Refuse(
            isLatitude(first)
                ? QCoreApplication::translate(
                      "HomeEntry",
                      "Deux latitudes : il faut une latitude (N ou S) et une "
                      "longitude (E ou O).")
                : QCoreApplication::translate("HomeEntry",
                                              "Deux longitudes : il faut une latitude (N ou S) et "
                                              "une longitude (E ou O)."));
    }
    const Group& lat = isLatitude(first) ? first : second;
    const Group& lon = isLatitude(first) ? second : first;
    for (const Group* g : {&lat, &lon}) {
        if ((g->count > 1 && g->parts[1] >= 60.0) || (g->count > 2 && g->parts[2] >= 60.0)) {
            return Refuse(
                QCoreApplication::translate("HomeEntry", "Minutes et secondes vont de 0 à 59."));
        }
    }
    const auto degrees = [](const Group& g) {
        return g.parts[0] + g.parts[1] / 60.0 + g.parts[2] / 3600.0;
    };
    const double latitude = degrees(lat);
    const double longitude = degrees(lon);
    if (!(latitude <= 90.0)) {
        return Refuse(
            QCoreApplication::translate("HomeEntry", "Latitude hors limites : 90° au plus."));
    }
    if (!(longitude <= 180.0)) {
        return Refuse(
            QCoreApplication::translate("HomeEntry", "Longitude hors limites : 180° au plus."));
    }
    HomeEntry entry;
    entry.kind = HomeKind::Coordinates;
    // Adding 0.0 keeps a zero positive whatever its letter.
    entry.point.latitude = (lat.letter == u'S' ? -latitude : latitude) + 0.0;
    entry.point.longitude = (lon.letter == u'E' ? -longitude : longitude) + 0.0;  // west positive
    entry.name = text;
    return entry;
}

}  // namespace

int FindCityByPrefix(const QStringList& names, const QString& typed) {
    const QString wanted = FoldForMatch(typed.trimmed());
    if (wanted.isEmpty()) {
        return -1;
    }
    int prefix = -1;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString name = FoldForMatch(names[i]);
        if (name == wanted) {
            return static_cast<int>(i);
        }
        if (prefix < 0 && name.startsWith(wanted)) {
            prefix = static_cast<int>(i);
        }
    }
    return prefix;
}

HomeEntry ReadHomeEntry(const QString& typed, const CityLookup& findCity) {
    const QString text = typed.simplified();
    if (text.isEmpty()) {
        return {};
    }
    if (findCity) {
        const int index = findCity(text);
        if (index >= 0) {
            HomeEntry entry;
            entry.kind = HomeKind::City;
            entry.cityIndex = index;
            return entry;
        }
    }
    if (LocatorShaped(text)) {
        const QByteArray latin = text.toLatin1();
        const auto centre = geodesy::LocatorCentre(
            std::string_view(latin.constData(), static_cast<std::size_t>(latin.size())));
        if (!centre) {
            return Refuse(QCoreApplication::translate(
                "HomeEntry",
                "Locator hors limites : lettres de A à R, chiffres de 0 à "
                "9, puis lettres de A à X."));
        }
        HomeEntry entry;
        entry.kind = HomeKind::Locator;
        entry.point = *centre;
        entry.locator = text.toUpper();
        entry.name = entry.locator;
        return entry;
    }
    HomeEntry entry = ReadCoordinates(text);
    if (entry.kind == HomeKind::Refused && LocatorTypo(text)) {
        return Refuse(QCoreApplication::translate(
            "HomeEntry",
            "Locator incomplet : 4, 6, 8 ou 10 caractères, lettres et chiffres "
            "par paires (JN18EU)."));
    }
    if (entry.kind != HomeKind::Refused || !CallsignShaped(text)) {
        return entry;
    }
    // Last, a callsign: its country is looked up by the caller, who has the country file. A text
    // made only of numbers and hemisphere letters ("48N") keeps the coordinates' reason, for
    // when no country fits.
    HomeEntry callsign;
    callsign.kind = HomeKind::Callsign;
    callsign.name = text.toUpper();
    QString unused;
    if (Tokenise(text, unused)) {
        callsign.reason = entry.reason;
    }
    return callsign;
}

}  // namespace orbida::cities
