#include "cities/leading_number.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

namespace orbida::cities {
namespace {

// Significant digits handed to the conversion. A double needs at most 767 of them to round
// correctly; any further non-zero digit only decides a tie, and one extra "1" stands for all of
// them. So a 10 MB run of digits costs one pass and a buffer of fixed size.
constexpr std::size_t kMaxDigits = 800;

// A decimal exponent this far from zero is infinity or zero whatever the digits are.
constexpr std::int64_t kExponentLimit = 400;

// The exponent as written is accumulated up to this bound, so "1e99999999999999999999" neither
// overflows nor loses its meaning.
constexpr std::int64_t kWrittenExponentCap = 1'000'000'000;

bool IsIgnored(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the text as a sequence of the characters that matter, skipping blanks, tabs and line
// feeds wherever they stand.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}
    char Peek() {
        while (pos_ < text_.size() && IsIgnored(text_[pos_])) {
            ++pos_;
        }
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    bool AtEnd() {
        Peek();
        return pos_ >= text_.size();
    }
    void Advance() { ++pos_; }
    std::size_t Position() const { return pos_; }
    void Rewind(std::size_t pos) { pos_ = pos; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

// The number is read by hand into the form 0.ddd...e<exponent> and then converted with
// std::from_chars, which ignores the locale: strtod would take "48,85" for 48.85 under a French
// locale. No radix prefix is recognised: "0x1A" reads as 0 followed by a stray "x".
double LeadingNumber(std::string_view text) {
    Cursor in(text);
    bool negative = false;
    if (!in.AtEnd() && (in.Peek() == '-' || in.Peek() == '+')) {
        negative = in.Peek() == '-';
        in.Advance();
    }

    // "0." then the significant digits (leading zeros dropped), perhaps the tie-breaking "1",
    // then "e" and the exponent.
    std::array<char, 2 + kMaxDigits + 1 + 1 + 24> buffer;  // filled as read, never whole
    std::size_t length = 0;
    buffer[length++] = '0';
    buffer[length++] = '.';
    std::size_t digits = 0;
    bool droppedNonZero = false;
    bool sawPoint = false;
    std::int64_t pointExponent = 0;  // the value is 0.<digits> x 10^pointExponent
    while (!in.AtEnd()) {
        const char c = in.Peek();
        if (IsDigit(c)) {
            if (digits == 0 && c == '0') {
                if (sawPoint) {
                    --pointExponent;
                }
            } else {
                if (digits < kMaxDigits) {
                    buffer[length++] = c;
                } else if (c != '0') {
                    droppedNonZero = true;
                }
                ++digits;
                if (!sawPoint) {
                    ++pointExponent;
                }
            }
        } else if (c == '.' && !sawPoint) {
            sawPoint = true;
        } else {
            break;
        }
        in.Advance();
    }
    if (digits == 0) {
        return 0.0;  // no number at all ("", "-", ".", "nan", "Paris"), or a zero ("-0.00")
    }
    if (droppedNonZero) {
        buffer[length++] = '1';
    }

    // The exponent counts only when at least one digit follows the letter: "5e" and "5e-" are 5.
    std::int64_t written = 0;
    if (in.Peek() == 'e' || in.Peek() == 'E') {
        const std::size_t letter = in.Position();
        in.Advance();
        bool negativeExponent = false;
        if (in.Peek() == '-' || in.Peek() == '+') {
            negativeExponent = in.Peek() == '-';
            in.Advance();
        }
        bool exponentDigits = false;
        while (!in.AtEnd() && IsDigit(in.Peek())) {
            exponentDigits = true;
            written = written * 10 + (in.Peek() - '0');
            if (written > kWrittenExponentCap) {
                written = kWrittenExponentCap;
            }
            in.Advance();
        }
        if (!exponentDigits) {
            written = 0;
            in.Rewind(letter);
        } else if (negativeExponent) {
            written = -written;
        }
    }

    const double infinity = std::numeric_limits<double>::infinity();
    const std::int64_t exponent = pointExponent + written;
    if (exponent > kExponentLimit) {
        return negative ? -infinity : infinity;
    }
    if (exponent < -kExponentLimit) {
        return 0.0;
    }
    buffer[length++] = 'e';
    const auto end = std::to_chars(buffer.data() + length, buffer.data() + buffer.size(), exponent);
    double value = 0.0;
    const auto result = std::from_chars(buffer.data(), end.ptr, value);
    if (result.ec == std::errc::result_out_of_range) {
        // 0.ddd x 10^exponent lies in [10^(exponent-1), 10^exponent): beyond the double range
        // when the exponent is positive, below it otherwise.
        value = exponent > 0 ? infinity : 0.0;
    }
    if (value == 0.0) {
        return 0.0;  // an underflow reads as a plain 0, like any other zero
    }
    return negative ? -value : value;
}

}  // namespace orbida::cities
