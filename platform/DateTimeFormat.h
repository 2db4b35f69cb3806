#pragma once

#include "platform/Clock.h"

#include <string>
#include <string_view>

namespace qzds {

// Named patterns of the formatting operation.
inline constexpr std::string_view kLongDatePattern = "dddddd"; // the locale's long date
inline constexpr std::string_view kTimePattern = "tttttt";     // the locale's time of day

// The week settings the program always passes: weeks start on Sunday, and week 1 is the one
// that holds 1 January. Neither changes the two patterns above, but they are part of the call.
struct WeekSettings {
    int firstDayOfWeek = 1;  // 1 = Sunday
    int firstWeekOfYear = 1; // 1 = the week of 1 January
};

// Formats a date with the long-date pattern in the named locale: the complete date in the
// locale's full style (weekday, day, month and year, in its order and words).
// Throws std::invalid_argument for any other pattern.
std::u16string FormatDate(const Date& date, std::string_view pattern, const std::string& locale,
                          WeekSettings week = {});

// Formats a time of day with the time pattern in the named locale: hours, minutes and seconds in
// the locale's medium time style, with no time zone. The five leading letters stand for the
// complete time; a sixth adds nothing. Throws std::invalid_argument for any other pattern.
std::u16string FormatTime(const TimeOfDay& time, std::string_view pattern,
                          const std::string& locale, WeekSettings week = {});

} // namespace qzds
