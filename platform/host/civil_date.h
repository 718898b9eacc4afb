// Calendar arithmetic for the host date/time formatter, independent of the
// host's time_t width and time zone.
#pragma once

#include <cstdint>

namespace kqhost {

// A day of the proleptic Gregorian calendar.
struct CivilDate {
    int64_t year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
};

// The date `days` days after 1970-01-01 (before it for negative counts).
CivilDate civil_from_days(int64_t days);

}  // namespace kqhost
