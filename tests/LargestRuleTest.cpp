#include "logic/LargestRule.h"
#include "TextHelpers.h"
#include "logic/LabelTexts.h"
#include "logic/NumberReading.h"
#include "logic/RunTimeError.h"

#include <chrono>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <vector>

namespace qzds {
namespace {

constexpr int kMismatch = 13;
constexpr int kOverflow = 6;

// The locales the rules are checked in; the symbols are ICU's own, not restated here. A name
// with a codeset ("fr_CH.UTF-8") also brings in the C library's locale of that name.
const NumberSymbols& Symbols(const std::string& locale) {
    static std::map<std::string, NumberSymbols> cache;
    auto found = cache.find(locale);
    if (found == cache.end()) {
        const std::string icuName = locale.substr(0, locale.find('.'));
        found =
            cache.emplace(locale, NumberSymbolsFor(icuName, icuName == locale ? "" : locale)).first;
    }
    return found->second;
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

struct LargestCase {
    const char* name;
    const char* locale;
    std::u16string a, b, c;
    Outcome expected;
};

LargestCase Gives(const char* name, const char* locale, std::u16string a, std::u16string b,
                  std::u16string c, int result) {
    return {name, locale, std::move(a), std::move(b), std::move(c), {result, 0}};
}

LargestCase Fails(const char* name, const char* locale, std::u16string a, std::u16string b,
                  std::u16string c, int error) {
    return {name, locale, std::move(a), std::move(b), std::move(c), {std::nullopt, error}};
}

class LargestOfThreeTable : public testing::TestWithParam<LargestCase> {};

TEST_P(LargestOfThreeTable, ResultOrFirstError) {
    const LargestCase& row = GetParam();
    EXPECT_EQ(
        OutcomeOf([&row] { return LargestOfThree(row.a, row.b, row.c, Symbols(row.locale)); }),
        row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, LargestOfThreeTable,
    testing::Values(Gives("largest_in_middle", "zh_CN", u"5", u"9", u"2", 9),
                    Gives("largest_first", "zh_CN", u"9", u"5", u"2", 9),
                    Gives("largest_last", "zh_CN", u"2", u"5", u"9", 9),
                    Gives("negatives", "zh_CN", u"-5", u"-3", u"-10", -3),
                    Gives("a_rounded_up", "zh_CN", u"3.7", u"2", u"1", 4),
                    Gives("half_to_even_then_greater_b", "zh_CN", u"2.5", u"2.4", u"1", 2),
                    Gives("unrounded_b_taken_but_rounds_back", "zh_CN", u"4", u"4.4", u"1", 4),
                    Gives("three_equal", "zh_CN", u"7", u"7", u"7", 7),
                    Gives("blanks_around", "zh_CN", u" 7 ", u"1", u"2", 7),
                    Gives("extreme_range", "zh_CN", u"-32768.5", u"32767", u"32767.4", 32767),
                    Fails("empty_a", "zh_CN", u"", u"x", u"99999", kMismatch),
                    Fails("overflow_a", "zh_CN", u"40000", u"1", u"1", kOverflow),
                    Fails("overflow_when_b_taken", "zh_CN", u"5", u"40000", u"1", kOverflow),
                    Fails("mismatch_at_b_comparison", "zh_CN", u"5", u"x", u"1", kMismatch),
                    Fails("first_failing_step_decides", "zh_CN", u"x", u"99999", u"1", kMismatch),
                    Fails("c_not_a_number", "zh_CN", u"1", u"2", u"", kMismatch),
                    Fails("b_before_c", "zh_CN", u"1", u"x", u"40000", kMismatch),
                    Fails("half_rounds_out_of_range", "zh_CN", u"32767.5", u"1", u"1", kOverflow),
                    Gives("small_b_not_taken_so_no_overflow", "zh_CN", u"5", u"-40000", u"1", 5),
                    Gives("en_group", "en_US", u"1,000", u"-12,345", u"999", 1000),
                    Fails("en_bad_group", "en_US", u"1,00", u"1", u"1", kMismatch),
                    Gives("de_decimal_comma", "de_DE", u"3,7", u"1", u"2", 4),
                    Fails("de_point_is_grouping", "de_DE", u"3.7", u"1", u"2", kMismatch),
                    Gives("de_group", "de_DE", u"1.000", u"2", u"3", 1000)),
    [](const auto& info) { return std::string(info.param.name); });

// One entry on its own: the number grammar, and the rounding to an integer.
struct ReadCase {
    const char* name;
    const char* locale;
    std::u16string entry;
    Outcome expected;
};

ReadCase Reads(const char* name, const char* locale, std::u16string entry, double value) {
    return {name, locale, std::move(entry), {value, 0}};
}

ReadCase Rejects(const char* name, const char* locale, std::u16string entry,
                 int error = kMismatch) {
    return {name, locale, std::move(entry), {std::nullopt, error}};
}

class NumberGrammar : public testing::TestWithParam<ReadCase> {};

TEST_P(NumberGrammar, ReadsOrRejects) {
    const ReadCase& row = GetParam();
    EXPECT_EQ(OutcomeOf([&row] { return NumericValue(row.entry, Symbols(row.locale)); }),
              row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, NumberGrammar,
    testing::Values(
        Reads("plain", "zh_CN", u"42", 42),
        Reads("blank_kinds", "zh_CN", u"\t\u00A0\u3000 7 \u3000", 7),
        Reads("plus", "zh_CN", u"+3", 3), Reads("fullwidth_minus", "zh_CN", u"\uFF0D3", -3),
        Reads("fullwidth_plus", "zh_CN", u"\uFF0B3", 3),
        Reads("minus_sign", "zh_CN", u"\u22123", -3),
        Reads("fullwidth_digits", "zh_CN", u"\uFF11\uFF12\uFF0E\uFF15", 12.5),
        Reads("trailing_point", "zh_CN", u"5.", 5), Reads("leading_point", "zh_CN", u".5", 0.5),
        Reads("signed_leading_point", "zh_CN", u"-.5", -0.5),
        Reads("exponent", "zh_CN", u"1.5E3", 1500),
        Reads("negative_exponent", "zh_CN", u"25e-1", 2.5),
        Reads("groups", "zh_CN", u"12,345,678", 12345678),
        Reads("group_and_fraction", "zh_CN", u"1,234.5", 1234.5),
        Reads("underflow_is_zero", "zh_CN", u"1e-400", 0),
        Reads("zero_with_huge_exponent", "zh_CN", u"0e999999999999", 0),
        Reads("long_exact_fraction", "zh_CN", u"0.1000000000000000000000000000000000001", 0.1),
        Reads("de_fraction", "de_DE", u"-0,25", -0.25), Rejects("empty", "zh_CN", u""),
        Rejects("blanks_only", "zh_CN", u" \u3000 "), Rejects("point_only", "zh_CN", u"."),
        Rejects("sign_only", "zh_CN", u"-"), Rejects("blank_inside", "zh_CN", u"1 2"),
        Rejects("blank_after_sign", "zh_CN", u"- 2"), Rejects("two_signs", "zh_CN", u"--2"),
        Rejects("trailing_sign", "zh_CN", u"2-"), Rejects("currency", "zh_CN", u"\u00A55"),
        Rejects("dollar", "en_US", u"$5"), Rejects("percent", "zh_CN", u"5%"),
        Rejects("parentheses", "zh_CN", u"(5)"), Rejects("hex", "zh_CN", u"0x10"),
        Rejects("hex_vb", "zh_CN", u"&H10"), Rejects("inf", "zh_CN", u"inf"),
        Rejects("infinity", "zh_CN", u"Infinity"), Rejects("nan", "zh_CN", u"nan"),
        Rejects("true", "zh_CN", u"true"), Rejects("false", "zh_CN", u"False"),
        Rejects("letter_after", "zh_CN", u"5a"), Rejects("exponent_without_digits", "zh_CN", u"5e"),
        Rejects("exponent_sign_only", "zh_CN", u"5e+"), Rejects("short_group", "zh_CN", u"1,5"),
        Rejects("long_first_group", "zh_CN", u"1234,567"),
        Rejects("long_last_group", "zh_CN", u"1,2345"),
        Rejects("short_middle_group", "en_US", u"1,23,456"),
        Rejects("leading_group", "zh_CN", u",123"),
        Rejects("group_in_fraction", "zh_CN", u"1.234,567"),
        Rejects("two_points", "zh_CN", u"1.2.3"),
        Rejects("fullwidth_point_not_in_de", "de_DE", u"3\uFF0E5"),
        // Native digits, and the separators of the locale's own or its Latin-digit system,
        // one set of each per entry.
        Reads("ar_latin", "ar_EG", u"3.5", 3.5), Reads("ar_native", "ar_EG", u"٣٫٥", 3.5),
        Reads("ar_latin_digits_native_point", "ar_EG", u"3٫5", 3.5),
        Reads("ar_native_digits_latin_point", "ar_EG", u"٣.٥", 3.5),
        Reads("ar_native_grouped", "ar_EG", u"-١٬٢٣٤٫٥", -1234.5),
        Rejects("ar_two_separator_sets", "ar_EG", u"1,000٫5"),
        Rejects("ar_two_digit_sets", "ar_EG", u"1٢"),
        Reads("ar_formatted_negative", "ar_EG", u"\u061C-٣٫٥", -3.5),
        Reads("fa_native", "fa_IR", u"\u200E\u2212۱۲٫۵", -12.5),
        Reads("fa_latin", "fa_IR", u"1,234.5", 1234.5),
        Rejects("fa_two_separator_sets", "fa_IR", u"۱٬۲۳۴.۵"),
        Reads("bn_native", "bn_BD", u"১,২৩,৪৫৬.৫", 123456.5),
        Reads("bn_latin", "bn_BD", u"1,23,456.5", 123456.5),
        Reads("en_IN_lakh", "en_IN", u"1,00,000", 100000),
        Rejects("en_IN_western_groups", "en_IN", u"1,000,000"),
        Rejects("en_US_lakh", "en_US", u"1,00,000"),
        Reads("hi_IN_lakh", "hi_IN", u"12,34,567", 1234567),
        Reads("fr_trailing_narrow_space", "fr_FR", u"3,5\u202F", 3.5),
        Reads("fr_grouped", "fr_FR", u"1\u202F234,5", 1234.5),
        Reads("fr_trailing_group_separator", "fr_FR", u"12\u202F", 12),
        Reads("thin_spaces_around", "zh_CN", u"\u20097\u2009", 7),
        Rejects("fr_CH_point_without_c_library", "fr_CH", u"3.5"),
        Reads("fr_CH_point_from_c_library", "fr_CH.UTF-8", u"3.5", 3.5),
        Reads("fr_CH_comma_still", "fr_CH.UTF-8", u"3,5", 3.5),
        Rejects("too_large", "zh_CN", u"1e400", kOverflow),
        Rejects("too_large_negative", "zh_CN", u"-1e400", kOverflow),
        Rejects("huge_exponent", "zh_CN", u"1e99999999999999999999", kOverflow)),
    [](const auto& info) { return std::string(info.param.name); });

class ToIntegerTable : public testing::TestWithParam<ReadCase> {};

// A half goes to the even neighbour, and the range is checked after rounding.
TEST_P(ToIntegerTable, RoundsThenChecksTheRange) {
    const ReadCase& row = GetParam();
    EXPECT_EQ(OutcomeOf([&row] { return ToInteger(row.entry, Symbols(row.locale)); }),
              row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rounding, ToIntegerTable,
    testing::Values(Reads("three_and_a_half", "zh_CN", u"3.5", 4),
                    Reads("minus_two_and_a_half", "zh_CN", u"-2.5", -2),
                    Reads("a_half", "zh_CN", u"0.5", 0), Reads("minus_zero", "zh_CN", u"-0", 0),
                    Reads("just_above_a_half", "zh_CN", u"2.5000001", 3),
                    Reads("exponent", "zh_CN", u"1e4", 10000),
                    Rejects("below_the_range", "zh_CN", u"-32768.6", kOverflow),
                    Rejects("above_the_range", "zh_CN", u"32768", kOverflow),
                    Rejects("exponent_above_the_range", "zh_CN", u"1e5", kOverflow)),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumberGrammar, HugeEntriesAreReadExactlyAndQuickly) {
    // A pasted line of a million digits: correctly rounded, and in linear time.
    const std::u16string millionNines(1'000'000, u'9');
    const auto start = std::chrono::steady_clock::now();
    try {
        NumericValue(millionNines, Symbols("zh_CN"));
        ADD_FAILURE() << "a million nines fits no double";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::Overflow);
    }
    std::u16string tiny = u"0." + std::u16string(1'000'000, u'0') + u"1";
    EXPECT_EQ(NumericValue(tiny, Symbols("zh_CN")), 0.0);
    const std::u16string longFraction = u"32767." + std::u16string(500'000, u'4');
    EXPECT_EQ(ToInteger(longFraction, Symbols("zh_CN")), 32767);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(ThreeNumbersSummary, EntriesAsTypedAndTheResultInDecimal) {
    EXPECT_EQ(ThreeNumbersSummary(u"5", u"9", u"2", 9), u"输入：a=5 b=9 c=2  计算结果：Max =9");
    EXPECT_EQ(ThreeNumbersSummary(u" 7 ", u"3.7", u"", -3),
              u"输入：a= 7  b=3.7 c=  计算结果：Max =-3");
    EXPECT_EQ(ThreeNumbersSummary(u"-0", u"-0", u"-0", ToInteger(u"-0", Symbols("zh_CN"))),
              u"输入：a=-0 b=-0 c=-0  计算结果：Max =0");
}

TEST(RunTimeError, FailureReportNamesNumberAndDescription) {
    EXPECT_EQ(FailureReportText(RunTimeError(ErrorNumber::TypeMismatch)),
              u"运行时错误 '13':\n\n类型不匹配");
    EXPECT_EQ(FailureReportText(RunTimeError(ErrorNumber::Overflow)), u"运行时错误 '6':\n\n溢出");
}

// Every locale ICU lists greets without a failure and reads back its own writing of 3.5, -3.5
// and 1234567.5, in its own digits and in Latin ones.
TEST(EveryLocale, GreetsAndReadsItsOwnNumbers) {
    int32_t count = 0;
    const icu::Locale* locales = icu::Locale::getAvailableLocales(count);
    std::vector<std::string> failures;
    int readBack = 0;
    for (int32_t i = 0; i < count; ++i) {
        const std::string name = locales[i].getName();
        try {
            GreetingText({2026, 12, 8}, name);
            TimeText({13, 5, 9}, name);
            const NumberSymbols symbols = NumberSymbolsFor(name);
            bool all = true;
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
                        all = false;
                        failures.push_back(name + ": \"" + test::Utf8(text) + "\" read as " +
                                           testing::PrintToString(read));
                    }
                }
            }
            readBack += all ? 1 : 0;
        } catch (const std::exception& e) {
            failures.push_back(name + ": " + e.what());
        }
    }
    std::cout << readBack << " of " << count << " locales read their own numbers back\n";
    for (const std::string& failure : failures) {
        ADD_FAILURE() << failure;
    }
}

} // namespace
} // namespace qzds
