#include "logic/LabelTexts.h"
#include "TextHelpers.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace qzds {
namespace {

std::size_t Count(std::u16string_view text, char16_t c) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

TEST(LabelTexts, GreetingIsPrefixBreakAndLongDate) {
    EXPECT_EQ(GreetingText({2026, 12, 8}, "zh_CN"), u"欢迎光临！今天是：\r2026年12月8日星期二");
    EXPECT_EQ(GreetingText({2026, 12, 8}, "en_US"),
              u"欢迎光临！今天是：\rTuesday, December 8, 2026");
}

TEST(LabelTexts, GreetingUsesFullWidthPunctuation) {
    const std::u16string text = GreetingText({2000, 2, 29}, "zh_CN");
    ASSERT_GE(text.size(), 10U);
    EXPECT_EQ(text.substr(0, 4), u"欢迎光临");
    EXPECT_EQ(text[4], u'\uFF01');
    EXPECT_EQ(text[8], u'\uFF1A');
    EXPECT_EQ(text[9], u'\r');
}

TEST(LabelTexts, WelcomeIsFixed) {
    const std::u16string text = WelcomeText();
    EXPECT_EQ(text, u"欢迎使用\rVisual Basic");
    EXPECT_EQ(text.size(), 17U);
}

TEST(LabelTexts, TimeIsPrefixBreakAndLocaleTime) {
    EXPECT_EQ(TimeText({0, 0, 0}, "zh_CN"), u"现在是北京时间：\r00:00:00");
    EXPECT_EQ(TimeText({0, 0, 0}, "en_US"), u"现在是北京时间：\r12:00:00\u202FAM");
    EXPECT_EQ(TimeText({14, 3, 7}, "de_DE"), u"现在是北京时间：\r14:03:07");
}

TEST(LabelTexts, EveryTextHasOneCarriageReturnAndNoLineFeedOrEdgeBlanks) {
    for (const std::u16string& text :
         {GreetingText({2026, 12, 8}, "zh_CN"), GreetingText({1999, 12, 31}, "de_DE"),
          WelcomeText(), TimeText({12, 34, 56}, "zh_CN"), TimeText({23, 59, 59}, "en_US")}) {
        SCOPED_TRACE(test::Utf8(text));
        EXPECT_EQ(Count(text, u'\r'), 1U);
        EXPECT_EQ(Count(text, u'\n'), 0U);
        const std::size_t cr = text.find(u'\r');
        EXPECT_NE(text[cr - 1], u' ');
        EXPECT_NE(text[cr + 1], u' ');
        EXPECT_NE(text.front(), u' ');
        EXPECT_NE(text.back(), u' ');
    }
}

} // namespace
} // namespace qzds
