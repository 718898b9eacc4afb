// Day counts to calendar dates without any help from the C library.
//
// The count is moved to start on 0000-03-01, so that the leap day falls at
// the very end of each counted year, and split into 400-year cycles of
// 146097 days, which repeat exactly. Within a cycle the century and
// four-year corrections find the year; counting months from March makes
// their lengths follow one linear pattern (153 days every five months).
#include "civil_date.h"

namespace kqhost {
namespace {

constexpr int64_t kDaysPerCycle = 146097;         // 400 Gregorian years
constexpr int64_t kDays0000MarchTo1970 = 719468;  // 0000-03-01 to 1970-01-01

}  // namespace

CivilDate civil_from_days(int64_t days) {
    const int64_t shifted = days + kDays0000MarchTo1970;
    const int64_t cycle = (shifted >= 0 ? shifted : shifted - (kDaysPerCycle - 1)) / kDaysPerCycle;
    const int64_t dayOfCycle = shifted - cycle * kDaysPerCycle;  // 0 to 146096
    // Years into the cycle: the day counts of complete 4-year, 100-year and
    // 400-year spans are subtracted so that 365-day division is exact.
    const int64_t yearOfCycle =
        (dayOfCycle - dayOfCycle / 1460 + dayOfCycle / 36524 - dayOfCycle / 146096) / 365;
    const int64_t dayOfYear =
        dayOfCycle - (365 * yearOfCycle + yearOfCycle / 4 - yearOfCycle / 100);  // 0 = March 1
    const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;                    // 0 to 11

    CivilDate date;
    date.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    date.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    date.year = yearOfCycle + cycle * 400 + (date.month <= 2 ? 1 : 0);
    return date;
}

}  // namespace kqhost
