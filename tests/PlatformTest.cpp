#include "platform/Clock.h"
#include "platform/DateTimeFormat.h"
#include "platform/NumberSymbols.h"
#include "platform/UserLocale.h"

#include <ctime>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace qzds {
namespace {

struct FormatCase {
    const char* locale;
    std::u16string longDate;
    TimeOfDay timeOfDay;
    std::u16string time;
};

class LocaleFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(LocaleFormats, LongDateAndTimeFollowTheLocale) {
    const FormatCase& row = GetParam();
    // The tests run in UTC+14 (see CMakeLists.txt): a zone that leaked into the formatting would
    // move both the date and the time.
    EXPECT_EQ(FormatLongDate({2026, 12, 8}, row.locale), row.longDate);
    EXPECT_EQ(FormatTime(row.timeOfDay, row.locale), row.time);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LocaleFormats,
    testing::Values(FormatCase{"zh_CN", u"2026年12月8日星期二", {0, 5, 9}, u"00:05:09"},
                    FormatCase{
                        "en_US", u"Tuesday, December 8, 2026", {0, 5, 9}, u"12:05:09\u202FAM"},
                    FormatCase{"de_DE", u"Dienstag, 8. Dezember 2026", {23, 59, 59}, u"23:59:59"},
                    // The script a locale's modifier names.
                    FormatCase{"sr_Latn_RS", u"utorak, 8. decembar 2026.", {0, 5, 9}, u"00:05:09"},
                    FormatCase{"uz_Cyrl_UZ", u"сешанба, 08 декабр, 2026", {0, 5, 9}, u"00:05:09"},
                    // The locale's own calendar: the Buddhist era.
                    FormatCase{"th_TH", u"วันอังคารที่ 8 ธันวาคม พ.ศ. 2569", {0, 5, 9}, u"00:05:09"}),
    [](const auto& info) { return std::string(info.param.locale); });

struct LocaleCase {
    const char* name;
    std::string env; // NAME=VALUE, one a word
    std::string time;
    std::string numeric;
    std::string numericPosix = {}; // the C library's name of the same locale, if it is that one
};

class LocaleResolution : public testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleResolution, PicksTheVariableThatTheCLibraryWouldUse) {
    const LocaleCase& row = GetParam();
    std::map<std::string, std::string> env;
    std::istringstream words(row.env);
    for (std::string word; words >> word;) {
        env[word.substr(0, word.find('='))] = word.substr(word.find('=') + 1);
    }
    const UserLocale locale = ResolveUserLocale([&env](const char* name) -> const char* {
        const auto found = env.find(name);
        return found == env.end() ? nullptr : found->second.c_str();
    });
    EXPECT_EQ(locale.time, row.time);
    EXPECT_EQ(locale.numeric, row.numeric);
    EXPECT_EQ(locale.numericPosix, row.numericPosix);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LocaleResolution,
    testing::Values(
        LocaleCase{"nothing_set", "", "zh_CN", "zh_CN"},
        LocaleCase{"lang_only", "LANG=de_DE.UTF-8", "de_DE", "de_DE", "de_DE.UTF-8"},
        LocaleCase{"lc_all_wins", "LC_ALL=en_US.UTF-8 LC_TIME=de_DE LC_NUMERIC=de_DE", "en_US",
                   "en_US", "en_US.UTF-8"},
        LocaleCase{"categories_apart", "LC_TIME=en_US.UTF-8 LC_NUMERIC=fr_CH.UTF-8 LANG=zh_CN",
                   "en_US", "fr_CH", "fr_CH.UTF-8"},
        LocaleCase{"empty_is_unset", "LC_ALL= LC_TIME= LANG=en_US", "en_US", "en_US", "en_US"},
        LocaleCase{"c_locale", "LANG=C.UTF-8", "zh_CN", "zh_CN"},
        LocaleCase{"posix", "LC_ALL=POSIX", "zh_CN", "zh_CN"},
        LocaleCase{"script_modifier", "LANG=sr_RS.UTF-8@latin", "sr_Latn_RS", "sr_Latn_RS",
                   "sr_RS.UTF-8@latin"},
        LocaleCase{"cyrillic_modifier", "LC_ALL=uz_UZ@cyrillic", "uz_Cyrl_UZ", "uz_Cyrl_UZ",
                   "uz_UZ@cyrillic"},
        LocaleCase{"other_modifier", "LANG=de_DE@euro", "de_DE", "de_DE", "de_DE@euro"},
        LocaleCase{"unknown_language", "LANG=xx_YY.UTF-8", "zh_CN", "zh_CN"},
        LocaleCase{"path_is_no_locale", "LANG=de_DE/../de", "zh_CN", "zh_CN"},
        LocaleCase{"unknown_region_keeps_language", "LANG=en_XX", "en_XX", "en_XX", "en_XX"},
        // Well-formed names whose numbering system ICU does not know: no formats, no symbols.
        LocaleCase{"unknown_numbering_system", "LC_ALL=en-u-nu-foo", "zh_CN", "zh_CN"},
        LocaleCase{"numbers_unknown_numbering_system", "LC_NUMERIC=de-DE-u-nu-latin LANG=en_US",
                   "en_US", "zh_CN"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SystemClock, ReadsTheLocalDateAndTimeOfTheZone) {
    // The tests run in Pacific/Kiritimati, UTC+14 all year (see CMakeLists.txt): every field of
    // the date and time there, to the second (tried again if a second turns meanwhile).
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const Date today = SystemClock().today();
        const TimeOfDay now = SystemClock().now();
        if (std::time(nullptr) != before) {
            continue;
        }
        const std::time_t there = before + 14 * 60 * 60;
        std::tm expected{};
        gmtime_r(&there, &expected);
        EXPECT_EQ(today, (Date{expected.tm_year + 1900, expected.tm_mon + 1, expected.tm_mday}));
        EXPECT_EQ(now, (TimeOfDay{expected.tm_hour, expected.tm_min, expected.tm_sec}));
        return;
    }
    FAIL() << "a second turned in each of three tries";
}

} // namespace
} // namespace qzds
