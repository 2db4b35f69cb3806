#include "logic/LabelTexts.h"
#include "TextHelpers.h"

#include <gtest/gtest.h>

namespace qzds {
namespace {

struct LabelCase {
    const char* name;
    std::u16string text;
    std::u16string expected;
};

class LabelTextsTable : public testing::TestWithParam<LabelCase> {};

// Exact to the code point: full-width punctuation, one lone carriage return, no blank around it.
TEST_P(LabelTextsTable, Exact) {
    EXPECT_EQ(GetParam().text, GetParam().expected)
        << test::Utf8(GetParam().text) << " != " << test::Utf8(GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LabelTextsTable,
    testing::Values(
        LabelCase{"greeting_zh", GreetingText({2026, 12, 8}, "zh_CN"),
                  u"\u6B22\u8FCE\u5149\u4E34\uFF01\u4ECA\u5929\u662F\uFF1A\r2026年12月8日星期二"},
        LabelCase{"greeting_sr_latin", GreetingText({2026, 12, 8}, "sr_Latn_RS"),
                  u"欢迎光临！今天是：\rutorak, 8. decembar 2026."},
        LabelCase{"greeting_uz_cyrillic", GreetingText({2026, 12, 8}, "uz_Cyrl_UZ"),
                  u"欢迎光临！今天是：\rсешанба, 08 декабр, 2026"},
        LabelCase{"welcome", WelcomeText(), u"欢迎使用\rVisual Basic"},
        LabelCase{"time_zh", TimeText({0, 0, 0}, "zh_CN"),
                  u"\u73B0\u5728\u662F\u5317\u4EAC\u65F6\u95F4\uFF1A\r00:00:00"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace qzds
