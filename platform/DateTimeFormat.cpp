#include "platform/DateTimeFormat.h"

#include "platform/IcuText.h"

#include <memory>
#include <stdexcept>
#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace qzds {

namespace {

// Every value is placed and formatted in GMT, where no offset or daylight saving can move it:
// what goes in as 8 December at 00:05:09 comes out as exactly that.
UDate InGmt(int year, int month, int day, int hour, int minute, int second) {
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar calendar(*icu::TimeZone::getGMT(), icu::Locale::getRoot(), status);
    CheckIcu(status, "calendar");
    calendar.clear();
    calendar.set(year, month - 1, day, hour, minute, second);
    const UDate instant = calendar.getTime(status);
    CheckIcu(status, "calendar time");
    return instant;
}

std::u16string Format(icu::DateFormat* format, UDate instant) {
    if (format == nullptr) {
        throw std::runtime_error("no date format for this locale");
    }
    std::unique_ptr<icu::DateFormat> owner(format);
    // The locale's own calendar (Buddhist, Japanese, ...) stays; only the zone is ours.
    owner->setTimeZone(*icu::TimeZone::getGMT());

    icu::UnicodeString text;
    owner->format(instant, text);
    return ToU16(text);
}

} // namespace

bool CanFormatDateAndTime(const std::string& locale) {
    const icu::Locale icuLocale(locale.c_str());
    const std::unique_ptr<icu::DateFormat> date(
        icu::DateFormat::createDateInstance(icu::DateFormat::kFull, icuLocale));
    const std::unique_ptr<icu::DateFormat> time(
        icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium, icuLocale));
    return date != nullptr && time != nullptr;
}

std::u16string FormatLongDate(const Date& date, const std::string& locale) {
    return Format(
        icu::DateFormat::createDateInstance(icu::DateFormat::kFull, icu::Locale(locale.c_str())),
        InGmt(date.year, date.month, date.day, 12, 0, 0));
}

std::u16string FormatTime(const TimeOfDay& time, const std::string& locale) {
    return Format(
        icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium, icu::Locale(locale.c_str())),
        InGmt(1970, 1, 1, time.hour, time.minute, time.second));
}

} // namespace qzds
