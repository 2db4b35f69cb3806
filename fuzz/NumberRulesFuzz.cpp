// Property fuzzing of the number rules: reading, rounding and the largest of three.
//
// The input's first byte picks the numeric locale; the rest is three entries separated by 0xFF,
// each byte standing for one character of an alphabet rich in what the grammar cares about.

#include "logic/LargestRule.h"
#include "logic/NumberReading.h"
#include "logic/RunTimeError.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

using qzds::ErrorNumber;
using qzds::NumberSymbols;
using qzds::RunTimeError;

constexpr std::u16string_view kAlphabet =
    u"0123456789０１９.,．eE+-＋－− \t\u00A0\u3000x$%'\u202F٠١٩٫٬\u061C\u2009";

void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property violated: %s\n", property);
        std::abort();
    }
}

// The value, or the error number.
struct Read {
    std::optional<double> value;
    ErrorNumber error{};
};

Read ReadNumber(std::u16string_view entry, const NumberSymbols& symbols) {
    try {
        return {qzds::NumericValue(entry, symbols), {}};
    } catch (const RunTimeError& e) {
        return {std::nullopt, e.number()};
    }
}

// The accepted entry written plainly in ASCII: blanks and group separators dropped, full-width
// characters and the locale's point replaced by their ASCII forms.
std::string Plain(std::u16string_view entry, const NumberSymbols& symbols) {
    std::string plain;
    for (const char16_t c : entry) {
        if (c >= u'0' && c <= u'9') {
            plain += static_cast<char>(c);
        } else if (c >= u'０' && c <= u'９') {
            plain += static_cast<char>('0' + (c - u'０'));
        } else if (c == u'-' || c == u'－' || c == u'−') {
            plain += '-';
        } else if (c == u'e' || c == u'E') {
            plain += 'e';
        } else if (c >= u'٠' && c <= u'٩') {
            plain += static_cast<char>('0' + (c - u'٠'));
        } else if (c == u'．' || std::any_of(symbols.separators.begin(), symbols.separators.end(),
                                             [c](const qzds::Separators& set) {
                                                 return set.decimal.size() == 1 &&
                                                        set.decimal.front() == c;
                                             })) {
            if (plain.empty() || plain.back() == '-') {
                plain += '0';
            }
            plain += '.';
        }
    }
    return plain;
}

void CheckEntry(const std::u16string& entry, const NumberSymbols& symbols) {
    const Read read = ReadNumber(entry, symbols);
    if (read.value) {
        Require(std::isfinite(*read.value), "an accepted entry is finite");
        const std::string plain = Plain(entry, symbols);
        double expected = 0;
        const auto [end, error] =
            std::from_chars(plain.data(), plain.data() + plain.size(), expected);
        if (error == std::errc()) {
            Require(end == plain.data() + plain.size(), "the plain form reads whole");
            Require(*read.value == expected, "the value is the correctly rounded one");
        }
    }

    // An entry in the locale's own digits reads as the same entry in ASCII digits.
    if (symbols.digits.size() == 10 && symbols.digits.front() <= 0xFFFF &&
        std::all_of(entry.begin(), entry.end(), [](char16_t c) {
            return (c < u'０' || c > u'９') && (c < u'٠' || c > u'٩');
        })) {
        std::u16string native = entry;
        for (char16_t& c : native) {
            if (c >= u'0' && c <= u'9') {
                c = static_cast<char16_t>(symbols.digits[static_cast<std::size_t>(c - u'0')]);
            }
        }
        const Read transliterated = ReadNumber(native, symbols);
        Require(transliterated.value == read.value && transliterated.error == read.error,
                "native digits read as their ASCII transliteration");
    }

    // ToInteger is nearbyint of the value, or an overflow, or the reading's own error.
    try {
        const std::int16_t integer = qzds::ToInteger(entry, symbols);
        Require(read.value.has_value(), "ToInteger accepts only numbers");
        Require(integer == std::nearbyint(*read.value), "ToInteger rounds half to even");
    } catch (const RunTimeError& e) {
        if (!read.value) {
            Require(e.number() == read.error, "ToInteger fails as the reading fails");
        } else {
            const double rounded = std::nearbyint(*read.value);
            Require(e.number() == ErrorNumber::Overflow && (rounded < -32768 || rounded > 32767),
                    "ToInteger overflows exactly outside -32768..32767");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static const std::array<NumberSymbols, 5> locales = {
        qzds::NumberSymbolsFor("zh_CN"), qzds::NumberSymbolsFor("en_US"),
        qzds::NumberSymbolsFor("de_DE"), qzds::NumberSymbolsFor("ar_EG"),
        qzds::NumberSymbolsFor("en_IN")};
    const NumberSymbols& symbols = locales[data[0] % locales.size()];

    std::array<std::u16string, 3> entries;
    std::size_t current = 0;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF) {
            if (++current == entries.size()) {
                break;
            }
            continue;
        }
        entries[current] += kAlphabet[data[i] % kAlphabet.size()];
    }

    for (const std::u16string& entry : entries) {
        CheckEntry(entry, symbols);
    }

    try {
        const std::int16_t result =
            qzds::LargestOfThree(entries[0], entries[1], entries[2], symbols);
        double largest = -INFINITY;
        for (const std::u16string& entry : entries) {
            const Read read = ReadNumber(entry, symbols);
            Require(read.value.has_value(), "a returned result means three numbers");
            largest = std::fmax(largest, *read.value);
        }
        Require(result == std::nearbyint(largest),
                "the result is the largest value rounded half to even");
    } catch (const RunTimeError&) {
        // Which error comes first is covered by the unit tests' table.
    }
    return 0;
}
