// Which formatter a column goes to, seen through what it shows and the kind
// the trace reports (what kqfmt explain prints); plain values, system
// variables, the master table, and the lists of positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "kq_format_trace.h"
#include "kq_test_tables.h"

using kqtest::cells;
using kqtest::ColumnDef;
using kqtest::values;
using Columns = std::vector<kq_formatted_col_data_struct>;
using Strings = std::vector<std::string>;

namespace {

ColumnDef col(int type, const std::string& format, int flagged = 0) {
    ColumnDef def{"c", type, format};
    def.is_date_time = flagged;
    return def;
}

}  // namespace

// The format-string tests are plain substring searches: the letters that
// decide may stand in literal text. Rows the format guide shows are not
// repeated here.
TEST(Routing, KindAndDisplayByTypeAndFormat) {
    const std::string marker = "__no_free_edit__\\__ADD__=[ANALYSIS_CONFIG.__STORED_ROWS_";
    const struct {
        ColumnDef column;
        const char* stored;
        const char* kind;  // as kqfmt explain names it
        const char* shown;
    } cases[] = {
        {col(9, "abc int(%x)"), "255", "integer", "ff"},
        {col(9, "%u of d"), "3", "integer", "3 of d"},  // the first "d", in literal text
        {col(8, "%5u"), "7", "integer", "    7"},       // no "d": the first "u"
        {col(9, "%%d"), "3", "none", "k"},
        {col(9, "x float(%d"), "3", "float", ""},         // keyword, but no specifier
        {col(9, "a%.2f"), "3", "remote pick list", "k"},  // neither numeric: any "."
        {col(9, "x__DATE_TIME__(mm:ss)"), "65", "date/time", "01:05"},
        {col(12, "Off(0),On(1)"), "1", "float", ""},
        {col(13, "%.1f"), "2.25", "float", "2.2"},
        {col(15, "(__FILTER__usage=x)"), "x", "none", "k"},
        {col(15, "(a=b)%s"), "x", "plain value", "x"},
        {col(9, "A(1),(__FILTER__)"), "1", "static pick list", "A"},
        {col(9, "T.c(__FILTER__usage=1)"), "1", "remote pick list", "k"},
        {col(9, "A(0),T.c(__FILTER__usage=1)"), "0", "static pick list", "A"},
        {col(15, "x.y=z"), "x", "remote pick list", "k"},
        {col(15, "%.2f x=A.b"), "x", "remote pick list", "k"},
        {col(15, "name %s__NO_SPECIAL_CHAR__"), "x", "plain value", "x"},
        {col(15, "%S"), "x", "none", "k"},
        {col(15, "@M{[a]__CLEAR_READ_ONLY__}"), "x", "trigger dependency", "k"},
        // The list ends before "__no_free_edit__" and the character before it.
        {col(9, "A(1),B(22)x__no_free_edit__"), "22", "static pick list", "B"},
        {col(9, "__no_free_edit__Off(0)"), "0", "static pick list", "__no_free_edit__Off"},
        // Row-adding markers go up to their own "]"; without one, to the end.
        {col(9, "A(0)\\" + marker + "X]B(1)"), "1", "static pick list", "B"},
        {col(9, "A(0)\\" + marker + "X]" + marker + "Y]B(1)"), "1", "static pick list", "B"},
        {col(9, "A(0)\\" + marker + "B(1)"), "1", "static pick list", "k"},
        // Plain values: 32-bit integers signed, bytes by their code.
        {col(8, "%s"), "2147483648", "plain value", "-2147483648"},
        {col(9, "%s"), "2147483647", "plain value", "2147483647"},
        {col(1, "%s"), "\xFF", "plain value", "255"},
    };
    kqtest::LogCapture quiet(false);
    for (const auto& c : cases) {
        EXPECT_EQ(kqtest::shown(c.column, c.stored), c.shown) << c.column.us_format;
        auto live = kqtest::make_live({"T", {c.column}, {{c.stored}}});
        Columns none, traced{{0, cells({0}, "k")}};
        KQ_FORMAT_TRACE trace;
        KQ_TraceFormattedValue(nullptr, nullptr, live.get(), none, traced, trace);
        EXPECT_STREQ(trace.kind == KQ_COLUMN_KIND::NONE ? "none" : KQ_ColumnKindName(trace.kind),
                     c.kind)
            << c.column.us_format;
    }
}

// The reasons kqfmt explain prints give the positions that decided.
TEST(Routing, ReasonsGiveThePositions) {
    const std::pair<const char*, const char*> cases[] = {
        {"(a=b)%s", "a string format: contains \"%s\" at 5"},
        {"x=.b", "\"=\" at 1, then \".\" at 2"},
    };
    for (const auto& c : cases) {
        auto live = kqtest::make_live({"T", {col(15, c.first)}, {{"x"}}});
        Columns none, traced{{0, cells({0})}};
        KQ_FORMAT_TRACE trace;
        KQ_TraceFormattedValue(nullptr, nullptr, live.get(), none, traced, trace);
        Strings reasons;
        for (const auto& step : trace.steps) reasons.push_back(step.why);
        EXPECT_NE(std::find(reasons.begin(), reasons.end(), c.second), reasons.end()) << c.first;
    }
}

// Entry i of both lists is one position; a column missing from one list is
// taken from the other. An empty format on the general path raises, after
// the columns before it were written.
TEST(Routing, PositionsAndEmptyFormat) {
    auto live =
        kqtest::make_live({"T",
                           {{"a", 15, "%s"}, {"b", 15, "%s"}, {"c", 9, "%d"}, {"d", 15, ""}},
                           {{"x", "y", "7"}}});
    Columns none, cols{{2, cells({0})}, {0, cells({0, 1}, "k")}, {1, cells({0})}};
    EXPECT_EQ(KQ_FORMAT_DATA().GetFormattedValue(nullptr, live.get(), none, cols), 1);
    EXPECT_EQ(values(cols[0].cells), Strings{"7"});
    EXPECT_EQ(values(cols[1].cells), (Strings{"x", "k"}));
    EXPECT_EQ(values(cols[2].cells), Strings{"y"});
    EXPECT_EQ(KQ_FORMAT_DATA().GetFormattedValue(nullptr, nullptr, none, none), 1);
    Columns raising{{0, cells({0})}, {3, cells({0})}, {1, cells({0})}};
    EXPECT_THROW(KQ_FORMAT_DATA().GetFormattedValue(nullptr, live.get(), none, raising),
                 std::out_of_range);
    EXPECT_EQ(values(raising[0].cells), Strings{"x"});
    EXPECT_EQ(values(raising[2].cells), Strings{""});
    Columns empty{{3, cells({0})}};
    KQ_FORMAT_TRACE trace;
    EXPECT_THROW(KQ_TraceFormattedValue(nullptr, nullptr, live.get(), none, empty, trace),
                 std::out_of_range);
    ASSERT_FALSE(trace.steps.empty());
    EXPECT_EQ(trace.steps.back().why, "the format is empty");
}

// A type the plain-value path cannot read empties the cell and logs an
// error line (debug, then sys with severity 2 and number 2) per cell;
// rows at or past a table's count keep their value. A numeric format
// refused as a remote pick list is a debug line.
TEST(Routing, PlainValueRowsAndUnsupportedType) {
    const kqtest::TableSpec live{"T", {{"v", 15, "%s"}}, {{"a"}, {"b"}}};
    const kqtest::TableSpec old{"T", {{"v", 15, "%s"}}, {{"old"}}};
    const auto v = kqtest::format_column(live, 0, {1, 0}, {2, 1, 0}, nullptr, &old);
    EXPECT_EQ(v.old_view, (Strings{"k", "old"}));
    EXPECT_EQ(v.live_view, (Strings{"k", "b", "a"}));

    kqtest::LogCapture log;
    const auto bad =
        kqtest::format_column({"T", {{"v", 10, "%s"}}, {{"1"}, {"2"}}}, 0, {}, {0, 1, 2});
    EXPECT_EQ(bad.live_view, (Strings{"", "", "k"}));
    const std::string line = "Invalid Data type iType:10 of iColumn:0";
    EXPECT_EQ(log.lines(),
              (Strings{"debug: " + line, "sys: " + line, "debug: " + line, "sys: " + line}));
    const auto& d = log.records()[0];
    const auto& s = log.records()[1];
    EXPECT_EQ(d.severity, 3);
    EXPECT_EQ(s.severity, 2);
    EXPECT_EQ(s.number, 2);
    EXPECT_EQ(s.line, d.line + 1);
    log.clear();
    EXPECT_EQ(kqtest::shown(col(15, "%d."), "x"), "k");
    EXPECT_EQ(log.lines(),
              Strings{"debug: %d. us_format string does not hold a remote pick list string"});
    EXPECT_EQ(log.records()[0].file, "kq_format_data");
    kqtest::LogCapture quiet(false);
    kqtest::format_column({"T", {{"v", 10, "%s"}}, {{"1"}}}, 0, {}, {0});
    EXPECT_EQ(quiet.lines(), Strings{"sys: Invalid Data type iType:10 of iColumn:0"});
}

// Stored "__NULL__", "none" and the empty text are not looked up; an unknown
// name is a debug line with the cell's text as the parser left it.
TEST(SystemVariables, DisplayNamesAndSkippedValues) {
    kqtest::World world;
    world.sys_var("SV_FLOW", "Sample flow");
    ColumnDef column{"v", 15, "%s"};
    column.component_sel = "analyser";
    const kqtest::TableSpec spec{"T", {column}, {{"SV_FLOW"}, {"__NULL__"}, {""}, {"SV_X"}}};
    kqtest::LogCapture log;
    const auto v = kqtest::format_column(spec, 0, {3, 0}, {0, 1, 2, 3, 4}, world.master());
    EXPECT_EQ(v.old_view, (Strings{"k", "Sample flow"}));
    EXPECT_EQ(v.live_view, (Strings{"Sample flow", "k", "k", "k", "k"}));
    EXPECT_EQ(log.lines(), (Strings{"debug: Unable to get pretty name for k ",
                                    "debug: Unable to get pretty name for k "}));
}

// The first master table given stays; null is ignored.
TEST(FormatterObject, MasterPointerIsSetOnce) {
    kqtest::World p, q;
    p.sys_var("AI1", "from p");
    q.sys_var("AI1", "from q");
    ColumnDef column{"v", 15, "%s"};
    column.component_sel = "AI";
    auto live = kqtest::make_live({"T", {column}, {{"AI1"}}});
    Columns none, cols{{0, cells({0})}};
    auto shown = [&](KQ_FORMAT_DATA& formatter) {
        formatter.GetFormattedValue(nullptr, live.get(), none, cols);
        return cols[0].cells[0].value;
    };
    KQ_FORMAT_DATA a;
    a.Set_master_table_pointer(nullptr);
    a.Set_master_table_pointer(p.master());
    a.Set_master_table_pointer(q.master());
    EXPECT_EQ(shown(a), "from p");
    KQ_FORMAT_DATA b(nullptr);
    b.Set_master_table_pointer(q.master());
    EXPECT_EQ(shown(b), "from q");
}
