#pragma once

#include "platform/Clock.h"

#include <string>

namespace qzds {

// The complete date in the named locale's full style: weekday, day, month and year, in the
// locale's order, words and calendar.
std::u16string FormatLongDate(const Date& date, const std::string& locale);

// The time of day in the named locale's medium style: hours, minutes and seconds, no time zone.
std::u16string FormatTime(const TimeOfDay& time, const std::string& locale);

// Whether ICU can build both formats for the named locale. A well-formed name can still fail
// ("en-u-nu-foo" names a numbering system ICU does not know).
bool CanFormatDateAndTime(const std::string& locale);

} // namespace qzds
