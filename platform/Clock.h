#pragma once

namespace qzds {

// A calendar date with no time of day: it can never slip to another day through a time zone.
struct Date {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    friend bool operator==(const Date&, const Date&) = default;
};

// A time of day with no date.
struct TimeOfDay {
    int hour = 0; // 0..23
    int minute = 0;
    int second = 0;
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// Where the program reads "today" and "now". The window gets one of these so that tests can
// fix the date and time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date today() const = 0;
    virtual TimeOfDay now() const = 0;
};

// The machine's local date and time, as the C library sees them at the moment of the call
// (so TZ is honoured).
class SystemClock final : public Clock {
public:
    Date today() const override;
    TimeOfDay now() const override;
};

} // namespace qzds
