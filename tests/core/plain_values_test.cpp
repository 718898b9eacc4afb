// Plain values and system-variable names.
#include <gtest/gtest.h>

#include "core/formatter.h"
#include "kq_test_tables.h"

using kqtest::cells;
using kqtest::values;

namespace {

kqtest::TableSpec typed(int type, std::vector<std::string> rows) {
    kqtest::TableSpec spec{"T", {{"v", type, "%s"}}, {}};
    for (auto& r : rows) spec.rows.push_back({r});
    return spec;
}

}  // namespace

TEST(PlainValues, TextByType) {
    struct Case {
        int type;
        const char* stored;
        const char* shown;
    } const cases[] = {
        {15, "hello", "hello"},           {9, "-5", "-5"}, {8, "4294967295", "-1"},
        {8, "2147483648", "-2147483648"}, {1, "A", "65"},  {1, "\xFF", "255"},
        {9, "2147483647", "2147483647"},
    };
    kq::Formatter fmt;
    for (const auto& c : cases) {
        auto spec = typed(c.type, {c.stored});
        auto live = kqtest::make_live(spec);
        auto snap = kqtest::make_snapshot(spec);
        auto oldCells = cells({0});
        auto newCells = cells({0});
        fmt.extractFormatDataFromOldAndNewTable(snap.get(), live.get(), 0, oldCells, newCells);
        EXPECT_EQ(oldCells[0].value, c.shown) << c.type << " " << c.stored;
        EXPECT_EQ(newCells[0].value, c.shown) << c.type << " " << c.stored;
    }
}

TEST(PlainValues, RowsAtTheCountKeepTheirValue) {
    auto spec = typed(15, {"a", "b"});
    auto live = kqtest::make_live(spec);
    auto snap = kqtest::make_snapshot(typed(15, {"old"}));
    auto oldCells = cells({1, 0}, "keep");
    auto newCells = cells({2, 1, 0}, "keep");
    kq::Formatter().extractFormatDataFromOldAndNewTable(snap.get(), live.get(), 0, oldCells,
                                                        newCells);
    EXPECT_EQ(values(oldCells), (std::vector<std::string>{"keep", "old"}));
    EXPECT_EQ(values(newCells), (std::vector<std::string>{"keep", "b", "a"}));
}

TEST(PlainValues, UnsupportedTypeEmptiesCellsAndLogsEach) {
    auto spec = typed(12, {"1.5", "2.5"});
    auto live = kqtest::make_live(spec);
    kqtest::LogCapture log;
    auto newCells = cells({0, 1, 2}, "x");
    KQ_CELL_LIST none;
    // No old cells: the snapshot is never touched, so none is needed.
    kq::Formatter().extractFormatDataFromOldAndNewTable(nullptr, live.get(), 0, none, newCells);
    EXPECT_EQ(values(newCells), (std::vector<std::string>{"", "", "x"}));
    ASSERT_EQ(log.records().size(), 4u);
    for (int i = 0; i < 2; ++i) {
        const auto& d = log.records()[2 * i];
        const auto& s = log.records()[2 * i + 1];
        EXPECT_FALSE(d.sys);
        EXPECT_EQ(d.message, "Invalid Data type iType:12 of iColumn:0");
        EXPECT_EQ(d.severity, 3);
        EXPECT_TRUE(s.sys);
        EXPECT_EQ(s.message, d.message);
        EXPECT_EQ(s.severity, 2);
        EXPECT_EQ(s.number, 2);
        EXPECT_EQ(s.line, d.line + 1);
    }
}

TEST(PlainValues, ErrorLineWithoutDebugIsSysLogOnly) {
    auto live = kqtest::make_live(typed(13, {"1"}));
    kqtest::LogCapture log(false);
    auto newCells = cells({0});
    KQ_CELL_LIST none;
    kq::Formatter().extractFormatDataFromOldAndNewTable(nullptr, live.get(), 0, none, newCells);
    EXPECT_EQ(log.lines(),
              std::vector<std::string>{"sys: Invalid Data type iType:13 of iColumn:0"});
}

TEST(SystemVariables, DisplayNamesAndSkippedValues) {
    kqtest::World world;
    world.sys_var("SV_FLOW", "Sample flow");
    kqtest::TableSpec spec{
        "T", {{"v", 15, "%s"}}, {{"SV_FLOW"}, {"__NULL__"}, {"none"}, {""}, {"SV_X"}}};
    spec.columns[0].component_sel = "analyser";
    auto live = kqtest::make_live(spec);
    auto snap = kqtest::make_snapshot(spec);
    kq::Formatter fmt(world.master());
    kqtest::LogCapture log;
    auto newCells = cells({0, 1, 2, 3, 4, 5}, "init");
    fmt.getPrettyValFromSystemVar(live.get(), 0, newCells);
    EXPECT_EQ(values(newCells),
              (std::vector<std::string>{"Sample flow", "init", "init", "init", "init", "init"}));
    // The unknown name is reported with the cell's value as the parser left it.
    EXPECT_EQ(log.lines(), std::vector<std::string>{"debug: Unable to get pretty name for init "});
    auto oldCells = cells({4, 0});
    fmt.getPrettyValFromSystemVar(snap.get(), 0, oldCells);
    EXPECT_EQ(values(oldCells), (std::vector<std::string>{"", "Sample flow"}));
}

TEST(SystemVariables, SelectionAndLabelTests) {
    kqtest::TableSpec spec{"T", {{"a"}, {"b"}}, {}};
    spec.columns[1].component_sel = "sel";
    spec.columns[1].label_col = "name";
    auto live = kqtest::make_live(spec);
    for (long column : {0, 1}) {
        std::string selection = "stale", label = "stale";
        EXPECT_EQ(kq::Formatter().checkSystemVar(live.get(), column, selection), column);
        EXPECT_EQ(kq::Formatter().checkLabelCol(live.get(), column, label), column);
        EXPECT_EQ(selection, column ? "sel" : "");
        EXPECT_EQ(label, column ? "name" : "");
    }
}

// The master table held decides where system-variable names come from:
// the first non-null pointer stays.
TEST(FormatterObject, MasterPointerIsSetOnce) {
    kqtest::World p, q;
    p.sys_var("AI1", "from p");
    q.sys_var("AI1", "from q");
    kqtest::ColumnDef column{"v", 15, "%s"};
    column.component_sel = "AI";
    auto live = kqtest::make_live({"T", {column}, {{"AI1"}}});
    auto shown = [&](KQ_FORMAT_DATA& formatter) {
        std::vector<kq_formatted_col_data_struct> none, cols{{0, kqtest::cells({0})}};
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
