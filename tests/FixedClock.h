#pragma once

#include "platform/Clock.h"

namespace qzds::test {

// A clock that answers the date and time it was last given.
class FixedClock final : public Clock {
public:
    FixedClock(Date date, TimeOfDay time)
        : m_date(date)
        , m_time(time) {}
    Date today() const override { return m_date; }
    TimeOfDay now() const override { return m_time; }
    void set(Date date, TimeOfDay time) {
        m_date = date;
        m_time = time;
    }

private:
    Date m_date;
    TimeOfDay m_time;
};

} // namespace qzds::test
