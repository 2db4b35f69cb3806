#include "logic/LabelTexts.h"

#include "platform/Characters.h"
#include "platform/DateTimeFormat.h"

namespace qzds {

namespace {

constexpr char16_t kGreetingPrefix[] = u"欢迎光临！今天是：";
constexpr char16_t kWelcomeFirstLine[] = u"欢迎使用";
constexpr char16_t kWelcomeSecondLine[] = u"Visual Basic";
constexpr char16_t kTimePrefix[] = u"现在是北京时间：";

std::u16string TwoLines(std::u16string_view first, std::u16string_view second) {
    std::u16string text(first);
    text += Chr(kLineBreakCode);
    text += second;
    return text;
}

} // namespace

std::u16string GreetingText(const Date& date, const std::string& timeLocale) {
    return TwoLines(kGreetingPrefix, FormatDate(date, kLongDatePattern, timeLocale));
}

std::u16string WelcomeText() {
    return TwoLines(kWelcomeFirstLine, kWelcomeSecondLine);
}

std::u16string TimeText(const TimeOfDay& time, const std::string& timeLocale) {
    return TwoLines(kTimePrefix, FormatTime(time, kTimePattern, timeLocale));
}

} // namespace qzds
