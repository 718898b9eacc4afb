// Routing of columns to their formatters, seen through what each writes.
#include <gtest/gtest.h>

#include <stdexcept>

#include "kq_test_tables.h"

using kqtest::cells;
using kqtest::values;

namespace {

using Columns = std::vector<kq_formatted_col_data_struct>;

// Formats row 0 of a one-column table (same values in both views) and
// returns the new cell's value.
std::string format_one(const kqhost::ColumnDef& column, const std::string& stored,
                       KW_MASTER_TABLE* master = nullptr) {
    kqtest::TableSpec spec{"T", {column}, {{stored}}};
    auto live = kqtest::make_live(spec);
    auto snap = kqtest::make_snapshot(spec);
    Columns oldCols{{0, cells({0}, "init")}};
    Columns newCols{{0, cells({0}, "init")}};
    KQ_FORMAT_DATA fmt(master);
    EXPECT_EQ(fmt.GetFormattedValue(snap.get(), live.get(), oldCols, newCols), 1);
    EXPECT_EQ(oldCols[0].cells[0].value, newCols[0].cells[0].value) << column.us_format;
    return newCols[0].cells[0].value;
}

kqhost::ColumnDef col(int type, const char* format, int is_date_time = 0) {
    kqhost::ColumnDef def{"c", type, format};
    def.is_date_time = is_date_time;
    return def;
}

}  // namespace

TEST(Dispatcher, EmptyListsTouchNothing) {
    Columns none;
    EXPECT_EQ(KQ_FORMAT_DATA().GetFormattedValue(nullptr, nullptr, none, none), 1);
}

TEST(Dispatcher, RoutesByTypeThenFormat) {
    kqtest::World world;
    struct Case {
        kqhost::ColumnDef column;
        const char* stored;
        const char* shown;
    } const cases[] = {
        {col(9, "%5ld"), "5", "    5"},                    // integer
        {col(9, "%.2f"), "5", "5.00"},                     // integer column, float format
        {col(9, "Off(0),On(1)"), "1", "On"},               // general path, static pick list
        {col(9, "%.2f", 1), "5", "1970-01-01 00:00:05"},   // flagged: date/time wins over float
        {col(9, "%5ld", 1), "5", "    5"},                 // integer still wins over date/time
        {col(9, "x__DATE_TIME__(mm:ss)"), "65", "01:05"},  // marked in the format
        {col(12, "Off(0),On(1)"), "1", ""},                // floats always go the float way
        {col(13, "%.1f"), "2.25", "2.2"},
        {col(15, "abc"), "text", "init"},  // no family: untouched
        {col(15, "%s"), "text", "text"},   // plain value
        {col(1, "%s"), "A", "65"},
        {col(8, "%s"), "4294967295", "-1"},  // not an int format: plain, signed
        {col(15, "@M{[a]__CLEAR_READ_ONLY__}"), "x", "init"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(format_one(c.column, c.stored, world.master()), c.shown)
            << c.column.type << " " << c.column.us_format;
}

TEST(Dispatcher, SystemVariableColumnsUseDisplayNames) {
    kqtest::World world;
    world.sys_var("SV_P", "Pressure");
    auto def = col(15, "%s");
    def.component_sel = "analyser";
    EXPECT_EQ(format_one(def, "SV_P", world.master()), "Pressure");
}

TEST(Dispatcher, AddRowMarkersAreRemovedFromStaticLists) {
    const std::string marker = "__no_free_edit__\\__ADD__=[ANALYSIS_CONFIG.__STORED_ROWS_";
    // Text after the marker's "]" is still part of the list.
    EXPECT_EQ(format_one(col(9, ("A(0)\\" + marker + "X]B(1)").c_str()), "1"), "B");
    // Two markers with their own "]" both go.
    EXPECT_EQ(format_one(col(9, ("A(0)\\" + marker + "X]" + marker + "Y]B(1)").c_str()), "1"), "B");
    // Without "]" the marker takes the rest of the string.
    EXPECT_EQ(format_one(col(9, ("A(0)\\" + marker + "B(1)").c_str()), "1"), "init");
    EXPECT_EQ(format_one(col(9, ("A(0)\\" + marker + "B(1)").c_str()), "0"), "A");
}

TEST(Dispatcher, PositionsTakeColumnsFromWhicheverListHasThem) {
    kqtest::TableSpec spec{
        "T", {{"a", 15, "%s"}, {"b", 15, "%s"}, {"c", 9, "%d"}}, {{"x", "y", "7"}}};
    auto live = kqtest::make_live(spec);
    Columns oldCols;
    Columns newCols{{2, cells({0})}, {0, cells({0, 1}, "k")}, {1, cells({0})}};
    EXPECT_EQ(KQ_FORMAT_DATA().GetFormattedValue(nullptr, live.get(), oldCols, newCols), 1);
    EXPECT_EQ(values(newCols[0].cells), std::vector<std::string>{"7"});
    EXPECT_EQ(values(newCols[1].cells), (std::vector<std::string>{"x", "k"}));
    EXPECT_EQ(values(newCols[2].cells), std::vector<std::string>{"y"});
}

TEST(Dispatcher, EmptyFormatOnTheGeneralPathRaises) {
    kqtest::TableSpec spec{
        "T", {{"a", 15, "%s"}, {"b", 15, ""}, {"c", 15, "%s"}}, {{"x", "y", "z"}}};
    auto live = kqtest::make_live(spec);
    Columns oldCols;
    Columns newCols{{0, cells({0})}, {1, cells({0})}, {2, cells({0})}};
    EXPECT_THROW(KQ_FORMAT_DATA().GetFormattedValue(nullptr, live.get(), oldCols, newCols),
                 std::out_of_range);
    EXPECT_EQ(newCols[0].cells[0].value, "x");
    EXPECT_EQ(newCols[2].cells[0].value, "");
}
