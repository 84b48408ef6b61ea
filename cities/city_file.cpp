#include "cities/city_file.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <array>
#include <cstdint>

#include "cities/leading_number.h"

namespace orbida::cities {
namespace {

const QString kFileName = QStringLiteral("villes.txt");

// The field reader's choices where the file format leaves room:
// - Blanks (spaces, tabs), line ends and commas met where a field should start are skipped. So a
//   blank line, a comma at the end of a line or two commas in a row add no empty field: an empty
//   field would be a name and shift the pairing of every later city.
// - Blanks at the end of an unquoted field are dropped ("Paris , 48.85" gives "Paris").
// - A quoted field runs to the next double quote whatever lies between (commas, line ends); the
//   quotes are not part of it, and "" is an empty name. Text between the closing quote and the
//   next separator is dropped.
// - A quote still open at the end of the file ends there; the field is the rest of the file.
// - Fields have no length limit. Every byte is looked at a bounded number of times, so reading
//   takes time linear in the size of the file whatever it holds.
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

bool IsSeparator(char c) {
    return c == ',' || IsLineEnd(c);
}

std::size_t SkipToField(std::string_view data, std::size_t pos) {
    while (pos < data.size() && (IsBlank(data[pos]) || IsSeparator(data[pos]))) {
        ++pos;
    }
    return pos;
}

std::size_t FindSeparator(std::string_view data, std::size_t pos) {
    while (pos < data.size() && !IsSeparator(data[pos])) {
        ++pos;
    }
    return pos;
}

// The position after the separator at pos: a comma, LF, CR, or CR LF taken as one line end.
std::size_t ConsumeSeparator(std::string_view data, std::size_t pos) {
    if (pos >= data.size()) {
        return data.size();
    }
    if (data[pos] == '\r' && pos + 1 < data.size() && data[pos + 1] == '\n') {
        return pos + 2;
    }
    return pos + 1;
}

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five bytes it leaves undefined map to
// the C1 control code of the same value, as Windows itself decodes them.
constexpr std::array<char16_t, 32> kCp1252High = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

bool IsAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

QString DecodeCp1252(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b <= 0x9F ? kCp1252High[static_cast<std::size_t>(b - 0x80)]
                                              : char16_t{b});
    }
    return text;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        std::size_t trail = 0;
        unsigned char low = 0x80;  // bounds of the first continuation byte
        unsigned char high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            trail = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            trail = 2;
            low = b == 0xE0 ? 0xA0 : 0x80;
            high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            trail = 3;
            low = b == 0xF0 ? 0x90 : 0x80;
            high = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (static_cast<std::size_t>(end - p) <= trail || p[1] < low || p[1] > high) {
            return false;
        }
        for (std::size_t k = 2; k <= trail; ++k) {
            if (p[k] < 0x80 || p[k] > 0xBF) {
                return false;
            }
        }
        p += trail + 1;
    }
    return true;
}

}  // namespace

bool FieldReader::AtEnd() const {
    return SkipToField(data_, pos_) >= data_.size();
}

std::string_view FieldReader::Next() {
    std::size_t start = SkipToField(data_, pos_);
    if (start >= data_.size()) {
        pos_ = data_.size();
        return {};
    }
    if (data_[start] == '"') {
        ++start;
        const std::size_t close = data_.find('"', start);
        if (close == std::string_view::npos) {
            pos_ = data_.size();
            return data_.substr(start);
        }
        pos_ = ConsumeSeparator(data_, FindSeparator(data_, close + 1));
        return data_.substr(start, close - start);
    }
    const std::size_t separator = FindSeparator(data_, start);
    std::size_t end = separator;
    while (end > start && IsBlank(data_[end - 1])) {
        --end;
    }
    pos_ = ConsumeSeparator(data_, separator);
    return data_.substr(start, end - start);
}

// A byte-order mark says UTF-8 even when a stray byte further on is not: that byte becomes
// U+FFFD rather than every accented name turning into Windows-1252 debris. Without the mark the
// whole file must be valid UTF-8 to be read as such.
//
// Fields are classified on their bytes before decoding. Every byte that LeadingNumber reads is
// ASCII, and ASCII bytes decode to themselves in both encodings, so the coordinate texts kept in
// the catalogue read back to the same values when a city is selected.
Catalogue ParseCityFile(std::string_view bytes) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    const bool bom = bytes.substr(0, kBom.size()) == kBom;
    if (bom) {
        bytes.remove_prefix(kBom.size());
    }
    const bool utf8 = bom || IsValidUtf8(bytes);

    // A U+FEFF inside the file is kept as it stands: dropping it at the start of a field would let
    // "\uFEFF48.85" be a name on its bytes but read as a number from its text.
    QStringDecoder fromUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                      QStringDecoder::Flag::ConvertInitialBom);
    Catalogue catalogue;
    FieldReader reader(bytes);
    while (!reader.AtEnd()) {
        const std::string_view field = reader.Next();
        const QByteArrayView view(field.data(), static_cast<qsizetype>(field.size()));
        QString text = IsAscii(field) ? QString::fromLatin1(view)  // most fields, and the fastest
                       : utf8         ? fromUtf8.decode(view)
                                      : DecodeCp1252(field);
        if (LeadingNumber(field) == 0.0) {
            catalogue.names.append(std::move(text));
        } else {
            catalogue.coordinates.append(std::move(text));
        }
    }
    return catalogue;
}

LoadResult LoadCityFile(const QString& folder) {
    LoadResult result;
    const QDir dir(folder);
    result.folder = QDir::toNativeSeparators(dir.absolutePath());
    result.path = dir.absoluteFilePath(kFileName);

    // Any letter case will do; an exact "villes.txt" wins when several spellings lie side by side,
    // otherwise the first name in sorted order. Only plain files (or links to them) count: a
    // directory or a named pipe of that name is not a city file and could not be read.
    QString found;
    const QStringList entries = dir.entryList(QDir::Files, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(kFileName, Qt::CaseInsensitive) != 0) {
            continue;
        }
        if (found.isEmpty() || entry == kFileName) {
            found = entry;
        }
    }
    if (found.isEmpty()) {
        result.errorMessage = QStringLiteral(
                                  "Le fichier des villes «\u00A0%1\u00A0» est introuvable dans le "
                                  "dossier\u00A0:\n%2")
                                  .arg(kFileName, result.folder);
        return result;
    }

    result.path = dir.absoluteFilePath(found);
    QFile file(result.path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
    }
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        result.errorMessage =
            QStringLiteral(
                "Le fichier des villes «\u00A0%1\u00A0» n'a pas pu être lu dans le "
                "dossier\u00A0:\n%2")
                .arg(found, result.folder);
        return result;
    }
    result.catalogue =
        ParseCityFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    result.ok = true;
    return result;
}

}  // namespace orbida::cities
