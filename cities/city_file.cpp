#include "cities/city_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "cities/leading_number.h"
#include "files/safe_file.h"

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

constexpr std::uint64_t kEachByte = 0x0101010101010101u;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// Eight bytes with the first in the lowest byte, whatever the machine's byte order.
std::uint64_t Load8(const char* p) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        word = ((word & 0x00000000FFFFFFFFu) << 32) | (word >> 32);
        word = ((word & 0x0000FFFF0000FFFFu) << 16) | ((word >> 16) & 0x0000FFFF0000FFFFu);
        word = ((word & 0x00FF00FF00FF00FFu) << 8) | ((word >> 8) & 0x00FF00FF00FF00FFu);
    }
    return word;
}

#if defined(__SSE2__) || defined(_M_X64)
bool AllAscii64(const unsigned char* p) {
    const auto* v = reinterpret_cast<const __m128i*>(p);
    const __m128i any = _mm_or_si128(_mm_or_si128(_mm_loadu_si128(v), _mm_loadu_si128(v + 1)),
                                     _mm_or_si128(_mm_loadu_si128(v + 2), _mm_loadu_si128(v + 3)));
    return _mm_movemask_epi8(any) == 0;
}
#else
bool AllAscii64(const unsigned char* p) {
    std::uint64_t any = 0;
    for (int k = 0; k < 8; ++k) {
        std::uint64_t word = 0;
        std::memcpy(&word, p + 8 * k, sizeof word);
        any |= word;
    }
    return (any & kHighBits) == 0;
}
#endif

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Checks the sequences of
// bytes that begin from offset `from` up to `stop` (the last may run past it): the offset where
// the next one begins, or npos at the first that is not valid.
std::size_t CheckUtf8(std::string_view bytes, std::size_t from, std::size_t stop) {
    const auto* const begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* p = begin + from;
    const unsigned char* const until = begin + stop;
    const unsigned char* const end = begin + bytes.size();
    while (p < until) {
        // Runs of ASCII, the bulk of any list, 64 bytes at a time, then eight.
        while (until - p >= 64 && AllAscii64(p)) {
            p += 64;
        }
        while (until - p >= 8) {
            const std::uint64_t high = Load8(reinterpret_cast<const char*>(p)) & kHighBits;
            if (high != 0) {
                p += std::countr_zero(high) / 8;  // the first byte that is not ASCII
                break;
            }
            p += 8;
        }
        if (p >= until) {
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
            return std::string_view::npos;
        }
        if (static_cast<std::size_t>(end - p) <= trail || p[1] < low || p[1] > high) {
            return std::string_view::npos;
        }
        for (std::size_t k = 2; k <= trail; ++k) {
            if (p[k] < 0x80 || p[k] > 0xBF) {
                return std::string_view::npos;
            }
        }
        p += trail + 1;
    }
    return static_cast<std::size_t>(p - begin);
}

bool IsValidUtf8(std::string_view bytes) {
    return CheckUtf8(bytes, 0, bytes.size()) != std::string_view::npos;
}

// Checks bytes as UTF-8 a stretch at a time, while they are read for something else.
class Utf8Check {
  public:
    explicit Utf8Check(std::string_view bytes) : bytes_(bytes) {}
    // Checks the bytes before offset `to` that are not checked yet; false once one is not valid.
    bool Through(std::size_t to) {
        if (checked_ < to) {  // npos, once a byte is not valid, is past any offset
            checked_ = CheckUtf8(bytes_, checked_, std::min(to, bytes_.size()));
        }
        return checked_ != std::string_view::npos;
    }
    bool Valid() { return Through(bytes_.size()); }

  private:
    std::string_view bytes_;
    std::size_t checked_ = 0;
};

// ParseCityFile's reader gives the fields FieldReader gives, but from bit masks of the bytes that
// matter, sixteen bytes at a time: the separators, and the bytes skipped before a field
// (separators and blanks). Where SSE2 is missing, two 64-bit words do the same work.
struct ByteClasses {
    std::uint32_t separators = 0;  // bit k for byte k
    std::uint32_t skipped = 0;     // separators and blanks
};

#if defined(__SSE2__) || defined(_M_X64)
Q_ALWAYS_INLINE ByteClasses Classify16(const char* p) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i separators =
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(',')),
                     _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')),
                                  _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r'))));
    const __m128i blanks = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')),
                                        _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')));
    return {static_cast<std::uint32_t>(_mm_movemask_epi8(separators)),
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_or_si128(separators, blanks)))};
}
#else
// 0x80 in each byte of word that equals c, and 0 elsewhere.
std::uint64_t BytesEqual(std::uint64_t word, char c) {
    const std::uint64_t x = word ^ (kEachByte * static_cast<unsigned char>(c));
    return ~(((x & ~kHighBits) + ~kHighBits) | x | ~kHighBits);
}

// Bit k set for each byte k of word whose high bit is set.
std::uint32_t HighBitsToMask(std::uint64_t word) {
    return static_cast<std::uint32_t>(((word >> 7) * 0x0102040810204080u) >> 56);
}

ByteClasses Classify16(const char* p) {
    ByteClasses classes;
    for (int half = 0; half < 2; ++half) {
        const std::uint64_t word = Load8(p + 8 * half);
        const std::uint64_t separators =
            BytesEqual(word, ',') | BytesEqual(word, '\n') | BytesEqual(word, '\r');
        const std::uint64_t skipped = separators | BytesEqual(word, ' ') | BytesEqual(word, '\t');
        classes.separators |= HighBitsToMask(separators) << (8 * half);
        classes.skipped |= HighBitsToMask(skipped) << (8 * half);
    }
    return classes;
}
#endif

// The first separator at or after p, or end.
const char* NextSeparator(const char* p, const char* end) {
    while (end - p >= 16) {
        const std::uint32_t separators = Classify16(p).separators;
        if (separators != 0) {
            return p + std::countr_zero(separators);
        }
        p += 16;
    }
    while (p < end && !kSeparators[static_cast<unsigned char>(*p)]) {
        ++p;
    }
    return p;
}

// Reads one field as FieldReader does, from pos, which follows a separator or is the start; calls
// onField(first, last) for it, if any, and returns where the next field may start.
template <typename OnField>
std::size_t ReadOneField(std::string_view data, std::size_t pos, OnField& onField) {
    const char* p = data.data() + pos;
    const char* const end = data.data() + data.size();
    while (p < end && (IsBlank(*p) || IsSeparator(*p))) {
        ++p;
    }
    if (p == end) {
        return data.size();
    }
    const char* separator = nullptr;
    if (*p == '"') {
        const auto* close = static_cast<const char*>(
            std::memchr(p + 1, '"', static_cast<std::size_t>(end - p - 1)));
        if (close == nullptr) {
            onField(p + 1, end);
            return data.size();
        }
        onField(p + 1, close);
        separator = NextSeparator(close + 1, end);
    } else {
        separator = NextSeparator(p, end);
        const char* last = separator;
        while (IsBlank(last[-1])) {  // the field's first byte is not blank
            --last;
        }
        onField(p, last);
    }
    return separator == end ? data.size() : static_cast<std::size_t>(separator - data.data()) + 1;
}

// Asks for the 64 bytes at p to be brought into the cache ahead of their use.
void Prefetch(const char* p) {
#if defined(__SSE2__) || defined(_M_X64)
    _mm_prefetch(p, _MM_HINT_T0);
#else
    (void)p;
#endif
}

struct BlockClasses {
    std::uint64_t separators = 0;  // bit k for byte k
    std::uint64_t skipped = 0;     // separators and blanks
};

Q_ALWAYS_INLINE BlockClasses Classify64(const char* p) {
    const ByteClasses a = Classify16(p);
    const ByteClasses b = Classify16(p + 16);
    const ByteClasses c = Classify16(p + 32);
    const ByteClasses d = Classify16(p + 48);
    return {std::uint64_t{a.separators} | (std::uint64_t{b.separators} << 16) |
                (std::uint64_t{c.separators} << 32) | (std::uint64_t{d.separators} << 48),
            std::uint64_t{a.skipped} | (std::uint64_t{b.skipped} << 16) |
                (std::uint64_t{c.skipped} << 32) | (std::uint64_t{d.skipped} << 48)};
}

// The last count (< 64) bytes, followed by line ends: the end of the bytes ends a field as a
// separator does.
BlockClasses Classify64AtEnd(const char* p, std::size_t count) {
    std::array<char, 64> padded;
    padded.fill('\n');
    std::memcpy(padded.data(), p, count);
    return Classify64(padded.data());
}

// Where fields start and end in 64 bytes at a time, from their masks, with no branch per byte or
// per field. A field starts at a kept byte (neither blank nor separator) when the skipped bytes
// just before it hold a separator (or the bytes start there): the blank in "a b" does not part
// it. A separator ends a field when the byte before it is kept, or is one of the blanks trailing
// a kept byte. Unquoted fields are then pairs of consecutive starts and ends; a quote at a start
// is left to ReadOneField.
class FieldMarks {
  public:
    // The marks of the next 64 bytes; the first block follows a separator or is the start.
    Q_ALWAYS_INLINE void Mark(const BlockClasses& block, std::uint64_t& starts,
                              std::uint64_t& ends) {
        const std::uint64_t kept = ~block.skipped;
        const std::uint64_t blanks = block.skipped & ~block.separators;
        const std::uint64_t afterKept = (kept << 1) | keptBefore_;
        // The blanks trailing a kept byte: the first of each such run is a seed, and adding the
        // seeds to the blanks carries through the rest of the run and clears it.
        const std::uint64_t seeds = blanks & afterKept;
        const std::uint64_t partial = blanks + seeds;
        const std::uint64_t sum = partial + carry_;
        carry_ = (partial < blanks || sum < partial) ? 1 : 0;
        const std::uint64_t trailing = blanks & ~sum;
        const std::uint64_t afterTrailing = (trailing << 1) | trailingBefore_;
        starts = kept & ~afterKept & ~afterTrailing;
        ends = block.separators & (afterKept | afterTrailing);
        keptBefore_ = kept >> 63;
        trailingBefore_ = trailing >> 63;
    }

  private:
    std::uint64_t keptBefore_ = 0;
    std::uint64_t trailingBefore_ = 0;
    std::uint64_t carry_ = 0;
};

// The bytes ForEachField takes at a time: enough to pay for setting a window up, little enough to
// stay in the nearest cache between the two looks at them. The fuzzer's short inputs get many
// small windows, so that it reaches every way a window can end.
#ifdef ORBIDA_FUZZING
constexpr std::size_t kWindow = 128;
#else
constexpr std::size_t kWindow = 16384;
#endif
static_assert(kWindow % 64 == 0);

// Calls onField(first, last) for each field, in order, exactly as FieldReader splits the bytes.
// The bytes are taken a window at a time: the marks of the whole window first, then its fields,
// each a start and the next end. A window ends at its last separator, so that the next one starts
// after a separator too, as the first does.
//
// Before the bytes of a window are looked at, onWindow(end) is told the offset where the window
// ends; when it answers false, reading stops and ForEachField answers false.
template <typename OnField, typename OnWindow>
bool ForEachField(std::string_view data, OnField&& onField, OnWindow&& onWindow) {
    constexpr std::size_t kNone = ~std::size_t{0};
    // For each block, its starts and its ends together: outside quotes they alternate, a start
    // then its end, which one cursor takes two by two.
    std::array<std::uint64_t, kWindow / 64 + 1> marksOf;
    const char* const base = data.data();
    std::size_t pos = 0;
    while (pos < data.size()) {
        const char* const window = base + pos;
        const std::size_t length = std::min(kWindow, data.size() - pos);
        // The last window takes in the end of the bytes, which ends a field as a separator does.
        const std::size_t reach = pos + length == data.size() ? length + 1 : length;
        if (!onWindow(pos + length)) {
            return false;
        }
        FieldMarks marks;
        std::size_t blocks = 0;
        std::size_t lastSeparator = kNone;
        for (std::size_t offset = 0; offset < reach; offset += 64, ++blocks) {
            // The next window is fetched from memory while this one is read.
            if (length + offset < data.size() - pos) {
                Prefetch(window + length + offset);
            }
            const BlockClasses block = offset + 64 <= length
                                           ? Classify64(window + offset)
                                           : Classify64AtEnd(window + offset, length - offset);
            std::uint64_t starts = 0;
            std::uint64_t ends = 0;
            marks.Mark(block, starts, ends);
            marksOf[blocks] = starts | ends;
            if (block.separators != 0) {
                lastSeparator =
                    offset + 63 - static_cast<std::size_t>(std::countl_zero(block.separators));
            }
        }
        if (lastSeparator == kNone) {
            pos = ReadOneField(data, pos, onField);  // one field fills the window
            continue;
        }
        // The marks after the last separator belong to the next window.
        blocks = lastSeparator / 64 + 1;
        marksOf[blocks - 1] &= ~std::uint64_t{0} >> (63 - lastSeparator % 64);
        const std::size_t next = pos + lastSeparator + 1;

        std::size_t block = 0;
        std::uint64_t left = marksOf[0];  // the marks of the block not yet taken
        for (;;) {
            while (left == 0 && block + 1 < blocks) {
                left = marksOf[++block];
            }
            if (left == 0) {
                pos = next;
                break;
            }
            const char* const first =
                window + 64 * block + static_cast<std::size_t>(std::countr_zero(left));
            left &= left - 1;
            while (left == 0 && block + 1 < blocks) {
                left = marksOf[++block];
            }
            const char* last =
                left != 0 ? window + 64 * block + static_cast<std::size_t>(std::countr_zero(left))
                          : first;
            left &= left - 1;
            if (*first == '"' || last <= first) {
                // A quoted field, read on its own; the marks inside it mean nothing. The first
                // mark after the separator that ends it is the next start, if any: once past the
                // last separator or at the end of the bytes, the window is done.
                const std::size_t after =
                    ReadOneField(data, static_cast<std::size_t>(first - base), onField);
                if (after >= next || after == data.size()) {
                    pos = after;
                    break;
                }
                const std::size_t resume = after - pos;
                block = resume / 64;
                left = marksOf[block] & (~std::uint64_t{0} << (resume % 64));
                continue;
            }
            while (IsBlank(last[-1])) {  // the field's first byte is not blank
                --last;
            }
            onField(first, last);
        }
    }
    return true;
}

// Powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

constexpr std::uint64_t kAsciiZeros = 0x3030303030303030u;

// The number eight digit values (0 to 9, one a byte) make, the first in the lowest byte.
std::uint64_t DigitsValue(std::uint64_t word) {
    word = word * 10 + (word >> 8);
    constexpr std::uint64_t kPairs = 0x000000FF000000FFu;
    return (((word & kPairs) * (100 + (std::uint64_t{1'000'000} << 32))) +
            (((word >> 16) & kPairs) * (1 + (std::uint64_t{10'000} << 32)))) >>
           32;
}

// The bytes a number may begin with, as LeadingNumber reads them.
constexpr std::array<bool, 256> kMayBeginNumber = [] {
    std::array<bool, 256> table{};
    for (const char c : std::string_view("0123456789-+. \t\n")) {
        table[static_cast<unsigned char>(c)] = true;
    }
    return table;
}();

// The digits of the plain decimals read here, taken as an integer, are below 2^53, so that a
// double holds them exactly, as it holds the power of ten (at most 10^22) they are divided by: the
// division rounds correctly, and gives the double nearest the decimal, as LeadingNumber does. The
// sign goes on the integer, and IEEE division is symmetric in sign.
double SignedQuotient(std::uint64_t mantissa, bool negative, unsigned decimals) {
    const std::int64_t sign = -std::int64_t{negative};
    const std::int64_t value = (static_cast<std::int64_t>(mantissa) ^ sign) - sign;
    return static_cast<double>(value) / kExactPowersOfTen[decimals];
}

// The value LeadingNumber gives a field that may begin a number but is not a short plain decimal.
// A longer plain decimal ("-48.85661234") whose digits, taken as an integer, fit in the 53 bits
// of a double, with at most 22 of them after the point, is still read here, a byte at a time;
// anything else goes to LeadingNumber.
Q_NEVER_INLINE double OtherNumber(const char* first, const char* last) {
    const std::string_view field(first, static_cast<std::size_t>(last - first));
    constexpr std::uint64_t kExactIntegers = std::uint64_t{1} << 53;
    std::uint64_t mantissa = 0;
    std::size_t digits = 0;
    std::size_t decimals = 0;
    bool point = false;
    bool plain = true;
    for (std::size_t i = field.front() == '-' ? 1 : 0; i < field.size() && plain; ++i) {
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
    return SignedQuotient(mantissa, field.front() == '-', static_cast<unsigned>(decimals));
}

// Whether the field first..last is a coordinate, that is whether LeadingNumber reads it as a
// number other than 0, and if so that number in value; sooner for the two common kinds. A field
// that cannot begin a number is a name. A plain decimal of at most eight bytes after an optional
// minus sign ("-48.8566", "7", "12.", ".5"; at least one digit, at most one point) is read as one
// eight-byte word, the point taken out, with no branch on where the point stands; the answer then
// comes from its digits, before the division ends. Anything else is left to OtherNumber. limit is
// the end of the bytes: eight bytes from the digits on may be read.
Q_ALWAYS_INLINE bool ReadCoordinate(const char* first, const char* last, const char* limit,
                                    double& value) {
    if (first == last || !kMayBeginNumber[static_cast<unsigned char>(*first)]) {
        return false;  // one test: the signs of coordinates follow no pattern
    }
    const bool negative = *first == '-';
    const char* const digits = first + (negative ? 1 : 0);
    const auto length = static_cast<unsigned>(last - digits);
    if (length - 1 < 8 && limit - digits >= 8) {
        // The field's bytes at the top of a word, as digit values, zeros below them.
        const std::uint64_t values = (Load8(digits) ^ kAsciiZeros) << (64 - 8 * length);
        const std::uint64_t others =  // a high bit for each byte that is not a digit
            (((values & ~kHighBits) + 0x7676767676767676u) | values) & kHighBits;
        // The point ('.' ^ '0' is 0x1E), and perhaps bytes above it that will not pass anyway.
        const std::uint64_t x = values ^ 0x1E1E1E1E1E1E1E1Eu;
        const std::uint64_t points = (x - kEachByte) & ~x & kHighBits;
        if (((others & ~points) | (points & (points - 1))) == 0) {
            // The digits below the point move up over it: the digits alone, at the top.
            const std::uint64_t belowPoint = ((points >> 7) << 8) - (points != 0 ? 1 : 0);
            const std::uint64_t joined = values ^ ((values ^ (values << 8)) & belowPoint);
            const auto decimals =
                7 - static_cast<unsigned>(std::countr_zero(points | (kHighBits << 56))) / 8;
            const std::uint64_t mantissa = DigitsValue(joined);
            value = SignedQuotient(mantissa, negative, decimals);
            return mantissa != 0;  // "-0.00" is a zero like any other, "." none at all
        }
    }
    value = OtherNumber(first, last);
    return value != 0.0;
}

#if defined(__SSE2__) || defined(_M_X64)
constexpr bool kPairs = true;

// The bytes up to byte n of a word (n from 0 to 7), none for n = 8.
constexpr std::array<std::uint64_t, 9> kUpToByte = {
    0x00000000000000FFu, 0x000000000000FFFFu, 0x0000000000FFFFFFu,
    0x00000000FFFFFFFFu, 0x000000FFFFFFFFFFu, 0x0000FFFFFFFFFFFFu,
    0x00FFFFFFFFFFFFFFu, ~std::uint64_t{0},   0};

// 10^0 to 10^7, then their negatives.
constexpr std::array<double, 16> kSignedPowersOfTen = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, -1e0, -1e1, -1e2, -1e3, -1e4, -1e5, -1e6, -1e7};

// Two short plain decimals at once, one in each half of an SSE2 register, as ReadCoordinate reads
// one: the two coordinates of a city most often follow each other. False, with nothing read, when
// either is not a plain decimal of at most eight bytes after its sign, or when the second lies
// within eight bytes of limit; else each value, and whether it is a coordinate (not 0).
Q_ALWAYS_INLINE bool ReadPlainPair(const char* first1, const char* last1, const char* first2,
                                   const char* last2, const char* limit, double (&values)[2],
                                   bool (&coordinates)[2]) {
    const bool negative1 = *first1 == '-';
    const bool negative2 = *first2 == '-';
    const char* const digits1 = first1 + (negative1 ? 1 : 0);
    const char* const digits2 = first2 + (negative2 ? 1 : 0);
    const auto length1 = static_cast<unsigned>(last1 - digits1);
    const auto length2 = static_cast<unsigned>(last2 - digits2);
    // The first lies before the second, and so is readable too.
    if (length1 - 1 >= 8 || length2 - 1 >= 8 || limit - digits2 < 8) {
        return false;
    }
    // Each field's bytes at the top of its half, as digit values, zeros below them.
    const __m128i bytes = _mm_set_epi64x(
        static_cast<long long>((Load8(digits2) ^ kAsciiZeros) << (64 - 8 * length2)),
        static_cast<long long>((Load8(digits1) ^ kAsciiZeros) << (64 - 8 * length1)));
    const __m128i nines = _mm_set1_epi8(9);
    const auto digits =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(bytes, nines), nines)));
    const auto points =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('.' ^ '0'))));
    const unsigned points1 = points & 0xFF;
    const unsigned points2 = points >> 8;
    // Digits, and at most one point in each.
    if ((digits | points) != 0xFFFF || ((points1 & (points1 - 1)) | (points2 & (points2 - 1)))) {
        return false;
    }
    // The digits below each point move up over it: the digits alone, at the top of each half.
    const auto at1 = static_cast<unsigned>(std::countr_zero(points1 | 0x100));  // 8 for none
    const auto at2 = static_cast<unsigned>(std::countr_zero(points2 | 0x100));
    const __m128i below = _mm_set_epi64x(static_cast<long long>(kUpToByte[at2]),
                                         static_cast<long long>(kUpToByte[at1]));
    const __m128i joined =
        _mm_xor_si128(bytes, _mm_and_si128(_mm_xor_si128(bytes, _mm_slli_epi64(bytes, 8)), below));
    // The lower byte of each pair, the lower pair of each four, the lower four of each eight is
    // the more significant.
    const __m128i pairs = _mm_add_epi16(
        _mm_mullo_epi16(_mm_and_si128(joined, _mm_set1_epi16(0xFF)), _mm_set1_epi16(10)),
        _mm_srli_epi16(joined, 8));
    const __m128i fours = _mm_madd_epi16(pairs, _mm_set1_epi32(0x00010064));  // 100, 1
    const __m128i eights =
        _mm_add_epi64(_mm_mul_epu32(fours, _mm_set1_epi64x(10'000)), _mm_srli_epi64(fours, 32));
    const __m128i mantissas = _mm_shuffle_epi32(eights, _MM_SHUFFLE(3, 1, 2, 0));
    // Below 10^8, each is a 32-bit integer and a double exactly; the sign goes on the divisor.
    const unsigned decimals1 = at1 < 8 ? 7 - at1 : 0;
    const unsigned decimals2 = at2 < 8 ? 7 - at2 : 0;
    const __m128d quotients =
        _mm_div_pd(_mm_cvtepi32_pd(mantissas),
                   _mm_set_pd(kSignedPowersOfTen[decimals2 + (negative2 ? 8 : 0)],
                              kSignedPowersOfTen[decimals1 + (negative1 ? 8 : 0)]));
    _mm_storeu_pd(values, quotients);
    const auto zeros =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi32(mantissas, _mm_setzero_si128())));
    coordinates[0] = (zeros & 0x000F) == 0;  // "-0.00" is a zero like any other, "." none at all
    coordinates[1] = (zeros & 0x00F0) == 0;
    return true;
}
#else
constexpr bool kPairs = false;

bool ReadPlainPair(const char*, const char*, const char*, const char*, const char*, double (&)[2],
                   bool (&)[2]) {
    return false;
}
#endif

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
    Read(bytes, true);
}

CityFileText::CityFileText(std::string_view bytes, AssumeValidUtf8) {
    Read(bytes, false);
}

void CityFileText::Read(std::string_view bytes, bool check) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
    constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
    if (bytes.starts_with(kUtf8Bom)) {
        bytes_ = bytes.substr(kUtf8Bom.size());
        utf8_ = true;
        validUtf8_ = !check || IsValidUtf8(bytes_);
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
        validUtf8_ = !check || IsValidUtf8(bytes_);
        return;
    }
    bytes_ = bytes;
    if (!check) {
        utf8_ = validUtf8_ = true;
        return;
    }
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
namespace {

// Sorts the fields of a city file into the catalogue's names and coordinates.
class CatalogueBuilder {
  public:
    explicit CatalogueBuilder(const CityFileText& text)
        : text_(text), limit_(text.Bytes().data() + text.Bytes().size()) {
        catalogue_.Reserve(text.Bytes().size());
    }

    // A field that may be a number waits for the next one, so that two numbers are read together.
    Q_ALWAYS_INLINE void operator()(const char* first, const char* last) {
        if (first == last || !kMayBeginNumber[static_cast<unsigned char>(*first)]) {
            Flush();
            AppendName(first, last);
        } else if (!kPairs) {
            Add(first, last);
        } else if (waitingFirst_ == nullptr) {
            waitingFirst_ = first;
            waitingLast_ = last;
        } else {
            AddPair(first, last);
        }
    }

    Catalogue Take() {
        Flush();
        catalogue_.Squeeze();
        return std::move(catalogue_);
    }

  private:
    Q_ALWAYS_INLINE void Flush() {
        if (waitingFirst_ != nullptr) {
            Add(waitingFirst_, waitingLast_);
            waitingFirst_ = nullptr;
        }
    }

    Q_ALWAYS_INLINE void AddPair(const char* first, const char* last) {
        double values[2];
        bool coordinates[2];
        if (ReadPlainPair(waitingFirst_, waitingLast_, first, last, limit_, values, coordinates)) {
            AppendNumber(waitingFirst_, waitingLast_, values[0], coordinates[0]);
            AppendNumber(first, last, values[1], coordinates[1]);
        } else {
            Add(waitingFirst_, waitingLast_);
            Add(first, last);
        }
        waitingFirst_ = nullptr;
    }

    Q_ALWAYS_INLINE void Add(const char* first, const char* last) {
        double number = 0.0;
        const bool coordinate = ReadCoordinate(first, last, limit_, number);
        AppendNumber(first, last, number, coordinate);
    }

    Q_ALWAYS_INLINE void AppendNumber(const char* first, const char* last, double number,
                                      bool coordinate) {
        if (coordinate) {
            catalogue_.AppendCoordinate(number);
        } else {
            AppendName(first, last);
        }
    }

    Q_ALWAYS_INLINE void AppendName(const char* first, const char* last) {
        if (text_.ValidUtf8()) {
            catalogue_.AppendName(std::string_view(first, static_cast<std::size_t>(last - first)),
                                  limit_);
        } else {
            AppendDecodedName(std::string_view(first, static_cast<std::size_t>(last - first)));
        }
    }

    Q_NEVER_INLINE void AppendDecodedName(std::string_view field) {
        catalogue_.AppendName(text_.Utf8(field, scratch_));
    }

    const CityFileText& text_;
    const char* limit_;
    Catalogue catalogue_;
    QByteArray scratch_;
    const char* waitingFirst_ = nullptr;  // a field that may be a number, waiting for the next
    const char* waitingLast_ = nullptr;
};

}  // namespace

// Most files are valid UTF-8, and checking that takes one more pass over bytes too many for the
// cache. So the file is read as UTF-8, each window checked just before its fields are read; a file
// that turns out not to be valid UTF-8 is read again from the start, its encoding known.
Catalogue ParseCityFile(std::string_view bytes) {
    {
        const CityFileText text(bytes, CityFileText::AssumeValidUtf8{});
        Utf8Check check(text.Bytes());
        CatalogueBuilder builder(text);
        if (ForEachField(text.Bytes(), builder,
                         [&check](std::size_t end) { return check.Through(end); }) &&
            check.Valid()) {
            return builder.Take();
        }
    }
    const CityFileText text(bytes);
    CatalogueBuilder builder(text);
    ForEachField(text.Bytes(), builder, [](std::size_t) { return true; });
    return builder.Take();
}

bool IsName(std::string_view field) {
    return LeadingNumber(field) == 0.0;
}

QString FindCityFile(const QString& folder) {
    return files::FindInFolder(folder, kFileName);
}

CityFileBytes ReadCityFile(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path);
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    files::FileBytes read = files::ReadRegularFile(path, maxBytes);
    if (!read.ok()) {
        return {false,
                QCoreApplication::translate(
                    "CityFile",
                    "Le fichier des villes «\u00A0%1\u00A0» n'a pas pu être lu dans le "
                    "dossier\u00A0:\n%2\n%3")
                    .arg(info.fileName(), folder, read.problem),
                {}};
    }
    return {true, {}, std::move(read.bytes)};
}

LoadResult LoadCityFile(const QString& folder) {
    LoadResult result;
    const QDir dir(folder);
    result.folder = QDir::toNativeSeparators(dir.absolutePath());
    result.path = FindCityFile(folder);
    if (result.path.isEmpty()) {
        result.path = dir.absoluteFilePath(kFileName);
        result.errorMessage = QCoreApplication::translate(
                                  "CityFile",
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
