#include "TextHelpers.h"
#include "platform/Characters.h"
#include "platform/Clock.h"
#include "platform/DateTimeFormat.h"
#include "platform/NumberSymbols.h"
#include "platform/UserLocale.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <stdexcept>

namespace qzds {
namespace {

struct FormatCase {
    const char* locale;
    std::u16string longDate;
    std::u16string time;
};

class LocaleFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(LocaleFormats, LongDateAndTimeFollowTheLocale) {
    const FormatCase& row = GetParam();
    EXPECT_EQ(FormatDate({2026, 12, 8}, kLongDatePattern, row.locale), row.longDate);
    EXPECT_EQ(FormatTime({0, 5, 9}, kTimePattern, row.locale), row.time);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LocaleFormats,
    testing::Values(FormatCase{"zh_CN", u"2026年12月8日星期二", u"00:05:09"},
                    FormatCase{"en_US", u"Tuesday, December 8, 2026", u"12:05:09\u202FAM"},
                    FormatCase{"de_DE", u"Dienstag, 8. Dezember 2026", u"00:05:09"}),
    [](const auto& info) { return std::string(info.param.locale); });

TEST(Formatting, AfternoonAndLastSecondOfTheDay) {
    EXPECT_EQ(FormatTime({23, 59, 59}, kTimePattern, "zh_CN"), u"23:59:59");
    EXPECT_EQ(FormatTime({13, 0, 0}, kTimePattern, "en_US"), u"1:00:00\u202FPM");
}

TEST(Formatting, DateStaysOnItsDayInEveryZone) {
    // A calendar date must not be shifted by the zone the process runs in.
    for (const char* zone : {"Pacific/Kiritimati", "Pacific/Pago_Pago", "UTC", "Asia/Shanghai"}) {
        setenv("TZ", zone, 1);
        tzset();
        EXPECT_EQ(FormatDate({2026, 1, 1}, kLongDatePattern, "zh_CN"), u"2026年1月1日星期四")
            << zone;
        EXPECT_EQ(FormatTime({0, 0, 0}, kTimePattern, "de_DE"), u"00:00:00") << zone;
    }
}

TEST(Formatting, OtherPatternsAreRefused) {
    EXPECT_THROW(FormatDate({2026, 12, 8}, "ddddd", "zh_CN"), std::invalid_argument);
    EXPECT_THROW(FormatTime({1, 2, 3}, "hh:mm", "zh_CN"), std::invalid_argument);
}

struct LocaleCase {
    const char* name;
    std::map<std::string, std::string> env;
    std::string time;
    std::string numeric;
};

class LocaleResolution : public testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleResolution, PicksTheVariableThatTheCLibraryWouldUse) {
    const LocaleCase& row = GetParam();
    const UserLocale locale = ResolveUserLocale([&](const char* name) -> const char* {
        const auto found = row.env.find(name);
        return found == row.env.end() ? nullptr : found->second.c_str();
    });
    EXPECT_EQ(locale.time, row.time);
    EXPECT_EQ(locale.numeric, row.numeric);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LocaleResolution,
    testing::Values(
        LocaleCase{"nothing_set", {}, "zh_CN", "zh_CN"},
        LocaleCase{"lang_only", {{"LANG", "de_DE.UTF-8"}}, "de_DE", "de_DE"},
        LocaleCase{"lc_all_wins",
                   {{"LC_ALL", "en_US.UTF-8"}, {"LC_TIME", "de_DE"}, {"LANG", "de_DE"}},
                   "en_US",
                   "en_US"},
        LocaleCase{"categories_apart",
                   {{"LC_TIME", "en_US.UTF-8"}, {"LC_NUMERIC", "de_DE.UTF-8"}, {"LANG", "zh_CN"}},
                   "en_US",
                   "de_DE"},
        LocaleCase{"empty_is_unset",
                   {{"LC_ALL", ""}, {"LC_TIME", ""}, {"LANG", "en_US"}},
                   "en_US",
                   "en_US"},
        LocaleCase{"c_locale", {{"LANG", "C.UTF-8"}}, "zh_CN", "zh_CN"},
        LocaleCase{"posix", {{"LC_ALL", "POSIX"}}, "zh_CN", "zh_CN"},
        LocaleCase{"modifier", {{"LANG", "sr_RS.UTF-8@latin"}}, "sr_RS", "sr_RS"},
        LocaleCase{"unknown_language", {{"LANG", "xx_YY.UTF-8"}}, "zh_CN", "zh_CN"},
        LocaleCase{"path_is_no_locale", {{"LANG", "de_DE/../de"}}, "zh_CN", "zh_CN"},
        LocaleCase{"unknown_region_keeps_language", {{"LANG", "en_XX"}}, "en_XX", "en_XX"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumberSymbols, SeparatorsOfTheNumericLocale) {
    EXPECT_EQ(NumberSymbolsFor("zh_CN").decimal, u".");
    EXPECT_EQ(NumberSymbolsFor("zh_CN").group, u",");
    EXPECT_EQ(NumberSymbolsFor("de_DE").decimal, u",");
    EXPECT_EQ(NumberSymbolsFor("de_DE").group, u".");
}

TEST(Characters, LineBreakIsALoneCarriageReturn) {
    EXPECT_EQ(Chr(kLineBreakCode), std::u16string(1, u'\r'));
    EXPECT_THROW(Chr(0x10000), std::out_of_range);
}

TEST(Characters, DecimalTextHasNoDecoration) {
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(-32768), u"-32768");
    EXPECT_EQ(DecimalText(32767), u"32767");
}

TEST(SystemClock, ReadsTheLocalTimeOfTheZone) {
    // UTC+14: on most days its date differs from UTC's, so reading UTC would show.
    setenv("TZ", "Pacific/Kiritimati", 1);
    tzset();
    const SystemClock clock;
    const auto local = [] {
        const std::time_t seconds = std::time(nullptr);
        std::tm fields{};
        localtime_r(&seconds, &fields);
        return fields;
    };
    const std::tm before = local();
    const Date today = clock.today();
    const TimeOfDay now = clock.now();
    const std::tm after = local();
    EXPECT_TRUE(today == (Date{before.tm_year + 1900, before.tm_mon + 1, before.tm_mday}) ||
                today == (Date{after.tm_year + 1900, after.tm_mon + 1, after.tm_mday}));
    EXPECT_TRUE(now.hour == before.tm_hour || now.hour == after.tm_hour);
}

} // namespace
} // namespace qzds
