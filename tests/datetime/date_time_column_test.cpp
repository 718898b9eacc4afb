// Date/time columns end to end: which platform call renders a cell, the time
// format taken from the format string, 32-bit values, unit conversion to
// seconds, and which cells are left alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/formatter.h"
#include "kq_test_tables.h"

namespace {

using Strings = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

kqtest::TableSpec one_column(int type, const char* units, int isDateTime, Rows rows) {
    kqhost::ColumnDef column;
    column.name = "t";
    column.type = type;
    column.units = units;
    column.is_date_time = isDateTime;
    return {"TIMES", {column}, std::move(rows)};
}

// Formats column 0 of `live` and of the snapshot `old`; returns the old and
// the new cell values.
std::pair<Strings, Strings> run(const kqtest::TableSpec& old, const kqtest::TableSpec& live,
                                const std::string& format, std::vector<int> oldRows,
                                std::vector<int> newRows) {
    kqtest::World world;
    KWTABLE* table = world.add(live);
    auto snapshot = kqtest::make_snapshot(old);
    KQ_CELL_LIST oldCells = kqtest::cells(oldRows, "keep");
    KQ_CELL_LIST newCells = kqtest::cells(newRows, "keep");
    kq::Formatter(world.master())
        .extractFormattedDateTimeVal(format, snapshot.get(), table, 0, oldCells, newCells);
    return {kqtest::values(oldCells), kqtest::values(newCells)};
}

TEST(DateTimeColumn, RendersCells) {
    const struct {
        int type;
        const char* units;
        int flag;
        const char *format, *stored, *want;
    } cases[] = {
        {9, "", 1, "__DATE_TIME__(mm:ss)", "3725", "1970-01-01 01:02:05"},  // flag wins
        {9, "", 0, "__DATE_TIME__(hh:mm)", "3725", "01:02"},
        {9, "", 0, "(ss)__DATE_TIME__(mm:ss)", "3725", "62:05"},
        {9, "", 0, "(ss) __DATE_TIME__", "3725", "01:02:05"},  // empty time format
        {9, "", 0, "__DATE_TIME__ (mm:ss", "3725", "62:05"},
        {9, "", 0, "__DATE_TIME__)(ss)", "3725", "3725"},
        {9, "", 0, "__DATE_TIME__(HH:MM:SS HH:MM:SS HH)", "3725", "01:02:05 01:02:S"},
        {8, "", 1, "", "2147483648", "1901-12-13 20:45:52"},
        {8, "", 0, "__DATE_TIME__(SS)", "4294967295", "-01"},
        {9, "min", 0, "__DATE_TIME__(SS)", "2", "120"},
    };
    for (const auto& c : cases) {
        const auto desc = one_column(c.type, c.units, c.flag, {{c.stored}});
        const auto got = run(desc, desc, c.format, {0}, {0});
        EXPECT_EQ(got.first, Strings{c.want}) << c.format << " / " << c.stored;
        EXPECT_EQ(got.second, Strings{c.want}) << c.format << " / " << c.stored;
    }
}

// Old cells read the snapshot and new cells the live table, each up to its
// own row count (compared as signed numbers; the row -1 reads as 0).
TEST(DateTimeColumn, RowsBeyondTheirTableKeepTheirValue) {
    const auto got = run(one_column(9, "", 0, {{"60"}}), one_column(9, "", 0, {{"120"}, {"180"}}),
                         "__DATE_TIME__(SS)", {0, 1, -1}, {2, 1, 0, -1});
    EXPECT_EQ(got.first, (Strings{"60", "keep", "00"}));
    EXPECT_EQ(got.second, (Strings{"keep", "180", "120", "00"}));
}

TEST(DateTimeColumn, UnsupportedTypeOnlyLogs) {
    for (int type : {0, 1, 12, 13, 15}) {
        const auto desc = one_column(type, "", 1, {{"5"}});
        kqtest::LogCapture log;
        const auto got = run(desc, desc, "__DATE_TIME__", {0}, {0});
        EXPECT_EQ(got.first, Strings{"keep"}) << type;
        EXPECT_EQ(got.second, Strings{"keep"}) << type;
        EXPECT_EQ(log.lines(),
                  Strings{"debug: The data " + std::to_string(type) +
                          " is not supported for extracting formatted date/time value"});
    }
}

}  // namespace
