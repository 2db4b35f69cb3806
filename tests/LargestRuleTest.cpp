#include "logic/LargestRule.h"
#include "logic/LabelTexts.h"
#include "logic/NumberReading.h"
#include "logic/RunTimeError.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <vector>

namespace qzds {
namespace {

constexpr int kMismatch = 13;
constexpr int kOverflow = 6;

// The locales the rules are checked in; the symbols are ICU's own, not restated here. A name
// with a codeset ("fr_CH.UTF-8") also brings in the C library's locale of that name.
NumberSymbols Symbols(const std::string& locale) {
    const std::string icuName = locale.substr(0, locale.find('.'));
    return NumberSymbolsFor(icuName, icuName == locale ? "" : locale);
}

// What one call gives: its value, or the number of the error it raises. Every table's rows say
// which they expect.
struct Outcome {
    std::optional<double> value;
    int error = 0;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& outcome) {
    return outcome.value ? out << *outcome.value : out << "error " << outcome.error;
}

template <typename Call> Outcome OutcomeOf(Call call) {
    try {
        return {static_cast<double>(call()), 0};
    } catch (const RunTimeError& e) {
        return {std::nullopt, static_cast<int>(e.number())};
    }
}

// One row of a table: a call's entries, the locale they are read in, and what the call gives.
struct Case {
    const char* name;
    const char* locale;
    std::vector<std::u16string> entries;
    Outcome expected;
};

Case Gives(const char* name, const char* locale, std::vector<std::u16string> entries,
           double value) {
    return {name, locale, std::move(entries), {value, 0}};
}

Case Fails(const char* name, const char* locale, std::vector<std::u16string> entries,
           int error = kMismatch) {
    return {name, locale, std::move(entries), {std::nullopt, error}};
}

std::string CaseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

class LargestOfThreeTable : public testing::TestWithParam<Case> {};

TEST_P(LargestOfThreeTable, ResultOrFirstError) {
    const Case& row = GetParam();
    const std::vector<std::u16string>& e = row.entries;
    EXPECT_EQ(
        OutcomeOf([&] { return LargestOfThree(e.at(0), e.at(1), e.at(2), Symbols(row.locale)); }),
        row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, LargestOfThreeTable,
    testing::Values(Gives("largest_in_middle", "zh_CN", {u"5", u"9", u"2"}, 9),
                    Gives("largest_first", "zh_CN", {u"9", u"5", u"2"}, 9),
                    Gives("largest_last", "zh_CN", {u"2", u"5", u"9"}, 9),
                    Gives("negatives", "zh_CN", {u"-5", u"-3", u"-10"}, -3),
                    // A half goes to the even neighbour, and the range is checked after rounding.
                    Gives("a_half_up_to_even", "zh_CN", {u"3.5", u"2", u"1"}, 4),
                    Gives("negative_half_to_even", "zh_CN", {u"-2.5", u"-9", u"-9"}, -2),
                    Gives("just_above_a_half", "zh_CN", {u"2.5000001", u"1", u"1"}, 3),
                    Gives("half_to_even_then_greater_b", "zh_CN", {u"2.5", u"2.4", u"1"}, 2),
                    Gives("unrounded_b_taken_but_rounds_back", "zh_CN", {u"4", u"4.4", u"1"}, 4),
                    Gives("extreme_range", "zh_CN", {u"-32768.5", u"32767", u"32767.4"}, 32767),
                    Fails("empty_a", "zh_CN", {u"", u"x", u"99999"}),
                    Fails("overflow_a", "zh_CN", {u"40000", u"1", u"1"}, kOverflow),
                    Fails("overflow_when_b_taken", "zh_CN", {u"5", u"40000", u"1"}, kOverflow),
                    Fails("mismatch_at_b_comparison", "zh_CN", {u"5", u"x", u"1"}),
                    Fails("first_failing_step_decides", "zh_CN", {u"x", u"99999", u"1"}),
                    Fails("c_not_a_number", "zh_CN", {u"1", u"2", u""}),
                    Fails("b_before_c", "zh_CN", {u"1", u"x", u"40000"}),
                    Fails("half_rounds_out_of_range", "zh_CN", {u"32767.5", u"1", u"1"}, kOverflow),
                    Fails("below_the_range", "zh_CN", {u"-32768.6", u"1", u"1"}, kOverflow),
                    Gives("small_b_not_taken_so_no_overflow", "zh_CN", {u"5", u"-40000", u"1"}, 5),
                    Gives("en_group", "en_US", {u"1,000", u"-12,345", u"999"}, 1000),
                    Fails("en_bad_group", "en_US", {u"1,00", u"1", u"1"}),
                    Gives("de_decimal_comma", "de_DE", {u"3,7", u"1", u"2"}, 4),
                    Fails("de_point_is_grouping", "de_DE", {u"3.7", u"1", u"2"}),
                    Gives("de_group", "de_DE", {u"1.000", u"2", u"3"}, 1000)),
    CaseName);

// One entry on its own: the number grammar, and the rounding to an integer.
class NumberGrammar : public testing::TestWithParam<Case> {};

TEST_P(NumberGrammar, ReadsOrRejects) {
    const Case& row = GetParam();
    EXPECT_EQ(OutcomeOf([&row] { return NumericValue(row.entries.at(0), Symbols(row.locale)); }),
              row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, NumberGrammar,
    testing::Values(
        Gives("plain", "zh_CN", {u"42"}, 42),
        Gives("blank_kinds", "zh_CN", {u"\t\u00A0\u3000 7 \u3000"}, 7),
        Gives("plus", "zh_CN", {u"+3"}, 3), Gives("fullwidth_minus", "zh_CN", {u"\uFF0D3"}, -3),
        Gives("fullwidth_plus", "zh_CN", {u"\uFF0B3"}, 3),
        Gives("minus_sign", "zh_CN", {u"\u22123"}, -3),
        Gives("fullwidth_digits", "zh_CN", {u"\uFF11\uFF12\uFF0E\uFF15"}, 12.5),
        Gives("trailing_point", "zh_CN", {u"5."}, 5), Gives("leading_point", "zh_CN", {u".5"}, 0.5),
        Gives("signed_leading_point", "zh_CN", {u"-.5"}, -0.5),
        Gives("exponent", "zh_CN", {u"1.5E3"}, 1500),
        Gives("negative_exponent", "zh_CN", {u"25e-1"}, 2.5),
        Gives("groups", "zh_CN", {u"12,345,678"}, 12345678),
        Gives("group_and_fraction", "zh_CN", {u"1,234.5"}, 1234.5),
        Gives("underflow_is_zero", "zh_CN", {u"1e-400"}, 0),
        Gives("zero_with_huge_exponent", "zh_CN", {u"0e999999999999"}, 0),
        Gives("long_exact_fraction", "zh_CN", {u"0.1000000000000000000000000000000000001"}, 0.1),
        Gives("de_fraction", "de_DE", {u"-0,25"}, -0.25), Fails("empty", "zh_CN", {u""}),
        Fails("blanks_only", "zh_CN", {u" \u3000 "}), Fails("point_only", "zh_CN", {u"."}),
        Fails("sign_only", "zh_CN", {u"-"}), Fails("blank_inside", "zh_CN", {u"1 2"}),
        Fails("blank_after_sign", "zh_CN", {u"- 2"}), Fails("two_signs", "zh_CN", {u"--2"}),
        Fails("trailing_sign", "zh_CN", {u"2-"}), Fails("currency", "zh_CN", {u"\u00A55"}),
        Fails("dollar", "en_US", {u"$5"}), Fails("percent", "zh_CN", {u"5%"}),
        Fails("parentheses", "zh_CN", {u"(5)"}), Fails("hex", "zh_CN", {u"0x10"}),
        Fails("hex_vb", "zh_CN", {u"&H10"}), Fails("inf", "zh_CN", {u"inf"}),
        Fails("infinity", "zh_CN", {u"Infinity"}), Fails("nan", "zh_CN", {u"nan"}),
        Fails("true", "zh_CN", {u"true"}), Fails("false", "zh_CN", {u"False"}),
        Fails("letter_after", "zh_CN", {u"5a"}), Fails("exponent_without_digits", "zh_CN", {u"5e"}),
        Fails("exponent_sign_only", "zh_CN", {u"5e+"}), Fails("short_group", "zh_CN", {u"1,5"}),
        Fails("long_first_group", "zh_CN", {u"1234,567"}),
        Fails("long_last_group", "zh_CN", {u"1,2345"}),
        Fails("short_middle_group", "en_US", {u"1,23,456"}),
        Fails("leading_group", "zh_CN", {u",123"}),
        Fails("group_in_fraction", "zh_CN", {u"1.234,567"}),
        Fails("two_points", "zh_CN", {u"1.2.3"}),
        Fails("fullwidth_point_not_in_de", "de_DE", {u"3\uFF0E5"}),
        // Native digits, and the separators of the locale's own or its Latin-digit system,
        // one set of each per entry.
        Gives("ar_latin", "ar_EG", {u"3.5"}, 3.5), Gives("ar_native", "ar_EG", {u"٣٫٥"}, 3.5),
        Gives("ar_latin_digits_native_point", "ar_EG", {u"3٫5"}, 3.5),
        Gives("ar_native_digits_latin_point", "ar_EG", {u"٣.٥"}, 3.5),
        Gives("ar_native_grouped", "ar_EG", {u"-١٬٢٣٤٫٥"}, -1234.5),
        Fails("ar_two_separator_sets", "ar_EG", {u"1,000٫5"}),
        Fails("ar_two_digit_sets", "ar_EG", {u"1٢"}),
        Gives("ar_formatted_negative", "ar_EG", {u"\u061C-٣٫٥"}, -3.5),
        Gives("fa_native", "fa_IR", {u"\u200E\u2212۱۲٫۵"}, -12.5),
        Gives("fa_latin", "fa_IR", {u"1,234.5"}, 1234.5),
        Fails("fa_two_separator_sets", "fa_IR", {u"۱٬۲۳۴.۵"}),
        Gives("bn_native", "bn_BD", {u"১,২৩,৪৫৬.৫"}, 123456.5),
        Gives("bn_latin", "bn_BD", {u"1,23,456.5"}, 123456.5),
        Gives("en_IN_lakh", "en_IN", {u"1,00,000"}, 100000),
        Fails("en_IN_western_groups", "en_IN", {u"1,000,000"}),
        Fails("en_US_lakh", "en_US", {u"1,00,000"}),
        Gives("hi_IN_lakh", "hi_IN", {u"12,34,567"}, 1234567),
        Fails("en_IN_long_first_group", "en_IN", {u"123,45,678"}),
        Fails("en_IN_short_middle_group", "en_IN", {u"1,0,00,000"}),
        Fails("en_IN_short_last_group", "en_IN", {u"1,00,00"}),
        Gives("fr_trailing_narrow_space", "fr_FR", {u"3,5\u202F"}, 3.5),
        Gives("fr_grouped", "fr_FR", {u"1\u202F234,5"}, 1234.5),
        Gives("fr_trailing_group_separator", "fr_FR", {u"12\u202F"}, 12),
        Gives("thin_spaces_around", "zh_CN", {u"\u20097\u2009"}, 7),
        Fails("fr_CH_point_without_c_library", "fr_CH", {u"3.5"}),
        Gives("fr_CH_point_from_c_library", "fr_CH.UTF-8", {u"3.5"}, 3.5),
        Gives("fr_CH_comma_still", "fr_CH.UTF-8", {u"3,5"}, 3.5),
        Fails("too_large", "zh_CN", {u"1e400"}, kOverflow),
        Fails("too_large_negative", "zh_CN", {u"-1e400"}, kOverflow),
        Fails("huge_exponent", "zh_CN", {u"1e99999999999999999999"}, kOverflow)),
    CaseName);

TEST(NumberGrammar, HugeEntriesAreReadExactly) {
    // A pasted line of a million digits, correctly rounded (read in quadratic time, they would
    // not be read within the test's timeout).
    const std::u16string millionNines(1'000'000, u'9');
    EXPECT_EQ(OutcomeOf([&] { return NumericValue(millionNines, Symbols("zh_CN")); }),
              (Outcome{std::nullopt, kOverflow}));
    std::u16string tiny = u"0." + std::u16string(1'000'000, u'0') + u"1";
    EXPECT_EQ(NumericValue(tiny, Symbols("zh_CN")), 0.0);
    const std::u16string longFraction = u"32767." + std::u16string(500'000, u'4');
    EXPECT_EQ(ToInteger(longFraction, Symbols("zh_CN")), 32767);
}

// Every locale ICU lists greets without a failure and reads back its own writing of 3.5, -3.5
// and 1234567.5, in its own digits and in Latin ones.
TEST(EveryLocale, GreetsAndReadsItsOwnNumbers) {
    int32_t count = 0;
    const icu::Locale* locales = icu::Locale::getAvailableLocales(count);
    std::vector<std::string> failures;
    for (int32_t i = 0; i < count; ++i) {
        const std::string name = locales[i].getName();
        try {
            GreetingText({2026, 12, 8}, name);
            TimeText({13, 5, 9}, name);
            const NumberSymbols symbols = NumberSymbolsFor(name);
            for (const bool latin : {false, true}) {
                UErrorCode status = U_ZERO_ERROR;
                icu::Locale locale(locales[i]);
                if (latin) {
                    locale.setKeywordValue("numbers", "latn", status);
                }
                const std::unique_ptr<icu::NumberFormat> format(
                    icu::NumberFormat::createInstance(locale, status));
                ASSERT_TRUE(U_SUCCESS(status)) << name;
                for (const double value : {3.5, -3.5, 1234567.5}) {
                    icu::UnicodeString written;
                    format->format(value, written);
                    const std::u16string text(written.getBuffer(),
                                              written.getBuffer() + written.length());
                    const Outcome read = OutcomeOf([&] { return NumericValue(text, symbols); });
                    if (read != Outcome{value, 0}) {
                        failures.push_back(name + ": " + testing::PrintToString(text) +
                                           " read as " + testing::PrintToString(read));
                    }
                }
            }
        } catch (const std::exception& e) {
            failures.push_back(name + ": " + e.what());
        }
    }
    for (const std::string& failure : failures) {
        ADD_FAILURE() << failure;
    }
}

} // namespace
} // namespace qzds
