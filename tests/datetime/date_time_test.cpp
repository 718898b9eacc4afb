// Date/time columns: the time format taken from the format string, 32-bit
// values, unit conversion to seconds, and rows past a table's count.
#include <gtest/gtest.h>

#include "kq_test_tables.h"

using Strings = std::vector<std::string>;

TEST(DateTimeColumn, Shown) {
    const struct {
        int type;
        const char* units;
        int flagged;
        const char *format, *stored, *shown;
    } cases[] = {
        {9, "", 1, "__DATE_TIME__(mm:ss)", "3725", "1970-01-01 01:02:05"},  // the flag wins
        {9, "", 0, "(ss)__DATE_TIME__(mm:ss)", "3725", "62:05"},  // the first "(" after the marker
        {9, "", 0, "(ss) __DATE_TIME__", "3725", "01:02:05"},
        {9, "", 0, "__DATE_TIME__ (mm:ss", "3725", "62:05"},
        {9, "", 0, "__DATE_TIME__)(ss)", "3725", "3725"},
        {9, "", 0, "__DATE_TIME__(HH:MM:SS HH:MM:SS HH)", "3725", "01:02:05 01:02:S"},
        {8, "", 1, "", "2147483648", "1901-12-13 20:45:52"},
        {8, "", 0, "__DATE_TIME__(SS)", "4294967295", "-01"},
        {9, "min", 0, "__DATE_TIME__(SS)", "2", "120"},
    };
    for (const auto& c : cases) {
        kqtest::ColumnDef column{"t", c.type, c.format, c.units};
        column.is_date_time = c.flagged;
        kqtest::World world;
        EXPECT_EQ(kqtest::shown(column, c.stored, world.master()), c.shown)
            << c.format << " / " << c.stored;
    }
}

// Old cells read the snapshot and new cells the live table, each up to its
// own row count.
TEST(DateTimeColumn, RowsPastTheirTableKeepTheirValue) {
    const kqtest::TableSpec old{"T", {{"t", 9, "__DATE_TIME__(SS)"}}, {{"60"}}};
    const kqtest::TableSpec live{"T", {{"t", 9, "__DATE_TIME__(SS)"}}, {{"120"}, {"180"}}};
    kqtest::World world;
    const auto v = kqtest::format_column(live, 0, {0, 1}, {2, 1, 0}, world.master(), &old);
    EXPECT_EQ(v.old_view, (Strings{"60", "k"}));
    EXPECT_EQ(v.live_view, (Strings{"k", "180", "120"}));
}
