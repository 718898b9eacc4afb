// Trigger-dependency pick lists: merging the cases' lists, and choosing the
// family that formats a trigger-dependency column.
#include <gtest/gtest.h>

#include "core/formatter.h"
#include "kq_test_tables.h"

using kqtest::cells;
using kqtest::values;
using Strings = std::vector<std::string>;

TEST(TriggerPickList, CasesMergeFirstCaseWins) {
    const struct {
        const char* format;
        KQ_NAME_MAP map;
    } cases[] = {
        {"@MODE{[Off]Low(0);High(1),[On]Low(0);Mid(1);High(2),[Service]__CLEAR_READ_ONLY__}",
         {{"0", "Low"}, {"1", "High"}, {"2", "High"}}},
        {"@M{[a]A(0),B(1),[b]C(2)}", {{"0", "A"}, {"2", "C"}}},  // B(1) lies in no case
        {"@M{[a]A(0)}", {{"0", "A"}}},
        {"@M{[a]A(0)},X(1)", {{"0", "A"}}},  // the case text runs past "}" to the ","
        {"@M{[a]__CLEAR_READ_ONLY__ ,[b]B(1)}", {{"1", "B"}}},
        {"@M{[a]A(0)", {}},  // neither "," nor "}" after the case name
        {"@M{[a", {}},
        {"@M[a]A(0),", {}},  // no "{"
    };
    kq::Formatter fmt;
    for (const auto& c : cases) {
        KQ_NAME_MAP map;
        fmt.populatePrettyValFromTriggerDependencies(nullptr, c.format, map);
        EXPECT_EQ(map, c.map) << c.format;
    }
    kqtest::LogCapture log;
    KQ_NAME_MAP map;
    fmt.populatePrettyValFromTriggerDependencies(nullptr, "@MODE{[On]__CLEAR_READ_ONLY__}", map);
    EXPECT_EQ(log.lines(), Strings{"debug: __CLEAR_READ_ONLY__ found for column:MODE"});
}

// The family is chosen once from the whole format string and serves both
// sides; the column stores "1", "5", "cpu".
TEST(TriggerPickList, FamilyChoice) {
    const struct {
        const char* format;
        const char* selection;
        Strings oldShown, newShown;
    } cases[] = {
        {"@M{[a]Off(0);On(1)}", "", {"On", "k", "k"}, {"On", "k", "k"}},
        {"@M{[a]%s,[b]Off(0);On(1)}", "", {"1", "5", "cpu"}, {"1", "5", "cpu"}},
        {"@M{[a]%s}", "sel", {"k", "k", "Processor"}, {"k", "k", "Processor"}},
        {"@M{[a]R.key}", "", {"One", " ", " "}, {"One", "k", "k"}},
        {"@M{[a]__CLEAR_READ_ONLY__}", "", {"k", "k", "k"}, {"k", "k", "k"}},
    };
    kqtest::World world;
    world.sys_var("cpu", "Processor");
    world.add({"R", {{"key", 15, "", "", "", 0, "label"}, {"label", 15}}, {{"1", "One"}}});
    kq::Formatter fmt(world.master());
    for (const auto& c : cases) {
        const kqtest::TableSpec spec{"T",
                                     {{"M", 9}, {"v", 15, c.format, "", "", 0, "", c.selection}},
                                     {{"0", "1"}, {"0", "5"}, {"0", "cpu"}}};
        auto live = kqtest::make_live(spec);
        auto snap = kqtest::make_snapshot(spec);
        auto oldCells = cells({0, 1, 2}, "k");
        auto newCells = cells({0, 1, 2}, "k");
        fmt.extractFormatDataFromTriggerDependencies(c.format, snap.get(), live.get(), 1, oldCells,
                                                     newCells);
        EXPECT_EQ(values(oldCells), c.oldShown) << c.format << " / " << c.selection;
        EXPECT_EQ(values(newCells), c.newShown) << c.format << " / " << c.selection;
    }
}

// A side with a value the merged lists do not name goes to the remote lists
// on its own, scanned once for that side; the other side is not handed over,
// and a cell the remote names miss keeps (new) or blanks (old) as usual.
TEST(TriggerPickList, RemoteFallbackPerSide) {
    kqtest::World world;
    world.add({"R", {{"key", 15, "", "", "", 0, "label"}, {"label", 15}}, {{"7", "Seven"}}});
    const char* format = "@M{[a]Low(0);High(1),[b]R.key}";
    const kqtest::TableSpec spec{"T", {{"M", 9}, {"v", 9, format}}, {{"0", "7"}, {"0", "1"}}};
    auto live = kqtest::make_live(spec);
    auto snap = kqtest::make_snapshot(spec);
    const struct {
        std::vector<int> oldRows, newRows;
        Strings oldShown, newShown;
    } cases[] = {
        {{0, 1}, {1}, {"Seven", " "}, {"High"}},     // only the old side misses
        {{1}, {0, 1}, {"High"}, {"Seven", "High"}},  // only the new side misses
    };
    for (const auto& c : cases) {
        auto oldCells = cells(c.oldRows, "k");
        auto newCells = cells(c.newRows, "k");
        kqtest::LogCapture log;
        kq::Formatter(world.master())
            .extractFormatDataFromStaticPickListAvailableInTrigDep(format, snap.get(), live.get(),
                                                                   1, oldCells, newCells);
        EXPECT_EQ(values(oldCells), c.oldShown);
        EXPECT_EQ(values(newCells), c.newShown);
        // One scan: its start line, the table found, the miss of "1".
        ASSERT_EQ(log.lines().size(), 3u);
        EXPECT_EQ(
            log.lines().front(),
            std::string("debug: Extracting pretty names from remote pick list string: ") + format);
        EXPECT_EQ(log.lines().back(), "debug: Failed to get pretty name for physical value: 1");
    }
}

// The list lookups on a caller's map: the cases' lists are added to it (a
// value keeps a name it had before), every cell is looked up whatever its
// row, and a miss blanks an old cell but leaves a new one as it was.
TEST(TriggerPickList, NamingCellListsIntoCallersMap) {
    const kqtest::TableSpec spec{"T", {{"v", 9}}, {{"0"}, {"1"}, {"2"}}};
    auto live = kqtest::make_live(spec);
    auto snap = kqtest::make_snapshot(spec);
    kq::Formatter fmt;
    const std::string format = "@M{[a]A(0);B(1)}";
    KQ_NAME_MAP map{{"1", "Kept"}};

    auto oldCells = cells({0, 1, 2, 5}, "k");  // row 5 reads as the empty text
    EXPECT_EQ(fmt.getPrettyValFromStaticPickList(live.get(), snap.get(), 0, format, map, oldCells),
              0);
    EXPECT_EQ(values(oldCells), (Strings{"A", "Kept", " ", " "}));

    auto newCells = cells({1, 0}, "k");
    EXPECT_EQ(fmt.getPrettyValFromStaticPickList(live.get(), 0, format, map, newCells), 1);
    EXPECT_EQ(values(newCells), (Strings{"Kept", "A"}));

    auto missing = cells({2}, "k");
    EXPECT_EQ(fmt.getPrettyValFromStaticPickList(live.get(), 0, format, map, missing), 0);
    EXPECT_EQ(values(missing), Strings{"k"});

    KQ_CELL_LIST none;
    EXPECT_EQ(fmt.getPrettyValFromStaticPickList(live.get(), snap.get(), 0, format, map, none), 1);
    EXPECT_EQ(map, (KQ_NAME_MAP{{"0", "A"}, {"1", "Kept"}}));
}
