#include "cities/city_check.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "cities/city_file.h"
#include "cities/leading_number.h"
#include "geodesy/numbers.h"

namespace orbida::cities {
namespace {

// A line or a field shown longer than this is cut, with an ellipsis.
constexpr qsizetype kShownLineLength = 100;
constexpr qsizetype kShownFieldLength = 40;
// How many fields of a line are listed one by one.
constexpr std::size_t kShownFields = 12;

struct Field {
    std::string_view bytes;
    std::size_t offset = 0;  // in the bytes the reader saw
    bool name = false;
    double value = 0.0;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// A field that a reader would take for a number at a glance: a sign, a digit or a point first.
bool LooksNumeric(std::string_view field) {
    const std::size_t first = field.find_first_not_of(" \t\n");
    return first != std::string_view::npos && (IsDigit(field[first]) || field[first] == '-' ||
                                               field[first] == '+' || field[first] == '.');
}

// A field read as a number that goes on with words: "2 Alpes".
bool HasWords(std::string_view field) {
    return std::any_of(field.begin(), field.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        const bool letter = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        return b >= 0x80 || (letter && b != 'e' && b != 'E');
    });
}

bool AllDigits(std::string_view field) {
    return !field.empty() && std::all_of(field.begin(), field.end(), IsDigit);
}

QString Tr(const char* text) {
    return QCoreApplication::translate("CityCheck", text);
}

// A count and what it counts, as a whole phrase whose plural the language's translation chooses
// (French too: its plural forms are in the program's French translation).
QString Count(const char* text, qsizetype count) {
    return QCoreApplication::translate("CityCheck", text, nullptr, static_cast<int>(count));
}

QString Number(double value) {
    if (std::isinf(value)) {
        return value > 0 ? Tr(QT_TRANSLATE_NOOP("CityCheck", "l'infini"))
                         : Tr(QT_TRANSLATE_NOOP("CityCheck", "moins l'infini"));
    }
    return QString::number(value, 'g', 12);
}

// The start of a text, at most length characters, decoded from no more bytes than that needs
// (four per character at most), with an ellipsis when it was cut.
QString Shortened(const CityFileText& text, std::string_view bytes, qsizetype length) {
    QString decoded = text.Decode(bytes.substr(0, static_cast<std::size_t>(4 * length + 4)));
    if (decoded.size() > length) {
        decoded = decoded.left(length) + QChar(u'\u2026');
    }
    return decoded;
}

QString Quoted(const QString& text) {
    return Tr(QT_TRANSLATE_NOOP("CityCheck", "«\u00A0%1\u00A0»")).arg(text);
}

QString ShiftText(qsizetype balance) {
    if (balance == 0) {
        return Tr(QT_TRANSLATE_NOOP("CityCheck",
                                    "les villes suivantes retrouvent leurs propres coordonnées"));
    }
    const qsizetype size = balance < 0 ? -balance : balance;
    const QString by = size % 2 == 0
                           ? Count(QT_TRANSLATE_N_NOOP("CityCheck", "%n\u00A0ville(s)"), size / 2)
                           : Count(QT_TRANSLATE_N_NOOP("CityCheck",
                                                       "%n\u00A0"
                                                       "champ(s)"),
                                   size);
    return Tr(QT_TRANSLATE_NOOP("CityCheck",
                                "toutes les villes suivantes sont décalées de %1 et reçoivent des "
                                "coordonnées qui ne sont pas les leurs"))
        .arg(by);
}

class LineIndex {
  public:
    explicit LineIndex(std::string_view bytes) : bytes_(bytes) {
        starts_.push_back(0);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                continue;  // CR LF ends the line at the LF
            }
            if (IsLineEnd(bytes[i])) {
                starts_.push_back(i + 1);
            }
        }
    }
    qsizetype LineOf(std::size_t offset) const {
        return static_cast<qsizetype>(std::upper_bound(starts_.begin(), starts_.end(), offset) -
                                      starts_.begin());
    }
    std::string_view Line(qsizetype line) const {
        const std::size_t start = starts_[static_cast<std::size_t>(line - 1)];
        std::size_t end = start;
        while (end < bytes_.size() && !IsLineEnd(bytes_[end])) {
            ++end;
        }
        return bytes_.substr(start, end - start);
    }

  private:
    std::string_view bytes_;
    std::vector<std::size_t> starts_;
};

}  // namespace

CheckReport CheckCityFile(std::string_view bytes) {
    const CityFileText text(bytes);
    const std::string_view data = text.Bytes();
    const LineIndex lines(data);

    // The fields, grouped by the line where each starts.
    std::vector<std::vector<Field>> groups;
    qsizetype groupLine = 0;
    for (FieldReader reader(data); !reader.AtEnd();) {
        const std::string_view bytesOfField = reader.Next();
        const auto offset = static_cast<std::size_t>(bytesOfField.data() - data.data());
        const qsizetype line = lines.LineOf(offset);
        if (groups.empty() || line != groupLine) {
            groups.emplace_back();
            groupLine = line;
        }
        const double value = LeadingNumber(bytesOfField);
        groups.back().push_back({bytesOfField, offset, value == 0.0, value});
    }

    CheckReport report;
    qsizetype balance = 0;  // coordinates read so far minus two per name
    for (const std::vector<Field>& group : groups) {
        const auto names = static_cast<qsizetype>(
            std::count_if(group.begin(), group.end(), [](const Field& f) { return f.name; }));
        const qsizetype coordinates = static_cast<qsizetype>(group.size()) - names;
        report.names += names;
        report.coordinates += coordinates;
        const qsizetype delta = coordinates - 2 * names;

        QStringList reasons;
        QStringList readAs;
        bool unusable = false;
        bool fraction = false;  // the field before was the second half of a split number
        for (std::size_t k = 0; k < group.size(); ++k) {
            const Field& field = group[k];
            const bool fractionBefore = std::exchange(fraction, false);
            const QString shown = Shortened(text, field.bytes, kShownFieldLength);
            if (k == kShownFields) {
                readAs << Tr(QT_TRANSLATE_NOOP("CityCheck", "… (%1 en tout)"))
                              .arg(Count(QT_TRANSLATE_N_NOOP("CityCheck",
                                                             "%n\u00A0"
                                                             "champ(s)"),
                                         static_cast<qsizetype>(group.size())));
            } else if (k < kShownFields) {
                readAs << (field.name
                               ? Tr(QT_TRANSLATE_NOOP("CityCheck", "nom %1")).arg(Quoted(shown))
                               : Tr(QT_TRANSLATE_NOOP("CityCheck", "coordonnée %1"))
                                     .arg(Number(field.value)));
            }
            const bool openQuote = field.offset > 0 && data[field.offset - 1] == '"' &&
                                   field.offset + field.bytes.size() == data.size() &&
                                   field.bytes.find_first_of("\r\n") != std::string_view::npos;
            if (openQuote) {
                reasons << Tr(
                    QT_TRANSLATE_NOOP("CityCheck",
                                      "un guillemet ouvert n'est jamais fermé\u00A0: tout le "
                                      "reste du fichier est lu comme un seul nom"));
            } else if (field.name && LooksNumeric(field.bytes) && delta != 0) {
                reasons << Tr(QT_TRANSLATE_NOOP("CityCheck",
                                                "%1 vaut 0, et un champ qui vaut 0 est lu comme un "
                                                "nom\u00A0; écrivez une petite valeur comme 0.001"))
                               .arg(Quoted(shown));
            } else if (!field.name && k > 0 && !group[k - 1].name && !fractionBefore &&
                       AllDigits(field.bytes) && data[field.offset - 1] == ',' && delta > 0) {
                fraction = true;
                const Field& before = group[k - 1];
                const QString number = Shortened(
                    text,
                    data.substr(before.offset, field.offset + field.bytes.size() - before.offset),
                    kShownFieldLength);
                reasons << Tr(QT_TRANSLATE_NOOP(
                                  "CityCheck",
                                  "la virgule de %1 coupe le nombre en deux\u00A0; le "
                                  "séparateur décimal est le point\u00A0: %2"))
                               .arg(Quoted(number), QString(number).replace(u',', u'.'));
            } else if (!field.name && HasWords(field.bytes) && delta != 0) {
                reasons << Tr(QT_TRANSLATE_NOOP(
                                  "CityCheck",
                                  "%1 commence par un nombre et se lit donc comme une "
                                  "coordonnée\u00A0; un nom ne doit pas commencer par un "
                                  "chiffre"))
                               .arg(Quoted(shown));
            } else if (!field.name && !std::isfinite(geodesy::FloorHundredths(field.value))) {
                reasons << Tr(QT_TRANSLATE_NOOP(
                                  "CityCheck",
                                  "%1 est trop grand pour servir de coordonnée\u00A0: "
                                  "cette ville ne pourra pas être choisie"))
                               .arg(Quoted(shown));
                unusable = true;
            }
        }
        if (reasons.isEmpty() && names > 1 && delta < 0) {
            reasons << Tr(QT_TRANSLATE_NOOP(
                              "CityCheck",
                              "une virgule coupe le nom en %1\u00A0; mettez un nom qui "
                              "contient une virgule entre guillemets"))
                           .arg(Count(QT_TRANSLATE_N_NOOP("CityCheck", "%n\u00A0morceau(s)"),
                                      names));
        }
        if (reasons.isEmpty() && delta != 0) {
            reasons << (delta < 0 ? Tr(QT_TRANSLATE_NOOP("CityCheck",
                                                         "il manque %1 (il en faut deux par nom)"))
                                        .arg(Count(QT_TRANSLATE_N_NOOP("CityCheck",
                                                                       "%n\u00A0"
                                                                       "coordonnée(s)"),
                                                   -delta))
                                  : Tr(QT_TRANSLATE_NOOP("CityCheck", "il y a %1 de trop"))
                                        .arg(Count(QT_TRANSLATE_N_NOOP("CityCheck",
                                                                       "%n\u00A0"
                                                                       "coordonnée(s)"),
                                                   delta)));
        }
        balance += delta;
        if (reasons.isEmpty()) {
            continue;
        }
        reasons.removeDuplicates();
        if (static_cast<std::size_t>(reasons.size()) > kShownFields) {
            const qsizetype more = reasons.size() - static_cast<qsizetype>(kShownFields);
            reasons.resize(static_cast<qsizetype>(kShownFields));
            reasons << Tr(QT_TRANSLATE_NOOP("CityCheck", "… et %1"))
                           .arg(Count(QT_TRANSLATE_N_NOOP("CityCheck",
                                                          "%n\u00A0"
                                                          "autre(s)"),
                                      more));
        }

        CheckFinding finding;
        finding.line = lines.LineOf(group.front().offset);
        finding.text = Shortened(text, lines.Line(finding.line), kShownLineLength);
        finding.readAs = readAs.join(QStringLiteral(", "));
        finding.reasons = reasons;
        finding.consequence =
            delta != 0 ? ShiftText(balance)
            : unusable ? Tr(QT_TRANSLATE_NOOP("CityCheck", "les autres villes n'en souffrent pas"))
                       : QString();
        report.findings.append(std::move(finding));
    }
    return report;
}

QString CheckReport::Text() const {
    QString out;
    for (const CheckFinding& finding : findings) {
        out += Tr(QT_TRANSLATE_NOOP("CityCheck", "Ligne %1\u00A0: %2\n"))
                   .arg(finding.line)
                   .arg(Quoted(finding.text));
        out += Tr(QT_TRANSLATE_NOOP("CityCheck", "  lu comme\u00A0: %1\n")).arg(finding.readAs);
        for (const QString& reason : finding.reasons) {
            out += QStringLiteral("  %1\n").arg(reason);
        }
        if (!finding.consequence.isEmpty()) {
            out += QStringLiteral("  → %1\n").arg(finding.consequence);
        }
    }
    const QString counts =
        Tr(QT_TRANSLATE_NOOP("CityCheck", "%1 et %2"))
            .arg(Count(QT_TRANSLATE_N_NOOP("CityCheck", "%n\u00A0nom(s)"), names),
                 Count(QT_TRANSLATE_N_NOOP("CityCheck",
                                           "%n\u00A0"
                                           "coordonnée(s)"),
                       coordinates));
    if (Clean()) {
        out += Tr(QT_TRANSLATE_NOOP("CityCheck", "Aucun problème\u00A0: %1 (%2).\n"))
                   .arg(Count(QT_TRANSLATE_N_NOOP("CityCheck", "%n\u00A0ville(s)"), names), counts);
    } else {
        out +=
            Tr(QT_TRANSLATE_NOOP(
                   "CityCheck", "%1 à corriger\u00A0; %2 lus, il faut deux coordonnées par nom.\n"))
                .arg(Count(QT_TRANSLATE_N_NOOP("CityCheck", "%n\u00A0ligne(s)"), findings.size()),
                     counts);
    }
    return out;
}

}  // namespace orbida::cities
