#include "logic/NumberReading.h"

#include "logic/RunTimeError.h"

#include <algorithm>
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

[[noreturn]] void NotANumber() {
    throw RunTimeError(ErrorNumber::TypeMismatch);
}

// The decimal place of the first significant digit of a spelled number ("123" 3, "0.05" -1),
// plus its exponent: above zero the number is too large for a double, otherwise too small.
std::int64_t Magnitude(const std::string& spelled, std::int64_t exponent) {
    const std::size_t end = std::min(spelled.find('e'), spelled.size());
    const std::size_t point = std::min(spelled.find('.'), end);
    const std::size_t first = spelled.find_first_of("123456789");
    if (first == std::string::npos || first >= end) {
        return 0; // all zeros: from_chars never finds those out of range
    }
    const auto place = first < point ? static_cast<std::int64_t>(point - first)
                                     : -static_cast<std::int64_t>(first - point - 1);
    return place + exponent;
}

// One walk through an entry: each part of the grammar is checked and written out in the plain
// ASCII form std::from_chars reads ("-1234.5e3"), which then gives the correctly rounded value.
class Reader {
public:
    Reader(std::u16string_view text, const NumberSymbols& symbols)
        : m_text(text)
        , m_symbols(symbols) {}

    double read() {
        skipBlanks();
        if (more() && SignOf(peek()) != 0) {
            if (SignOf(peek()) < 0) {
                m_spelled += '-';
            }
            ++m_pos;
        }
        const std::size_t integerDigits = readIntegerPart();
        const std::size_t fractionDigits = readFraction(integerDigits);
        if (integerDigits + fractionDigits == 0) {
            NotANumber();
        }
        readExponent();
        skipBlanks();
        if (more()) {
            NotANumber();
        }
        return convert();
    }

private:
    bool more() const { return m_pos < m_text.size(); }
    char16_t peek() const { return m_text[m_pos]; }
    bool digitAt(std::size_t pos) const {
        return pos < m_text.size() && DigitValue(m_text[pos]) >= 0;
    }
    bool startsWith(std::u16string_view piece) const {
        return !piece.empty() && m_text.substr(m_pos, piece.size()) == piece;
    }

    void skipBlanks() {
        while (more() && IsBlank(peek())) {
            ++m_pos;
        }
    }

    std::size_t readDigits() {
        std::size_t count = 0;
        while (digitAt(m_pos)) {
            m_spelled += static_cast<char>('0' + DigitValue(m_text[m_pos++]));
            ++count;
        }
        return count;
    }

    // Digits, and group separators between correct groups: one to three digits first, then
    // groups of exactly three. "1,00" is no number at all rather than a quiet 100.
    std::size_t readIntegerPart() {
        const std::u16string_view group = m_symbols.group;
        std::size_t total = readDigits();
        std::size_t run = total;
        bool grouped = false;
        // A separator that no digit follows is not one: a trailing no-break space is a blank
        // even where the locale groups with it.
        while (total > 0 && startsWith(group) && digitAt(m_pos + group.size())) {
            if (grouped ? run != 3 : run > 3) {
                NotANumber();
            }
            grouped = true;
            m_pos += group.size();
            run = readDigits();
            total += run;
        }
        if (grouped && run != 3) {
            NotANumber();
        }
        return total;
    }

    // The locale's decimal separator, and "．" too where that separator is ".".
    std::size_t readFraction(std::size_t integerDigits) {
        if (startsWith(m_symbols.decimal)) {
            m_pos += m_symbols.decimal.size();
        } else if (m_symbols.decimal == u"." && more() && peek() == u'\uFF0E') {
            ++m_pos;
        } else {
            return 0;
        }
        if (integerDigits == 0) {
            m_spelled += '0'; // from_chars wants a digit before the point: ".5" is 0.5
        }
        m_spelled += '.';
        return readDigits();
    }

    void readExponent() {
        if (!more() || (peek() != u'e' && peek() != u'E')) {
            return;
        }
        ++m_pos;
        const int sign = more() && SignOf(peek()) != 0 ? SignOf(m_text[m_pos++]) : 1;
        if (!digitAt(m_pos)) {
            NotANumber();
        }
        while (digitAt(m_pos)) {
            // Saturate: past a billion the answer is overflow or zero either way.
            m_exponent = std::min<std::int64_t>(m_exponent * 10 + DigitValue(m_text[m_pos++]),
                                                1'000'000'000);
        }
        m_exponent *= sign;
        m_spelled += 'e';
        m_spelled += std::to_string(m_exponent);
    }

    double convert() const {
        double value = 0.0;
        const char* first = m_spelled.data();
        const char* last = first + m_spelled.size();
        const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
        if (error == std::errc::result_out_of_range) {
            // Well formed but beyond a double: too large is an overflow, too small is zero.
            if (Magnitude(m_spelled, m_exponent) > 0) {
                throw RunTimeError(ErrorNumber::Overflow);
            }
            return 0.0;
        }
        if (error != std::errc() || end != last) {
            NotANumber(); // cannot happen for what the walk writes, but never guess
        }
        return value;
    }

    std::u16string_view m_text;
    const NumberSymbols& m_symbols;
    std::string m_spelled;
    std::size_t m_pos = 0;
    std::int64_t m_exponent = 0;
};

} // namespace

double NumericValue(std::u16string_view entry, const NumberSymbols& symbols) {
    return Reader(entry, symbols).read();
}

} // namespace qzds
