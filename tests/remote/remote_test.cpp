// Remote pick lists: the references a format names, how the remote column's
// metadata decides what the local column shows, label prefixes of valve
// columns, and one reference per row.
#include <gtest/gtest.h>

#include <algorithm>

#include "kq_test_tables.h"

using Strings = std::vector<std::string>;

namespace {

// A remote table whose key columns differ in metadata (the integer one also
// names a label column, which it does not use), with a repeated key.
kqtest::TableSpec remote_table(const std::string& name) {
    return {name,
            {{"lab", 15, "", "", "", 0, "label"},
             {"int", 9, "%03d", "", "", 0, "label"},
             {"sys", 15, "", "", "", 0, "", "sel"},
             {"plain", 15},
             {"label", 15},
             {"usage", 15}},
            {{"1", "1", "1", "1", "One", "x_analyzr05"},
             {"1", "1", "1", "1", "Uno", "analyzr12"},
             {"3", "3", "3", "3", "Three", "spare"},
             {"5", "5", "5", "5", "Five", "analyzr00"}}};
}

kqtest::TableSpec local_table(const std::string& format, const Strings& stored,
                              const std::string& internal = "") {
    kqtest::TableSpec spec{"L", {{"v", 9, format, "", "", 0, "", "", internal}}, {}};
    for (const auto& s : stored) spec.rows.push_back({s});
    return spec;
}

}  // namespace

TEST(RemotePickList, RemoteColumnDecidesWhatIsShown) {
    const Strings plain{"1", "3", "0"}, keep{"k", "k", "k"}, printed{"001", "003", "000"};
    const struct {
        const char* format;
        Strings oldShown, newShown;  // the local column stores 1, 3, 0
    } cases[] = {
        {"x=R.lab", {"One", "Three", " "}, {"One", "Three", "k"}},  // the first row's label
        {"x=R.int", printed, printed},
        {"x=R.sys", {"k", "Processor", "k"}, {"k", "Processor", "k"}},
        {"x=R.plain", plain, plain},
        {"x=Q__remoterow__.lab", plain, plain},
        {"x=Q__remoterow__.sys", plain, plain},
        {"x=Q__remoterow__.int", printed, printed},
        {"x=Missing.lab", keep, keep},
        {"x=R.nope", keep, keep},
    };
    kqtest::World world;
    world.add(remote_table("R"));
    world.add(remote_table("Q__remoterow__"));
    world.sys_var("3", "Processor");
    for (const auto& c : cases) {
        const auto v = kqtest::format_column(local_table(c.format, plain), 0, {0, 1, 2}, {0, 1, 2},
                                             world.master());
        EXPECT_EQ(v.old_view, c.oldShown) << c.format;
        EXPECT_EQ(v.live_view, c.newShown) << c.format;
    }
    // Names are looked up for every listed cell, also past the row count
    // (read as the empty text); each miss is a debug line.
    const std::string miss = "debug: Failed to get pretty name for physical value: ";
    kqtest::LogCapture log;
    const auto v = kqtest::format_column(local_table("x=R.lab", {"1", "4"}), 0, {0, 1, 5},
                                         {0, 1, 5}, world.master());
    EXPECT_EQ(v.old_view, (Strings{"One", " ", " "}));
    EXPECT_EQ(v.live_view, (Strings{"One", "k", "k"}));
    const Strings lines = log.lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(Strings(lines.end() - 4, lines.end()), (Strings{miss + "4", miss, miss + "4", miss}));
    log.clear();
    kqtest::format_column(local_table("x=R.nope", plain), 0, {}, {0}, world.master());
    EXPECT_EQ(log.lines().back(), "debug: Cannot get the column number for column named: nope");
}

// In VALVE_CONFIG a valve_do label starts with the last two digits of a
// usage that holds "analyzr" anywhere, one leading 0 dropped.
TEST(RemotePickList, ValveLabelPrefixes) {
    const struct {
        const char* table;
        const char* internal;
        const char* stored;
        const char* shown;
    } cases[] = {
        {"VALVE_CONFIG", "valve_do", "1", "5 - One"},
        {"VALVE_CONFIG", "valve_do", "5", "0 - Five"},
    };
    for (const auto& c : cases) {
        kqtest::World world;
        world.add(remote_table(c.table));
        const std::string format = std::string("x=") + c.table + ".lab";
        const auto v = kqtest::format_column(local_table(format, {c.stored}, c.internal), 0, {},
                                             {0}, world.master());
        EXPECT_EQ(v.live_view, Strings{c.shown}) << c.table << " " << c.internal << " " << c.stored;
    }
}

// One reference per old cell, its row counted from 1; the new cell at the
// same place in its list, when there is one, is named by the same reference.
TEST(RemotePickList, RowTemplates) {
    kqtest::World world;
    world.add({"P1", {{"k", 15, "", "", "", 0, "l"}, {"l", 15}}, {{"1", "first"}}});
    world.add({"P3", {{"k", 15, "", "", "", 0, "l"}, {"l", 15}}, {{"1", "third"}, {"3", "x"}}});
    kqtest::LogCapture log;
    const auto v =
        kqtest::format_column(local_table("x=P[__ROW_NUM__].k,__no_free_edit__", {"1", "3", "1"}),
                              0, {0, 1, 2, 0}, {1, 0, 0}, world.master());
    EXPECT_EQ(v.old_view, (Strings{"first", "k", "third", "first"}));
    EXPECT_EQ(v.live_view, (Strings{"k", "k", "third"}));
    const Strings lines = log.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "debug: Failed to parse RemotePickList for Table : P2.k"),
              1);
}

// With no table registered every reference the scanner takes logs the
// table it asked for, so the log shows the references taken, in order.
TEST(RemotePickList, ReferencesTakenFromEachShape) {
    const struct {
        const char* format;
        Strings tables;
    } cases[] = {
        {"n=T1.c\\__no_free_edit__", {"T1"}},
        {"n=T1.c(__FILTER__a=T2.c)\\__no_free_edit__", {"T1"}},  // a condition is no reference
        {"n=T1.c(__FILTER__usage=1(__FILTER__usage=2)\\__no_free_edit__", {"T1"}},
        {"n=T[__ROW_NUM__].c\\__no_free_edit__", {"T1", "T3"}},  // old cells of rows 0 and 2
        {"A(0),B(1),n=T1.c", {"T1"}},
        {"a=T1.c,b=5,c=T2.c", {"T1", "T2"}},
        {"a=T[__ROW_NUM__].c,b=T2.c", {"T[__ROW_NUM__]", "T2"}},
        {"a=T1.c;__no_free_edit__b=T2.c;__no_free_edit__c=T3.c", {"T1", "T2", "T3"}},
        {"__no_free_edit__x=T1.c", {"T1"}},
        {"@M{[a]T1.c}", {"T1"}},
        {"@M{x}]T1.c", {"T1"}},  // "]" after "}": to the end
        {"x=T1.c__FILTER__y=T2.c", {"T1", "T2"}},
        {"usage=5 x=T1.c", {"T1"}},  // the condition is stepped over
        // Malformed text and "usage=" conditions take nothing and end.
        {"n=T1.c usage=5\\__no_free_edit__", {}},
        {"usage=T1.c,usage=T2.c", {}},
        {"x}usage=T1.c", {}},
        {"x}y=T1.c", {}},
        {"=,=,=}}}]]].", {}},
    };
    const std::string asked = "debug: Cannot get class pointer for table named: ";
    for (const auto& c : cases) {
        kqtest::World world;
        kqtest::LogCapture log;
        kqtest::format_column(local_table(c.format, {"7", "7", "7"}), 0, {0, 2}, {},
                              world.master());
        const Strings lines = log.lines();
        ASSERT_FALSE(lines.empty()) << c.format;
        EXPECT_EQ(lines[0], "debug: Extracting pretty names from remote pick list string: " +
                                std::string(c.format));
        Strings tables;
        for (const auto& line : lines)
            if (line.rfind(asked, 0) == 0) tables.push_back(line.substr(asked.size()));
        EXPECT_EQ(tables, c.tables) << c.format;
    }
}

// Enough live cells of an integer column to be looked up by stored value:
// the names, the misses (logged in list order, cells kept) and rows outside
// the table (read as the empty text) must be those of a lookup by text, and
// a column named again, also after a row template emptied the map, names
// the cells the same way.
TEST(RemotePickList, ManyCellsAndReferencesLookUpAsText) {
    const Strings stored{"1", "3", "7", "0", "3", "1", "7", "0", "1"};
    const std::vector<int> rows{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1};
    const Strings shown{"One", "Three", "k", "Zero", "Three", "One", "k", "Zero", "One", "k", "k"};
    const std::string miss = "debug: Failed to get pretty name for physical value: ";
    const Strings misses{miss + "7", miss + "7", miss, miss};
    kqtest::World world;
    world.add({"R",
               {{"lab", 15, "", "", "", 0, "l"}, {"l", 15}},
               {{"1", "One"}, {"1", "Uno"}, {"3", "Three"}, {"0", "Zero"}}});
    world.add({"P1", {{"k", 15, "", "", "", 0, "l"}, {"l", 15}}, {{"1", "first"}}});
    for (const int type : {9, 8}) {
        for (const char* format : {"x=R.lab", "a=R.lab,b=R.lab,c=R.lab",
                                   "a=R.lab;__no_free_edit__b=P[__ROW_NUM__].k;__no_free_edit__"
                                   "c=R.lab;__no_free_edit__"}) {
            kqtest::TableSpec local = local_table(format, stored);
            local.columns[0].type = type;
            kqtest::LogCapture log;
            const auto v = kqtest::format_column(local, 0, {0}, rows, world.master());
            EXPECT_EQ(v.old_view, Strings{"One"}) << format << " type " << type;
            EXPECT_EQ(v.live_view, shown) << format << " type " << type;
            Strings logged;
            for (const auto& line : log.lines())
                if (line.rfind(miss, 0) == 0) logged.push_back(line);
            EXPECT_EQ(logged, misses) << format << " type " << type;
        }
    }
    // A text column is looked up by its text, however many cells.
    kqtest::TableSpec text = local_table("x=R.lab", {"1", "10", "1", "10", "3", "30", "1", "10"});
    text.columns[0].type = 15;
    const auto v = kqtest::format_column(text, 0, {}, {0, 1, 2, 3, 4, 5, 6, 7}, world.master());
    EXPECT_EQ(v.live_view, (Strings{"One", "k", "One", "k", "Three", "k", "One", "k"}));
}

// A row template whose remote columns alternate between plain values and
// labels: every plain row shows the whole column plain again, also the cells
// labelled by earlier rows; a labelled row names only its own cells.
TEST(RemotePickList, RowTemplateMixingPlainAndLabelledColumns) {
    kqtest::World world;
    world.add({"P1", {{"k", 15}}, {{"1"}}});
    world.add({"P2", {{"k", 15, "", "", "", 0, "l"}, {"l", 15}}, {{"1", "two"}}});
    world.add({"P3", {{"k", 15}}, {{"1"}}});
    world.add({"P4", {{"k", 15, "", "", "", 0, "l"}, {"l", 15}}, {{"1", "four"}}});
    const auto v = kqtest::format_column(
        local_table("x=P[__ROW_NUM__].k,__no_free_edit__", {"1", "1", "1", "1"}), 0, {0, 1, 2, 3},
        {0, 1, 2, 3, 4}, world.master());
    EXPECT_EQ(v.old_view, (Strings{"1", "1", "1", "four"}));
    EXPECT_EQ(v.live_view, (Strings{"1", "1", "1", "four", "k"}));
}
