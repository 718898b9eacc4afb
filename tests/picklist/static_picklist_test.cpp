// Static pick lists: parsing into a name map, looking cells up in it, and
// formatting a column through it.
#include <gtest/gtest.h>

#include "core/formatter.h"
#include "kq_test_tables.h"

using kqtest::cells;
using kqtest::values;
using Strings = std::vector<std::string>;

TEST(StaticPickList, Parsing) {
    const struct {
        const char* text;
        KQ_NAME_MAP map;
    } cases[] = {
        {"Off(0), On(1)", {{"0", "Off"}, {"1", " On"}}},  // nothing is trimmed
        {"A(1),B(1)", {{"1", "A"}}},                      // first name stays
        {"A(0),B()", {{"0", "A"}}},                       // 3 characters after the separator
        {"A(0),B(12", {{"0", "A"}, {"12", "B"}}},         // 4 suffice; value runs to the end
        {"(1)", {{"1", ""}}},                             // no minimum for the first entry
        {"A(0);B(1)|C(2)", {{"0", "A"}, {"1", "B"}, {"2", "C"}}},
        {"A(0),,B(1)", {{"0", "A"}, {"1", ",B"}}},  // only one separator is skipped
        {"A(x(y),B(1)", {{"x(y", "A"}, {"1", "B"}}},
        {"plain", {}},
    };
    kq::Formatter fmt;
    for (const auto& c : cases) {
        KQ_NAME_MAP map;
        fmt.populatePrettyValFromStaticPickList(c.text, map);
        EXPECT_EQ(map, c.map) << c.text;
    }
    KQ_NAME_MAP map{{"1", "Kept"}};
    fmt.populatePrettyValFromStaticPickList("New(1),Two(2)", map);
    EXPECT_EQ(map, (KQ_NAME_MAP{{"1", "Kept"}, {"2", "Two"}}));
}

// Keys are text ("01" is not "1"); every listed cell is read, also past the
// row count; an old miss shows " ", a live miss keeps the value.
TEST(StaticPickList, LookupsByTableKind) {
    const kqtest::TableSpec spec{"T", {{"v", 15}}, {{"1"}, {"01"}}};
    auto live = kqtest::make_live(spec);
    auto snap = kqtest::make_snapshot(spec);
    KQ_NAME_MAP map{{"0", "Off"}, {"1", "On"}};
    kq::Formatter fmt;
    kqtest::LogCapture log;
    auto oldCells = cells({0, 1, 5}, "k"), newCells = cells({0, 1, 5}, "k"), none = cells({});
    EXPECT_EQ(fmt.getPrettyValFromMap(snap.get(), 0, map, oldCells), 0);
    EXPECT_EQ(fmt.getPrettyValFromMap(live.get(), 0, map, newCells), 0);
    EXPECT_EQ(fmt.getPrettyValFromMap(snap.get(), 0, map, none), 1);
    EXPECT_EQ(values(oldCells), (Strings{"On", " ", " "}));
    EXPECT_EQ(values(newCells), (Strings{"On", "k", "k"}));
    const std::string miss = "debug: Failed to get pretty name for physical value: ";
    EXPECT_EQ(log.lines(), (Strings{miss + "01", miss, miss + "01", miss}));
}

TEST(StaticPickList, ColumnRendersStoredValueByType) {
    const struct {
        int type;
        const char* stored;
        const char* list;
        const char* shown;
    } cases[] = {
        {9, "-5", "Neg(-5),Pos(5)", "Neg"},
        {1, "\xC8", "X(200),Y(1)", "X"},
        {8, "4294967295", "U(4294967295),S(-1)", "S"},
        {15, "01", "One(1),Zero(01)", "Zero"},
        {9, "5", "Off(0),On(1)", "k"},
        // Integers are found under their "%ld" text only: other spellings of
        // the number, and numbers beyond 32 bits, never match.
        {9, "1", "A(01),B(+1),C( 1),D(1)", "D"},
        {9, "0", "Z(-0),Y(00),X(0x0)", "k"},
        {9, "7", "Wide(4294967303),Seven(7 )", "k"},
        {9, "-2147483648", "Min(-2147483648)", "Min"},
        {8, "2147483648", "Big(2147483648),Neg(-2147483648)", "Neg"},
        {1, "\x07", "Bell(7),Text(\x07)", "Bell"},
    };
    for (const auto& c : cases) {
        const kqtest::TableSpec spec{"T", {{"v", c.type}}, {{c.stored}}};
        auto live = kqtest::make_live(spec);
        auto snap = kqtest::make_snapshot(spec);
        auto oldCells = cells({0, 1}, "k"), newCells = cells({1, 0}, "k");
        kq::Formatter().extractFormatDataFromStaticPickList(c.list, snap.get(), live.get(), 0,
                                                            oldCells, newCells);
        EXPECT_EQ(values(oldCells), (Strings{c.shown, "k"})) << c.list;
        EXPECT_EQ(values(newCells), (Strings{"k", c.shown})) << c.list;
    }
}

// Values without a static name go to the remote list named in the same text,
// with the static names in the same map; when all are named it is not asked.
TEST(StaticPickList, FallsBackOnRemoteListWithSharedMap) {
    kqtest::World world;
    world.add({"R",
               {{"key", 15, "", "", "", 0, "label"}, {"label", 15}},
               {{"5", "Five"}, {"0", "Zero"}}});
    const kqtest::TableSpec spec{"T", {{"v", 9}}, {{"0"}, {"5"}, {"7"}}};
    auto live = kqtest::make_live(spec);
    auto snap = kqtest::make_snapshot(spec);
    kq::Formatter fmt(world.master());
    auto oldCells = cells({0, 1, 2}, "k"), newCells = cells({0, 1, 2}, "k");
    fmt.extractFormatDataFromStaticPickList("Off(0),x=R.key", snap.get(), live.get(), 0, oldCells,
                                            newCells);
    EXPECT_EQ(values(oldCells), (Strings{"Off", "Five", " "}));
    EXPECT_EQ(values(newCells), (Strings{"Off", "Five", "k"}));

    kqtest::LogCapture log;
    KQ_CELL_LIST none, named = cells({0});
    fmt.extractFormatDataFromStaticPickList("Off(0),x=R.key", snap.get(), live.get(), 0, none,
                                            named);
    EXPECT_EQ(named[0].value, "Off");
    EXPECT_TRUE(log.lines().empty());
}
