#include "logic/LabelTexts.h"

#include "logic/Texts.h"
#include "platform/DateTimeFormat.h"

namespace qzds {

namespace {

std::u16string TwoLines(std::u16string_view first, std::u16string_view second) {
    std::u16string joined(first);
    joined += text::LineBreak;
    joined += second;
    return joined;
}

} // namespace

std::u16string GreetingText(const Date& date, const std::string& timeLocale) {
    return TwoLines(text::GreetingPrefix, FormatLongDate(date, timeLocale));
}

std::u16string WelcomeText() {
    return TwoLines(text::WelcomeFirstLine, text::WelcomeSecondLine);
}

std::u16string TimeText(const TimeOfDay& time, const std::string& timeLocale) {
    return TwoLines(text::TimePrefix, FormatTime(time, timeLocale));
}

} // namespace qzds
