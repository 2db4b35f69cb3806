#include "logic/NumberReading.h"

#include "logic/RunTimeError.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace qzds {

namespace {

// Marks that set the direction of the text around a sign; unseen, they count as nothing.
bool IsDirectionMark(char32_t c) {
    return c == U'\u061C' || c == U'\u200E' || c == U'\u200F';
}

// +1 for a plus, -1 for a minus, 0 for anything else.
int SignOf(char32_t c) {
    switch (c) {
    case U'+':
    case U'\uFF0B':
        return 1;
    case U'-':
    case U'\uFF0D':
    case U'\u2212':
        return -1;
    default:
        return 0;
    }
}

std::u32string CodePoints(std::u16string_view text) {
    std::u32string points;
    points.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            points +=
                static_cast<char32_t>(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            points += c;
        }
    }
    return points;
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

// The digit sets an entry may be written in; each entry keeps to one.
struct DigitSets {
    std::u32string native; // the locale's own, where they are not ASCII

    // The digit's value in the set that starts with this zero, or -1 for a non-digit.
    int value(char32_t c, char32_t zero) const {
        if (zero == U'0' || zero == U'\uFF10') { // ASCII, and full-width from Chinese input
            return c >= zero && c <= zero + 9 ? static_cast<int>(c - zero) : -1;
        }
        const auto found = native.find(c);
        return found == std::u32string::npos ? -1 : static_cast<int>(found);
    }
    // The zero of the set this character is a digit of, or nothing.
    std::optional<char32_t> setOf(char32_t c) const {
        if (c >= U'0' && c <= U'9') {
            return U'0';
        }
        if (c >= U'\uFF10' && c <= U'\uFF19') {
            return U'\uFF10';
        }
        if (!native.empty() && native.find(c) != std::u32string::npos) {
            return native.front();
        }
        return std::nullopt;
    }
};

// One walk through an entry with one set of separators: each part of the grammar is checked and
// written out in the plain ASCII form std::from_chars reads ("-1234.5e3").
class Reader {
public:
    Reader(std::u32string_view text, const NumberSymbols& symbols, const Separators& separators)
        : m_text(text)
        , m_symbols(symbols)
        , m_digits{symbols.digits}
        , m_decimal(CodePoints(separators.decimal))
        , m_group(CodePoints(separators.group)) {}

    // Whether the entry is a number written with these separators; spelled() is then its form.
    bool scan() {
        skipBlanks();
        if (more() && SignOf(peek()) != 0) {
            if (SignOf(peek()) < 0) {
                m_spelled += '-';
            }
            ++m_pos;
            skipDirectionMarks();
        }
        const auto integerDigits = readIntegerPart();
        if (!integerDigits) {
            return false;
        }
        const std::size_t fractionDigits = readFraction(*integerDigits);
        if (*integerDigits + fractionDigits == 0 || !readExponent()) {
            return false;
        }
        skipBlanks();
        return !more();
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

private:
    bool more() const { return m_pos < m_text.size(); }
    char32_t peek() const { return m_text[m_pos]; }
    bool startsWith(std::u32string_view piece, std::size_t pos) const {
        return !piece.empty() && m_text.substr(pos, piece.size()) == piece;
    }

    // The digit's value (-1 for none), fixing the entry's digit set at its first digit: a digit
    // of another set ends the digits there, and what is left is no number.
    int digitAt(std::size_t pos) {
        if (pos >= m_text.size()) {
            return -1;
        }
        if (!m_zero) {
            m_zero = m_digits.setOf(m_text[pos]);
            if (!m_zero) {
                return -1;
            }
        }
        return m_digits.value(m_text[pos], *m_zero);
    }

    void skipDirectionMarks() {
        while (more() && IsDirectionMark(peek())) {
            ++m_pos;
        }
    }
    void skipBlanks() {
        while (more() && (IsBlank(peek()) || IsDirectionMark(peek()))) {
            ++m_pos;
        }
    }

    std::size_t readDigits() {
        std::size_t count = 0;
        for (int digit = digitAt(m_pos); digit >= 0; digit = digitAt(m_pos)) {
            m_spelled += static_cast<char>('0' + digit);
            ++m_pos;
            ++count;
        }
        return count;
    }

    // Digits, and group separators between groups of the locale's sizes: the group before the
    // decimal separator has the primary size, the ones before it the secondary size, the first
    // one at most that. "1,00" is no number at all rather than a quiet 100.
    std::optional<std::size_t> readIntegerPart() {
        const auto primary = static_cast<std::size_t>(std::max(m_symbols.primaryGroup, 0));
        const auto secondary = static_cast<std::size_t>(std::max(m_symbols.secondaryGroup, 0));
        std::vector<std::size_t> groups{readDigits()};
        // A separator that no digit follows is not one: a trailing no-break space is a blank
        // even where the locale groups with it. A locale that does not group takes none.
        while (primary > 0 && groups.front() > 0 && startsWith(m_group, m_pos) &&
               digitAt(m_pos + m_group.size()) >= 0) {
            m_pos += m_group.size();
            groups.push_back(readDigits());
        }
        if (groups.size() > 1) {
            const std::size_t last = groups.size() - 1;
            for (std::size_t i = 0; i < groups.size(); ++i) {
                const bool fits = i == last ? groups[i] == primary
                                  : i == 0  ? groups[i] <= secondary
                                            : groups[i] == secondary;
                if (!fits) {
                    return std::nullopt;
                }
            }
        }
        std::size_t total = 0;
        for (const std::size_t group : groups) {
            total += group;
        }
        return total;
    }

    // The decimal separator, and "．" too where it is ".".
    std::size_t readFraction(std::size_t integerDigits) {
        if (startsWith(m_decimal, m_pos)) {
            m_pos += m_decimal.size();
        } else if (m_decimal == U"." && more() && peek() == U'\uFF0E') {
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

    bool readExponent() {
        if (!more() || (peek() != U'e' && peek() != U'E')) {
            return true;
        }
        ++m_pos;
        int sign = 1;
        if (more() && SignOf(peek()) != 0) {
            sign = SignOf(peek());
            ++m_pos;
        }
        if (digitAt(m_pos) < 0) {
            return false;
        }
        for (int digit = digitAt(m_pos); digit >= 0; digit = digitAt(++m_pos)) {
            // Saturate: past a billion the answer is overflow or zero either way.
            m_exponent = std::min<std::int64_t>(m_exponent * 10 + digit, 1'000'000'000);
        }
        m_exponent *= sign;
        m_spelled += 'e';
        m_spelled += std::to_string(m_exponent);
        return true;
    }

    std::u32string_view m_text;
    const NumberSymbols& m_symbols;
    DigitSets m_digits;
    std::u32string m_decimal;
    std::u32string m_group;
    std::string m_spelled;
    std::size_t m_pos = 0;
    std::optional<char32_t> m_zero; // the zero of the entry's digit set, once a digit is seen
    std::int64_t m_exponent = 0;
};

} // namespace

double NumericValue(std::u16string_view entry, const NumberSymbols& symbols) {
    const std::u32string text = CodePoints(entry);
    // One set of separators per entry: the first set the whole entry reads with. An entry with
    // no separator reads the same with every set.
    for (const Separators& separators : symbols.separators) {
        Reader reader(text, symbols, separators);
        if (reader.scan()) {
            return reader.convert();
        }
    }
    NotANumber();
}

} // namespace qzds
