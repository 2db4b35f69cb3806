#include "platform/Clock.h"

#include <ctime>

namespace qzds {

namespace {

std::tm LocalNow() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

} // namespace

Date SystemClock::today() const {
    const std::tm local = LocalNow();
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

TimeOfDay SystemClock::now() const {
    const std::tm local = LocalNow();
    // tm_sec may be 60 during a leap second; a time of day stops at 59.
    return {local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec};
}

} // namespace qzds
