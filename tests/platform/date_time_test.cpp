// Host date/time formatter: UTC dates on both sides of 1970 and at the ends
// of the 32-bit range, leap days, and the shaping of durations by HH/MM/SS.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "civil_date.h"
#include "csys_date_time_format.h"

namespace {

constexpr long kMin32 = -2147483647L - 1;

TEST(HostDateTime, DatesAndTimes) {
    const struct {
        long value;
        const char* want;
    } cases[] = {
        {-2077747200, "1904-02-29 00:00:00"},
        {951868799, "2000-02-29 23:59:59"},
        {2147483647, "2038-01-19 03:14:07"},
        // A wider host long keeps only its low 32 bits, as on the target.
        {static_cast<long>(INT64_C(1) << 31), "1901-12-13 20:45:52"},
    };
    for (const auto& c : cases) {
        std::string out = "previous";
        CSysDateTimeFormat().GetDateTime(c.value, out);
        EXPECT_EQ(out, c.want) << c.value;
    }
    // 1900 and 2100 (no leap years) lie outside 32-bit seconds; the calendar
    // arithmetic itself must still follow the century rules.
    const struct {
        int64_t days, year;
        int month, day;
    } days[] = {{47540, 2100, 2, 28}, {47541, 2100, 3, 1}, {-25509, 1900, 2, 28}};
    for (const auto& c : days) {
        const kqhost::CivilDate d = kqhost::civil_from_days(c.days);
        EXPECT_TRUE(d.year == c.year && d.month == c.month && d.day == c.day) << c.days;
    }
    const struct {
        long value;
        const char* format;
        const char* want;
    } times[] = {
        {3725, "HH SS", "01 05"},         {360061, "HH:MM:SS", "100:01:01"},
        {3725, "HHH hh MM", "01H hh 02"}, {-5, "T=SS s", "-T=05 s"},
        {kMin32, "SS", "-2147483648"},
    };
    for (const auto& c : times) {
        std::string out = "previous";
        CSysDateTimeFormat().GetTime(c.value, out, 'x', c.format);
        EXPECT_EQ(out, c.want) << c.value << " \"" << c.format << '"';
    }
}

}  // namespace
