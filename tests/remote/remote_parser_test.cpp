// One remote reference: the remote column's metadata decides how the local
// column is shown; row templates resolve one reference per row.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/formatter.h"
#include "kq_test_tables.h"

using kqtest::cells;
using kqtest::values;
using Strings = std::vector<std::string>;

namespace {

// Key columns with different metadata (the integer one also names a label
// column, which it does not use), a label column, repeated keys.
kqtest::TableSpec remote_table(const std::string& name) {
    return {name,
            {{"lab", 15, "", "", "", 0, "label"},
             {"int", 9, "%03d", "", "", 0, "label"},
             {"sys", 15, "", "", "", 0, "", "sel"},
             {"plain", 15},
             {"label", 15},
             {"usage", 15}},
            {{"1", "1", "1", "1", "One", "x_analyzr05"},
             {"2", "2", "2", "2", "Two", "analyzr12"},
             {"1", "1", "1", "1", "Uno", "analyzr00"},
             {"3", "3", "3", "3", "Three", "spare"},
             {"5", "5", "5", "5", "Five", "analyzr00"}}};
}

std::shared_ptr<KWTABLE> local_table(const std::string& internal, const Strings& stored) {
    kqtest::TableSpec spec{"L", {{"v", 9, "", "", "", 0, "", "", internal}}, {}};
    for (const auto& s : stored) spec.rows.push_back({s});
    return kqtest::make_live(spec);
}

}  // namespace

TEST(RemotePickListParser, RemoteColumnDecidesTheFamily) {
    const Strings plain{"1", "3", "0"}, keep{"k", "k", "k"}, printed{"001", "003", "000"};
    const struct {
        const char* reference;
        int result;
        KQ_NAME_MAP map;
        Strings shown;  // the local column stores 1, 3, 0
    } cases[] = {
        {"R.lab", 1, {{"1", "One"}, {"2", "Two"}, {"3", "Three"}, {"5", "Five"}}, keep},
        {"R.int", 1, {}, printed},
        {"R.sys", 1, {}, {"k", "Processor", "k"}},
        {"R.plain", 1, {}, plain},
        {"Q__remoterow__.lab", 1, {}, plain},
        {"Q__remoterow__.sys", 1, {}, plain},
        {"Q__remoterow__.int", 1, {}, printed},
        {"W", 1, {}, plain},  // no ".": table and column are both "W"
        {"Missing.lab", 0, {}, keep},
        {"R.nope", 0, {}, keep},
    };
    kqtest::World world;
    world.add(remote_table("R"));
    world.add(remote_table("Q__remoterow__"));
    world.add({"W", {{"W", 15}}, {}});
    world.sys_var("3", "Processor");
    kq::Formatter fmt(world.master());
    auto live = local_table("", plain);
    for (const auto& c : cases) {
        KQ_NAME_MAP map;
        auto newCells = cells({0, 1, 2}, "k");
        KQ_CELL_LIST none;
        EXPECT_EQ(fmt.parseRemotePickList(c.reference, map, nullptr, live.get(), 0, none, newCells),
                  c.result)
            << c.reference;
        EXPECT_EQ(map, c.map) << c.reference;
        EXPECT_EQ(values(newCells), c.shown) << c.reference;
    }
    kqtest::LogCapture log;
    KQ_NAME_MAP map;
    KQ_CELL_LIST none;
    fmt.parseRemotePickList("NoDot", map, nullptr, live.get(), 0, none, none);
    fmt.parseRemotePickList("R.nope", map, nullptr, live.get(), 0, none, none);
    kq::Formatter().parseRemotePickList("R.lab", map, nullptr, live.get(), 0, none, none);
    EXPECT_EQ(log.lines(), (Strings{"debug: Cannot get class pointer for table named: NoDot",
                                    "debug: Got class pointer for table named: R",
                                    "debug: Cannot get the column number for column named: nope",
                                    "debug: Cannot get class pointer for table named: R"}));
}

TEST(RemotePickListParser, ValveLabelPrefixes) {
    const struct {
        const char* table;
        const char* internal;
        KQ_NAME_MAP map;
    } cases[] = {
        {"VALVE_CONFIG",
         "valve_do",
         {{"1", "5 - One"}, {"2", "12 - Two"}, {"3", "Three"}, {"5", "0 - Five"}}},
        {"OTHER",
         "valve_do",
         {{"1", "1 - One"}, {"2", "2 - Two"}, {"3", "4 - Three"}, {"5", "5 - Five"}}},
        {"VALVE_CONFIG", "valve_di", {{"1", "One"}, {"2", "Two"}, {"3", "Three"}, {"5", "Five"}}},
    };
    for (const auto& c : cases) {
        kqtest::World world;
        world.add(remote_table(c.table));
        auto live = local_table(c.internal, {});
        KQ_CELL_LIST none;
        KQ_NAME_MAP map;
        kq::Formatter(world.master())
            .parseRemotePickList(std::string(c.table) + ".lab", map, nullptr, live.get(), 0, none,
                                 none);
        EXPECT_EQ(map, c.map) << c.table << " " << c.internal;
    }
}

// One reference per old cell, numbered from 1; the old list decides how many
// rows are done, and each row's names (and the caller's) serve that row only.
TEST(RemotePickListParser, RowTemplates) {
    kqtest::World world;
    world.add({"P1", {{"k", 15, "", "", "", 0, "l"}, {"l", 15}}, {{"1", "first"}}});
    world.add({"P3", {{"k", 15, "", "", "", 0, "l"}, {"l", 15}}, {{"1", "third"}, {"3", "x"}}});
    auto live = local_table("", {"1", "3", "1"});
    auto snap = kqtest::make_snapshot({"L", {{"v", 9}}, {{"1"}, {"3"}, {"1"}}});
    kqtest::LogCapture log;
    KQ_NAME_MAP map{{"3", "stale"}};
    auto oldCells = cells({0, 1, 2}, "k");
    auto newCells = cells({2, 0, 1, 1}, "k");
    std::string rowTemplate = "P[__ROW_NUM__].k";
    unsigned int at = 1;
    kq::Formatter(world.master())
        .getFormattedDataForRow(live.get(), snap.get(), 0, map, rowTemplate, at, oldCells,
                                newCells);
    EXPECT_EQ(values(oldCells), (Strings{"first", "k", "third"}));
    EXPECT_EQ(values(newCells), (Strings{"first", "k", "x", "k"}));
    EXPECT_TRUE(map.empty());
    const Strings lines = log.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "debug: Failed to parse RemotePickList for Table : P2.k"),
              1);
}
