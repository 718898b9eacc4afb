// Finding remote references in a format string, and naming the cells from
// the names they bring.
#include <gtest/gtest.h>

#include "core/formatter.h"
#include "kq_test_tables.h"

using kqtest::cells;
using kqtest::values;
using Strings = std::vector<std::string>;

namespace {

constexpr const char kStart[] = "debug: Extracting pretty names from remote pick list string: ";
constexpr const char kAsked[] = "debug: Cannot get class pointer for table named: ";

// Scans `format` with no tables registered; every parsed reference then logs
// the table it asked for, so the log shows the references taken, in order.
Strings tables_asked(const std::string& format, int* result = nullptr) {
    kqtest::World world;
    auto live = kqtest::make_live({"L", {{"v", 15}}, {{"1"}}});
    kqtest::LogCapture log;
    auto oldCells = cells({0, 2});
    KQ_CELL_LIST newCells;
    const int r = kq::Formatter(world.master())
                      .extractFormatDataFromRemotePicklistString(format, nullptr, live.get(), 0,
                                                                 oldCells, newCells);
    if (result) *result = r;
    Strings asked;
    for (const auto& line : log.lines()) {
        if (line.rfind(kAsked, 0) == 0) asked.push_back(line.substr(sizeof kAsked - 1));
    }
    EXPECT_EQ(log.lines().at(0), kStart + format);
    return asked;
}

}  // namespace

TEST(RemotePickListScanner, ReferencesTakenFromEachShape) {
    const struct {
        const char* format;
        Strings tables;
    } cases[] = {
        {"n=T1.c\\__no_free_edit__", {"T1"}},
        {"n=T1.c(__FILTER__usage=x)\\__no_free_edit__", {"T1"}},
        {"n=T1.c(__FILTER__a=T2.c)\\__no_free_edit__", {"T1"}},  // a condition is no reference
        {"n=T1.c(__FILTER__usage=1(__FILTER__usage=2)\\__no_free_edit__", {"T1"}},
        {"n=T[__ROW_NUM__].c\\__no_free_edit__", {"T1", "T3"}},  // old cells rows 0 and 2
        {"A(0),B(1),n=T1.c", {"T1"}},
        {"a=T1.c,b=5,c=T2.c", {"T1", "T2"}},
        {"a=T[__ROW_NUM__].c,b=T2.c", {"T[__ROW_NUM__]", "T2"}},
        {"a=T1.c;__no_free_edit__b=T2.c;__no_free_edit__c=T3.c", {"T1", "T2", "T3"}},
        {"__no_free_edit__x=T1.c", {"T1"}},
        {"@M{[a]T1.c}", {"T1"}},
        {"@M{x}]T1.c", {"T1"}},  // "]" after "}": to the end
        {"x=T1.c__FILTER__y=T2.c", {"T1", "T2"}},
        {"", {}},
        // Malformed text and "usage=" conditions take nothing and end.
        {"n=T1.c usage=5\\__no_free_edit__", {}},
        {"usage=T1.c,usage=T2.c", {}},
        {"usage=usage=usage=", {}},
        {"x}usage=T1.c", {}},
        {"x}y=T1.c", {}},
        {"=,=,=}}}]]].", {}},
        {"=__no_free_edit__", {}},
        {"(__FILTER__=__FILTER____no_free_edit__", {}},
    };
    for (const auto& c : cases) {
        int result = -1;
        EXPECT_EQ(tables_asked(c.format, &result), c.tables) << c.format;
        EXPECT_EQ(result, c.tables.empty() ? 1 : 0) << c.format;
    }
}

// Token soup: the scan ends on every text, and every table it asks for is
// text taken from the format string itself.
TEST(RemotePickListScanner, EndsOnArbitraryText) {
    const char* tokens[] = {"__no_free_edit__",
                            "__FILTER__",
                            "usage",
                            "=",
                            ",",
                            "}",
                            "]",
                            "[",
                            "(",
                            ")",
                            ".",
                            "T",
                            "c",
                            "\\",
                            "_",
                            "__no_free_",
                            "__FIL"};
    unsigned int seed = 12345;
    for (int n = 0; n < 2000; ++n) {
        std::string format;
        for (int k = n % 14 + 1; k > 0; --k) {
            seed = seed * 1103515245u + 12345u;
            format += tokens[(seed >> 16) % (sizeof tokens / sizeof *tokens)];
        }
        for (const auto& table : tables_asked(format))
            ASSERT_NE(format.find(table), std::string::npos) << format;
    }
}

// The result is 1 only when every reference parsed and every cell found a
// name; a miss blanks an old cell and keeps a new one.
TEST(RemotePickListScanner, NamesCellsAndReportsSuccess) {
    kqtest::World world;
    world.add({"R", {{"k", 15, "", "", "", 0, "l"}, {"l", 15}}, {{"1", "One"}, {"2", "Two"}}});
    const kqtest::TableSpec spec{"L", {{"v", 9}}, {{"1"}, {"2"}, {"9"}}};
    auto live = kqtest::make_live(spec);
    auto snap = kqtest::make_snapshot(spec);
    kq::Formatter fmt(world.master());
    auto oldCells = cells({0, 1}, "k"), newCells = cells({0, 1}, "k");
    EXPECT_EQ(fmt.extractFormatDataFromRemotePicklistString("x=R.k", snap.get(), live.get(), 0,
                                                            oldCells, newCells),
              1);
    EXPECT_EQ(values(newCells), (Strings{"One", "Two"}));
    oldCells = cells({2, 1}, "k"), newCells = cells({2, 1}, "k");
    EXPECT_EQ(fmt.extractFormatDataFromRemotePicklistString("x=R.k", snap.get(), live.get(), 0,
                                                            oldCells, newCells),
              0);
    EXPECT_EQ(values(oldCells), (Strings{" ", "Two"}));
    EXPECT_EQ(values(newCells), (Strings{"k", "Two"}));
}
