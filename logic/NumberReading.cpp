#include "logic/NumberReading.h"

#include "logic/RunTimeError.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <system_error>

namespace qzds {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u00A0' || c == u'\u3000';
}

// Full-width digits come from Chinese input methods; they mean what the ASCII ones mean.
int DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'\uFF10' && c <= u'\uFF19') {
        return c - u'\uFF10';
    }
    return -1;
}

// +1 for a plus, -1 for a minus, 0 for anything else.
int SignOf(char16_t c) {
    switch (c) {
    case u'+':
    case u'\uFF0B':
        return 1;
    case u'-':
    case u'\uFF0D':
    case u'\u2212':
        return -1;
    default:
        return 0;
    }
}

// The powers of ten that a double holds exactly.
constexpr std::array<double, 23> kPowers = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

[[noreturn]] void NotANumber() {
    throw RunTimeError(ErrorNumber::TypeMismatch);
}

// Reads one entry: a single walk through the grammar, then the value, straight from the digits
// for short numbers and through std::from_chars for the rest.
class Reader {
public:
    // With `spelling` the reader also writes the number out there for std::from_chars; short
    // numbers need no such copy, so the first reading goes without it.
    Reader(std::u16string_view text, const NumberSymbols& symbols, std::string* spelling = nullptr)
        : m_text(text)
        , m_symbols(symbols)
        , m_decimal(symbols.decimal)
        , m_group(symbols.group)
        , m_fullWidthPoint(symbols.decimal == u".")
        , m_spelling(spelling) {}

    double read() {
        scan();
        return convert();
    }

private:
    // Walks the entry once, through the whole grammar; throws at the first thing outside it.
    void scan() {
        skipBlanks();
        if (const int sign = at(m_pos) ? SignOf(m_text[m_pos]) : 0; sign != 0) {
            if (sign < 0) {
                m_negative = true;
                spell('-');
            }
            ++m_pos;
        }
        readIntegerPart();
        readFraction();
        if (m_integerDigits + m_fractionDigits == 0) {
            NotANumber();
        }
        readExponent();
        skipBlanks();
        if (m_pos != m_text.size()) {
            NotANumber();
        }
    }

    bool at(std::size_t pos) const { return pos < m_text.size(); }

    bool startsWith(std::u16string_view piece, std::size_t pos) const {
        if (piece.size() == 1) { // the usual separator: no need for a general comparison
            return pos < m_text.size() && m_text[pos] == piece.front();
        }
        return !piece.empty() && m_text.size() - pos >= piece.size() &&
               m_text.compare(pos, piece.size(), piece) == 0;
    }

    void skipBlanks() {
        while (at(m_pos) && IsBlank(m_text[m_pos])) {
            ++m_pos;
        }
    }

    // Digits, and group separators between correct groups: one to three digits first, then
    // groups of exactly three. "1,00" is no number at all rather than a quiet 100.
    void readIntegerPart() {
        std::size_t run = 0;
        bool grouped = false;
        const std::u16string_view group = m_group;
        while (at(m_pos)) {
            if (const int digit = DigitValue(m_text[m_pos]); digit >= 0) {
                appendDigit(digit);
                ++m_integerDigits;
                ++run;
                ++m_pos;
            } else if (m_integerDigits > 0 && startsWith(group, m_pos) &&
                       at(m_pos + group.size()) && DigitValue(m_text[m_pos + group.size()]) >= 0) {
                // A separator that no digit follows is not one: a trailing no-break space is a
                // blank even where the locale groups with it.
                if (grouped ? run != 3 : run > 3) {
                    NotANumber();
                }
                grouped = true;
                run = 0;
                m_pos += group.size();
            } else {
                break;
            }
        }
        if (grouped && run != 3) {
            NotANumber();
        }
    }

    void readFraction() {
        std::size_t length = 0;
        if (startsWith(m_decimal, m_pos)) {
            length = m_decimal.size();
        } else if (m_fullWidthPoint && at(m_pos) && m_text[m_pos] == u'\uFF0E') {
            length = 1;
        } else {
            return;
        }
        m_pos += length;
        if (m_integerDigits == 0) {
            spell('0'); // from_chars wants a digit before the point: ".5" is 0.5
        }
        spell('.');
        while (at(m_pos) && DigitValue(m_text[m_pos]) >= 0) {
            appendDigit(DigitValue(m_text[m_pos]));
            ++m_fractionDigits;
            ++m_pos;
        }
    }

    void readExponent() {
        if (!at(m_pos) || (m_text[m_pos] != u'e' && m_text[m_pos] != u'E')) {
            return;
        }
        ++m_pos;
        int sign = 1;
        if (at(m_pos) && SignOf(m_text[m_pos]) != 0) {
            sign = SignOf(m_text[m_pos]);
            ++m_pos;
        }
        std::int64_t exponent = 0;
        std::size_t digits = 0;
        while (at(m_pos) && DigitValue(m_text[m_pos]) >= 0) {
            // Saturate: past a billion the answer is overflow or zero either way.
            exponent =
                std::min<std::int64_t>(exponent * 10 + DigitValue(m_text[m_pos]), 1'000'000'000);
            ++digits;
            ++m_pos;
        }
        if (digits == 0) {
            NotANumber();
        }
        m_exponent = sign * exponent;
        spell('e');
        if (m_spelling != nullptr) {
            *m_spelling += std::to_string(m_exponent);
        }
    }

    void appendDigit(int digit) {
        if (digit != 0 && m_firstSignificant < 0) {
            m_firstSignificant = static_cast<std::int64_t>(m_integerDigits + m_fractionDigits);
        }
        if (m_firstSignificant >= 0 && ++m_significantDigits <= 15) {
            m_mantissa = m_mantissa * 10 + static_cast<std::uint64_t>(digit);
        }
        spell(static_cast<char>('0' + digit));
    }

    double convert() const {
        // Most entries are short: a mantissa of at most 15 digits is exact in a double, and so is
        // a power of ten up to 1e22, so one multiplication or division rounds correctly.
        const std::int64_t scale = m_exponent - static_cast<std::int64_t>(m_fractionDigits);
        if (m_significantDigits <= 15 && scale >= -22 && scale <= 22) {
            const auto mantissa = static_cast<double>(static_cast<std::int64_t>(m_mantissa));
            const double magnitude = scale == 0  ? mantissa
                                     : scale > 0 ? mantissa * kPowers.at(scale)
                                                 : mantissa / kPowers.at(-scale);
            return m_negative ? -magnitude : magnitude;
        }
        std::string spelling;
        spelling.reserve(m_text.size() + 16);
        return Reader(m_text, m_symbols, &spelling).readSpelled();
    }

    void spell(char c) {
        if (m_spelling != nullptr) {
            *m_spelling += c;
        }
    }

    double readSpelled() {
        scan();
        return fromChars();
    }

    double fromChars() const {
        double value = 0.0;
        const char* first = m_spelling->data();
        const char* last = first + m_spelling->size();
        const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
        if (error == std::errc::result_out_of_range) {
            // The number is well formed but beyond a double: too large is an overflow, too
            // small is zero. Its size is the place of its first significant digit plus the
            // exponent.
            const std::int64_t magnitude =
                m_exponent + static_cast<std::int64_t>(m_integerDigits) - m_firstSignificant;
            if (magnitude > 0) {
                throw RunTimeError(ErrorNumber::Overflow);
            }
            return 0.0;
        }
        if (error != std::errc() || end != last) {
            NotANumber(); // cannot happen for what the reader writes, but never guess
        }
        return value;
    }

    std::u16string_view m_text;
    const NumberSymbols& m_symbols;
    std::u16string_view m_decimal;
    std::u16string_view m_group;
    bool m_fullWidthPoint; // "．" counts as the point where the locale's point is "."
    std::string* m_spelling;
    std::size_t m_pos = 0;
    std::size_t m_integerDigits = 0;
    std::size_t m_fractionDigits = 0;
    std::int64_t m_exponent = 0;
    std::int64_t m_firstSignificant = -1; // index of the first non-zero digit, -1 for none
    std::size_t m_significantDigits = 0;  // digits from the first non-zero one on
    std::uint64_t m_mantissa = 0;         // those digits, while there are at most 15
    bool m_negative = false;
};

} // namespace

double NumericValue(std::u16string_view entry, const NumberSymbols& symbols) {
    return Reader(entry, symbols).read();
}

} // namespace qzds
