#pragma once

#include "platform/Clock.h"

#include <string>

namespace qzds {

// The greeting prefix, a line break, and the date in the locale's long date format.
std::u16string GreetingText(const Date& date, const std::string& timeLocale);

// The welcome's two lines, with a line break between them.
std::u16string WelcomeText();

// The time prefix, a line break, and the time of day in the locale's time format.
// The time is the machine's local time as it stands; it is not converted to Beijing's zone.
std::u16string TimeText(const TimeOfDay& time, const std::string& timeLocale);

} // namespace qzds
