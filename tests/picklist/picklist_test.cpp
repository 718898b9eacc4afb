// Static pick lists and the merged lists of trigger dependencies: entries
// read from the format, stored values named by their text, and the
// fall-back on remote pick lists.
#include <gtest/gtest.h>

#include "kq_test_tables.h"

using kqtest::ColumnDef;
using Strings = std::vector<std::string>;

namespace {

// Row 0 holds `stored`; both views must show `shown` ("k": the cell was
// left as it was).
void check(const ColumnDef& column, const std::string& stored, const std::string& shown,
           KW_MASTER_TABLE* master = nullptr) {
    const auto v =
        kqtest::format_column({"T", {{"M", 9}, column}, {{"0", stored}}}, 1, {0}, {0}, master);
    EXPECT_EQ(v.live_view, Strings{shown}) << column.us_format << " / " << stored;
    EXPECT_EQ(v.old_view, Strings{shown}) << column.us_format;
}

}  // namespace

TEST(StaticPickList, EntriesAndStoredText) {
    const struct {
        int type;
        const char* list;
        const char* stored;
        const char* shown;
    } cases[] = {
        {15, "A(0),B()", "", "k"},     // an entry after the first needs 4 characters
        {15, "A(0),B(12", "12", "B"},  // the value runs to the end
        {15, "(1)", "1", ""},
        {15, "A(0);B(1)|C(2)", "2", "C"},
        {15, "A(0),,B(1)", "1", ",B"},  // one separator is skipped
        {15, "A(x(y),B(1)", "x(y", "A"},
        {15, "One(1),Zero(01)", "01", "Zero"},
        {9, "Neg(-5),Pos(5)", "-5", "Neg"},
        {1, "X(200),Y(1)", "\xC8", "X"},
        {1, "Bell(7),Text(\x07)", "\x07", "Bell"},
        {8, "U(4294967295),S(-1)", "4294967295", "S"},
        // Other spellings of the number, and numbers beyond 32 bits, never match.
        {9, "A(01),B(+1),C( 1),D(1)", "1", "D"},
        {9, "Z(-0),Y(00),X(0x0)", "0", "k"},
        {9, "Wide(4294967303),Seven(7 )", "7", "k"},
        // The list ends one character before "__no_free_edit__", unless that
        // marker opens the text.
        {15, "A(0);__no_free_edit__C(3)", "3", "k"},
        {15, "__no_free_edit__A(1)", "1", "__no_free_edit__A"},
    };
    for (const auto& c : cases) check({"v", c.type, c.list}, c.stored, c.shown);
}

// Values without a static name go to the remote list named in the same
// text; when every value has a static name the remote list is not read.
TEST(StaticPickList, FallsBackOnRemoteList) {
    kqtest::World world;
    world.add({"R", {{"key", 15, "", "", "", 0, "label"}, {"label", 15}}, {{"5", "Five"}}});
    const kqtest::TableSpec spec{"T", {{"v", 9, "Off(0),x=R.key"}}, {{"0"}, {"5"}, {"7"}}};
    const auto v = kqtest::format_column(spec, 0, {0, 1, 2}, {0, 1, 2}, world.master());
    EXPECT_EQ(v.old_view, (Strings{"Off", "Five", " "}));
    EXPECT_EQ(v.live_view, (Strings{"Off", "Five", "k"}));
    kqtest::LogCapture log;
    EXPECT_EQ(kqtest::format_column(spec, 0, {}, {0}, world.master()).live_view, Strings{"Off"});
    EXPECT_TRUE(log.lines().empty());
}

// The lists of all cases merge, the earlier case winning; a case text ends
// at the first ",".
TEST(TriggerPickList, CasesMerge) {
    const struct {
        const char* format;
        const char* stored;
        const char* shown;
    } cases[] = {
        {"@M{[a]A(0)},X(1)", "0", "A"},  // the case text runs past "}" to the ","
        {"@M{[a]A(0)},X(1)", "1", "k"},
        {"@M{[a]__CLEAR_READ_ONLY__ ,[b]B(1)}", "1", "B"},
        {"@M{[]A(0),[b]B(1)}", "0", "A"},  // an empty case name
        {"@M{[a]A(0)", "0", "k"},          // neither "," nor "}" after the case
        {"@M{[a", "0", "k"},
        {"@M[a]A(0),", "0", "k"},  // no "{"
    };
    for (const auto& c : cases) check({"v", 9, c.format}, c.stored, c.shown);
    kqtest::LogCapture log;
    check({"v", 9, "@M{[On]__CLEAR_READ_ONLY__,[b]B(1)}"}, "1", "B");
    EXPECT_EQ(log.lines().at(0), "debug: __CLEAR_READ_ONLY__ found for column:M");
}

// The family is chosen once from the whole format and serves both views.
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
    };
    kqtest::World world;
    world.sys_var("cpu", "Processor");
    world.add({"R", {{"key", 15, "", "", "", 0, "label"}, {"label", 15}}, {{"1", "One"}}});
    for (const auto& c : cases) {
        const kqtest::TableSpec spec{"T",
                                     {{"M", 9}, {"v", 15, c.format, "", "", 0, "", c.selection}},
                                     {{"0", "1"}, {"0", "5"}, {"0", "cpu"}}};
        const auto v = kqtest::format_column(spec, 1, {0, 1, 2}, {0, 1, 2}, world.master());
        EXPECT_EQ(v.old_view, c.oldShown) << c.format;
        EXPECT_EQ(v.live_view, c.newShown) << c.format;
    }
}

// A view with a value the merged lists do not name goes to the remote lists
// on its own, scanned once for that view.
TEST(TriggerPickList, RemoteFallbackPerView) {
    kqtest::World world;
    world.add({"R", {{"key", 15, "", "", "", 0, "label"}, {"label", 15}}, {{"7", "Seven"}}});
    const char* format = "@M{[a]Low(0);High(1),[b]R.key}";
    const kqtest::TableSpec spec{"T", {{"M", 9}, {"v", 9, format}}, {{"0", "7"}, {"0", "1"}}};
    const struct {
        std::vector<int> oldRows, newRows;
        Strings oldShown, newShown;
    } cases[] = {
        {{0, 1}, {1}, {"Seven", " "}, {"High"}},     // only the old view misses
        {{1}, {0, 1}, {"High"}, {"Seven", "High"}},  // only the live view misses
    };
    for (const auto& c : cases) {
        kqtest::LogCapture log;
        const auto v = kqtest::format_column(spec, 1, c.oldRows, c.newRows, world.master());
        EXPECT_EQ(v.old_view, c.oldShown);
        EXPECT_EQ(v.live_view, c.newShown);
        // One scan: its start line, the table found, the miss of "1".
        ASSERT_EQ(log.lines().size(), 3u);
        EXPECT_EQ(
            log.lines().front(),
            std::string("debug: Extracting pretty names from remote pick list string: ") + format);
        EXPECT_EQ(log.lines().back(), "debug: Failed to get pretty name for physical value: 1");
    }
}
