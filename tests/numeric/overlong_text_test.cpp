// A printed value longer than the print buffer is cut to its first 127
// bytes; the unit text still follows it in full.
#include <gtest/gtest.h>

#include <string>

#include "kq_test_tables.h"
#include "kq_units.h"

TEST(NumericColumns, OverlongTextIsCutBeforeTheUnit) {
    const struct {
        int type;
        const char* format;
        const char* stored;
        std::string shown;
    } cases[] = {
        {13, "%200.1f", "2.5", std::string(127, ' ') + " bar"},  // the digits fall off
        {13, "%-150.2f", "-1", "-1.00" + std::string(122, ' ') + " bar"},
        {12, "%0999.3f", "0.5", std::string(127, '0') + " bar"},
        {9, "%-300d", "-7", "-7" + std::string(125, ' ') + " bar"},
        {8, "%300u", "4294967295", std::string(127, ' ') + " bar"},
        // Just short of the cut: the whole text.
        {9, "%126d", "5", std::string(125, ' ') + "5 bar"},
        {9, "%127d", "5", std::string(126, ' ') + "5 bar"},
    };
    for (const auto& c : cases) {
        const kqtest::TableSpec spec{"T", {{"v", c.type, c.format, "bar", "bar"}}, {{c.stored}}};
        auto live = kqtest::make_live(spec);
        auto snapshot = kqtest::make_snapshot(spec);
        auto oldCells = kqtest::cells({0}), newCells = kqtest::cells({0});
        std::vector<kq_formatted_col_data_struct> oldColumns{{0, oldCells}},
            newColumns{{0, newCells}};
        KQ_FORMAT_DATA().GetFormattedValue(snapshot.get(), live.get(), oldColumns, newColumns);
        EXPECT_EQ(oldColumns[0].cells[0].value, c.shown) << c.format;
        EXPECT_EQ(newColumns[0].cells[0].value, c.shown) << c.format;
    }
}

// A unit whose display text is itself long is appended whole as well.
TEST(NumericColumns, LongUnitTextIsAppendedWhole) {
    const std::string display(200, 'U');
    kqhost::define_unit({"long_unit", 99, display, "length", 1.0, 0.0});
    const kqhost::ColumnDef column{"v", 9, "%-127d", "long_unit", "long_unit"};
    const kqtest::TableSpec spec{"T", {column}, {{"42"}}};
    auto live = kqtest::make_live(spec);
    auto newCells = kqtest::cells({0});
    KQ_CELL_LIST noOld;
    KQ_FORMAT_DATA().extractFormatDataForIntData(column.us_format, nullptr, live.get(), 0, noOld,
                                                 newCells);
    kqhost::reset_units();
    EXPECT_EQ(newCells[0].value, "42" + std::string(125, ' ') + " " + display);
}
