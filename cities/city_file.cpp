#include "cities/city_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

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

// The bytes that may end a field, as a table: the reader asks this of every byte of the file.
constexpr std::array<bool, 256> kSeparators = [] {
    std::array<bool, 256> table{};
    table[static_cast<unsigned char>(',')] = true;
    table[static_cast<unsigned char>('\n')] = true;
    table[static_cast<unsigned char>('\r')] = true;
    return table;
}();

std::size_t SkipToField(std::string_view data, std::size_t pos) {
    while (pos < data.size() && (IsBlank(data[pos]) || IsSeparator(data[pos]))) {
        ++pos;
    }
    return pos;
}

std::size_t FindSeparator(std::string_view data, std::size_t pos) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    while (pos < data.size() && !kSeparators[bytes[pos]]) {
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
        // Runs of ASCII, the bulk of any list, eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t eight = 0;
            std::memcpy(&eight, p, sizeof eight);
            if ((eight & 0x8080808080808080u) != 0) {
                break;
            }
            p += 8;
        }
        if (p == end) {
            break;
        }
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

// Powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value LeadingNumber gives a field, sooner for the two common kinds. A field that cannot
// begin a number (a name) is 0. A plain decimal ("-48.8566") whose digits, taken as an integer,
// fit in the 53 bits of a double, with at most 22 of them after the point, is that integer divided
// by a power of ten: both are exact doubles and the division rounds correctly, so the result is
// the double nearest the decimal, as the general path gives. Anything else takes that path.
double FieldNumber(std::string_view field) {
    if (field.empty()) {
        return 0.0;
    }
    const char first = field.front();
    const bool mayBeNumber = (first >= '0' && first <= '9') || first == '-' || first == '+' ||
                             first == '.' || first == ' ' || first == '\t' || first == '\n';
    if (!mayBeNumber) {
        return 0.0;
    }
    constexpr std::uint64_t kExactIntegers = std::uint64_t{1} << 53;
    std::uint64_t mantissa = 0;
    std::size_t digits = 0;
    std::size_t decimals = 0;
    bool point = false;
    bool plain = true;
    for (std::size_t i = first == '-' ? 1 : 0; i < field.size() && plain; ++i) {
        const char c = field[i];
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            ++digits;
            decimals += point ? 1 : 0;
            plain = mantissa < kExactIntegers;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            plain = false;
        }
    }
    if (!plain || digits == 0 || decimals >= kExactPowersOfTen.size()) {
        return LeadingNumber(field);
    }
    const double value = static_cast<double>(mantissa) / kExactPowersOfTen[decimals];
    if (value == 0.0) {
        return 0.0;
    }
    return first == '-' ? -value : value;
}

}  // namespace

bool FieldReader::AtEnd() const {
    pos_ = SkipToField(data_, pos_);  // where Next starts: the skip is not done twice
    return pos_ >= data_.size();
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

// A UTF-8 byte-order mark says UTF-8 even when a stray byte further on is not: that byte becomes
// U+FFFD rather than every accented name turning into Windows-1252 debris. Without a mark the
// whole file must be valid UTF-8 to be read as such. A UTF-16 mark (as Windows editors save
// "Unicode" text) makes the whole file UTF-16 of that byte order; it is turned into UTF-8 first,
// with U+FFFD for a lone surrogate or an odd last byte, so that one reader serves every encoding
// and line ends stay where they were.
CityFileText::CityFileText(std::string_view bytes) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
    constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
    if (bytes.starts_with(kUtf8Bom)) {
        bytes_ = bytes.substr(kUtf8Bom.size());
        utf8_ = true;
        validUtf8_ = IsValidUtf8(bytes_);
        return;
    }
    if (bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom)) {
        QStringDecoder decoder(
            bytes.starts_with(kUtf16LeBom) ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
            QStringDecoder::Flag::Stateless);
        const std::string_view body = bytes.substr(kUtf16LeBom.size());
        QString text =
            decoder.decode(QByteArrayView(body.data(), static_cast<qsizetype>(body.size())));
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                ++i;
            } else if (text[i].isSurrogate()) {
                text[i] = QChar::ReplacementCharacter;
            }
        }
        converted_ = text.toUtf8();
        bytes_ =
            std::string_view(converted_.constData(), static_cast<std::size_t>(converted_.size()));
        utf8_ = true;
        validUtf8_ = IsValidUtf8(bytes_);
        return;
    }
    bytes_ = bytes;
    utf8_ = IsValidUtf8(bytes);
    validUtf8_ = utf8_;
}

// A U+FEFF inside the file is kept as it stands: dropping it at the start of a field would let
// "\uFEFF48.85" be a name on its bytes but read as a number from its text.
QString CityFileText::Decode(std::string_view field) const {
    const QByteArrayView view(field.data(), static_cast<qsizetype>(field.size()));
    if (IsAscii(field)) {
        return QString::fromLatin1(view);  // most fields, and the fastest
    }
    if (utf8_) {
        QStringDecoder fromUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                          QStringDecoder::Flag::ConvertInitialBom);
        return fromUtf8.decode(view);
    }
    return DecodeCp1252(field);
}

std::string_view CityFileText::Utf8(std::string_view field, QByteArray& scratch) const {
    if (validUtf8_ || IsAscii(field)) {
        return field;
    }
    scratch = Decode(field).toUtf8();
    return std::string_view(scratch.constData(), static_cast<std::size_t>(scratch.size()));
}

// Fields are classified on their bytes before decoding. Every byte that LeadingNumber reads is
// ASCII, and ASCII bytes decode to themselves in every encoding read here, so the number read
// from the bytes once here is the one the decoded text would give.
Catalogue ParseCityFile(std::string_view bytes) {
    const CityFileText text(bytes);
    Catalogue catalogue;
    catalogue.Reserve(text.Bytes().size());
    QByteArray scratch;
    FieldReader reader(text.Bytes());
    while (!reader.AtEnd()) {
        const std::string_view field = reader.Next();
        const double number = FieldNumber(field);
        if (number == 0.0) {
            catalogue.AppendName(text.Utf8(field, scratch));
        } else {
            catalogue.AppendCoordinate(number);
        }
    }
    catalogue.Squeeze();
    return catalogue;
}

bool IsName(std::string_view field) {
    return LeadingNumber(field) == 0.0;
}

QString FindCityFile(const QString& folder) {
    // Any letter case will do. When several spellings lie side by side, a plain file (or a link
    // to one) wins over anything else, then the exact "villes.txt", then the first name in sorted
    // order. Every kind of entry counts, broken links and named pipes included, so that opening it
    // can say what is wrong with it rather than calling it missing.
    const QDir dir(folder);
    QString found;
    int foundRank = -1;
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(kFileName, Qt::CaseInsensitive) != 0) {
            continue;
        }
        const int rank =
            (QFileInfo(dir.filePath(entry)).isFile() ? 2 : 0) + (entry == kFileName ? 1 : 0);
        if (rank > foundRank) {
            found = entry;
            foundRank = rank;
        }
    }
    return found.isEmpty() ? QString() : dir.absoluteFilePath(found);
}

std::optional<QByteArray> ReadAtMost(qint64 size,
                                     const std::function<qint64(char*, qint64)>& read) {
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const qint64 n = read(bytes.data() + done, size - done);
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            break;  // truncated since it was opened: what is there is what there is
        }
        done += std::min(n, size - done);
    }
    bytes.truncate(static_cast<qsizetype>(done));
    return bytes;
}

namespace {

QString SizeInMegabytes(qint64 bytes) {
    return QString::number((bytes + (1 << 20) - 1) >> 20);
}

#ifdef Q_OS_UNIX
QString OpenFailure(int error) {
    switch (error) {
        case ENOENT:
            return QStringLiteral(
                "Il n'existe pas, ou c'est un lien symbolique vers un fichier absent.");
        case ELOOP:
            return QStringLiteral("Les liens symboliques forment une boucle.");
        case EACCES:
        case EPERM:
            return QStringLiteral("L'accès en lecture est refusé.");
        case ENXIO:
            return QStringLiteral("C'est une prise réseau locale, pas un fichier ordinaire.");
        default:
            return QStringLiteral("Erreur système %1.").arg(error);
    }
}

QString KindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return QStringLiteral("C'est un dossier, pas un fichier ordinaire.");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("C'est un tube nommé, pas un fichier ordinaire.");
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return QStringLiteral("C'est un périphérique, pas un fichier ordinaire.");
    }
    return QStringLiteral("Ce n'est pas un fichier ordinaire.");
}

// The file is opened without blocking (a named pipe would otherwise wait for a writer for ever)
// and judged on what was opened, not on its name, so that nothing swapped in between can pass.
// Only a regular file is read, and no more of it than its size at that moment.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, QString& problem) {
    const QByteArray name = QFile::encodeName(path);
    int fd = -1;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        problem = OpenFailure(errno);
        return std::nullopt;
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        problem = OpenFailure(errno);
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        problem = KindOf(info.st_mode);
        return std::nullopt;
    }
    const qint64 size = info.st_size;
    if (size > maxBytes) {
        problem = QStringLiteral("Il pèse %1\u00A0Mo, au-delà de la limite de %2\u00A0Mo.")
                      .arg(SizeInMegabytes(size), SizeInMegabytes(maxBytes));
        return std::nullopt;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    std::optional<QByteArray> bytes = ReadAtMost(size, [fd](char* buffer, qint64 length) -> qint64 {
        ssize_t n = 0;
        do {
            n = ::read(fd, buffer, static_cast<std::size_t>(length));
        } while (n < 0 && errno == EINTR);
        return n;
    });
    if (!bytes) {
        problem = OpenFailure(errno);
    }
    return bytes;
}
#else
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, QString& problem) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        problem = QStringLiteral("Ce n'est pas un fichier ordinaire.");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("Il ne s'ouvre pas.");
        return std::nullopt;
    }
    const qint64 size = file.size();
    if (size > maxBytes) {
        problem = QStringLiteral("Il pèse %1\u00A0Mo, au-delà de la limite de %2\u00A0Mo.")
                      .arg(SizeInMegabytes(size), SizeInMegabytes(maxBytes));
        return std::nullopt;
    }
    std::optional<QByteArray> bytes = ReadAtMost(
        size, [&file](char* buffer, qint64 length) { return file.read(buffer, length); });
    if (!bytes) {
        problem = QStringLiteral("La lecture a échoué.");
    }
    return bytes;
}
#endif

}  // namespace

CityFileBytes ReadCityFile(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path);
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    QString problem;
    std::optional<QByteArray> bytes = ReadRegularFile(path, maxBytes, problem);
    if (!bytes) {
        return {false,
                QStringLiteral("Le fichier des villes «\u00A0%1\u00A0» n'a pas pu être lu dans le "
                               "dossier\u00A0:\n%2\n%3")
                    .arg(info.fileName(), folder, problem),
                {}};
    }
    return {true, {}, std::move(*bytes)};
}

LoadResult LoadCityFile(const QString& folder) {
    LoadResult result;
    const QDir dir(folder);
    result.folder = QDir::toNativeSeparators(dir.absolutePath());
    result.path = FindCityFile(folder);
    if (result.path.isEmpty()) {
        result.path = dir.absoluteFilePath(kFileName);
        result.errorMessage = QStringLiteral(
                                  "Le fichier des villes «\u00A0%1\u00A0» est introuvable dans le "
                                  "dossier\u00A0:\n%2")
                                  .arg(kFileName, result.folder);
        return result;
    }
    CityFileBytes file = ReadCityFile(result.path);
    if (!file.ok) {
        result.errorMessage = file.errorMessage;
        return result;
    }
    result.catalogue = ParseCityFile(
        std::string_view(file.bytes.constData(), static_cast<std::size_t>(file.bytes.size())));
    result.ok = true;
    return result;
}

}  // namespace orbida::cities
