// Float and integer columns end to end: reading, unit conversion, printing,
// unit text, per-row state. A printed value longer than the print buffer is
// cut to its first 127 bytes; the unit text still follows it in full.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/formatter.h"
#include "kq_host_units.h"
#include "kq_test_tables.h"

using kqtest::cells;
using kqtest::values;
using Texts = std::vector<std::string>;

namespace {

const std::string kDegF =
    "\xC2\xB0"
    "F";

void run(bool integer, const std::string& format, KQ_TABLE_COPY* snapshot, KWTABLE* live,
         KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells, long column = 0) {
    kq::Formatter fmt;
    if (integer)
        fmt.extractFormatDataForIntData(format, snapshot, live, column, oldCells, newCells);
    else
        fmt.extractFormatDataForFloatData(format, snapshot, live, column, oldCells, newCells);
}

struct ValueCase {
    int type;
    const char* format;
    const char* units;
    const char* unitsUs;
    const char* stored;
    std::string shown;
};

// Row 0 of a one-column table, from both views.
void check_value(bool integer, const ValueCase& c) {
    const kqtest::TableSpec desc{"T", {{"v", c.type, c.format, c.units, c.unitsUs}}, {{c.stored}}};
    auto live = kqtest::make_live(desc);
    auto snapshot = kqtest::make_snapshot(desc);
    auto oldCells = cells({0}), newCells = cells({0});
    run(integer, c.format, snapshot.get(), live.get(), oldCells, newCells);
    EXPECT_EQ(values(oldCells), Texts{c.shown}) << c.format << " " << c.stored;
    EXPECT_EQ(values(newCells), Texts{c.shown}) << c.format << " " << c.stored;
}

}  // namespace

TEST(FloatColumn, Values) {
    const ValueCase cases[] = {
        {9, "%.0f", "", "", "16777217", "16777216"},  // nearest float, ties to even
        {9, "%.0f", "", "", "16777219", "16777220"},
        {8, "%.0f", "", "", "-1", "4294967296"},
        {12, "%86g", "", "", "123.456789", "123.45679"},
        {13, "%76g", "", "", "0.1", std::string(73, ' ') + "0.1"},  // not decoded for doubles
        {12, "%76g", "mm", "m", "1500", "1.5 m"},  // decoded after conversion, unit text after
        {12, "%86g", "", "", "-inf", "-inf"},
        {12, "%86g", "", "", "nan", "nan"},
        {12, "%.1f", "degC", "degF", "100", "212.0 " + kDegF},
        {9, "%.1f", "bar", "mbar", "2", "2000.0 mbar"},
        {12, "%.1f", "mm", "mm", "2.5", "2.5 mm"},
        {12, "%.1f", "", "furlong", "2.5", "2.5"},  // unknown unit: none
        {12, "abc", "", "mm", "1", " mm"},          // no specifier: unit text only
        {12, "float(%s)", "", "", "1", ""},
        {13, "%200.1f", "bar", "bar", "2.5", std::string(127, ' ') + " bar"},  // digits fall off
        {13, "%-150.2f", "bar", "bar", "-1", "-1.00" + std::string(122, ' ') + " bar"},
        {12, "%0999.3f", "bar", "bar", "0.5", std::string(127, '0') + " bar"},
    };
    for (const auto& c : cases) check_value(false, c);
}

TEST(IntColumn, Values) {
    const ValueCase cases[] = {
        {8, "%u", "", "", "-1", "4294967295"},
        {8, "%d", "", "", "-1", "-1"},
        {8, "%ld", "", "", "-1", "-1"},
        {9, "%lld", "", "", "-2147483648", "-2147483648"},
        {9, "int(%05d)|x", "", "", "42", "00042"},
        {9, "%d", "degC", "degF", "100", "212 " + kDegF},
        {8, "%u", "min", "s", "2", "120 s"},
        {9, "%-300d", "bar", "bar", "-7", "-7" + std::string(125, ' ') + " bar"},
        {8, "%300u", "bar", "bar", "4294967295", std::string(127, ' ') + " bar"},
        {9, "%126d", "bar", "bar", "5", std::string(125, ' ') + "5 bar"},  // just short of the cut
        {9, "%127d", "bar", "bar", "5", std::string(126, ' ') + "5 bar"},
    };
    for (const auto& c : cases) check_value(true, c);
    // A long unit display text is appended whole as well.
    const std::string display(200, 'U');
    kqhost::define_unit({"long_unit", 99, display, "length", 1.0, 0.0});
    check_value(true, {9, "%-127d", "long_unit", "long_unit", "42",
                       "42" + std::string(125, ' ') + " " + display});
    kqhost::reset_units();
}

TEST(NumericColumns, FailedConversionGoesOnWithTheValue) {
    auto live = kqtest::make_live({"T", {{"v", 12, "%.1f", "degC", "bar"}}, {{"5"}}});
    auto none = cells({}), newCells = cells({0});
    kqtest::LogCapture log;
    run(false, "%.1f", nullptr, live.get(), none, newCells);
    EXPECT_EQ(values(newCells), Texts{"5.0 bar"});
    ASSERT_EQ(log.lines(), (Texts{"debug: Unit conversion failed", "sys: Unit conversion failed"}));
    EXPECT_EQ(log.records()[1].severity, 0);
    EXPECT_EQ(log.records()[1].number, 0);
    EXPECT_EQ(log.records()[1].line, log.records()[0].line + 1);
}

TEST(NumericColumns, UnsupportedTypeChangesNoCell) {
    for (int type : {15, 12}) {
        const bool integer = type == 12;  // 12 is a float type, not an integer one
        const kqtest::TableSpec desc{"T", {{"v", type, "%d"}}, {{"1"}}};
        auto live = kqtest::make_live(desc);
        auto snapshot = kqtest::make_snapshot(desc);
        auto oldCells = cells({0}, "keep"), newCells = cells({0}, "keep");
        kqtest::LogCapture log;
        run(integer, "%d", snapshot.get(), live.get(), oldCells, newCells);
        EXPECT_EQ(values(oldCells), Texts{"keep"});
        EXPECT_EQ(values(newCells), Texts{"keep"});
        EXPECT_EQ(log.lines(),
                  Texts{"debug: Cannot generate a string representation of data type " +
                        std::to_string(type)});
    }
}

TEST(NumericColumns, RowsAtTheCountAreUntouched) {
    auto live = kqtest::make_live({"T", {{"v", 9, "%d"}}, {{"10"}, {"11"}, {"12"}}});
    auto snapshot = kqtest::make_snapshot({"T", {{"v", 9, "%d"}}, {{"0"}, {"1"}}});
    auto oldCells = cells({2, 1, 0}, "keep"), newCells = cells({3, 2}, "keep");
    run(true, "%d", snapshot.get(), live.get(), oldCells, newCells);
    EXPECT_EQ(values(oldCells), (Texts{"keep", "1", "0"}));
    EXPECT_EQ(values(newCells), (Texts{"keep", "12"}));
}

TEST(NumericColumns, PseudoSpecifierDecodedForEachValue) {
    // 1.2345672 needs more than seven digits to read back; 1.234567 does not.
    auto live = kqtest::make_live({"T", {{"v", 12, "%76g"}}, {{"1.2345672"}, {"1.234567"}}});
    auto none = cells({}), newCells = cells({0, 1, 0});
    run(false, "%76g", nullptr, live.get(), none, newCells);
    EXPECT_EQ(values(newCells), (Texts{"1.23457", "1.234567", "1.23457"}));
}

TEST(NumericColumns, TriggerCasesChooseSpecifierAndUnitPerRow) {
    // MODE 0 is Off, 1 is On. Column v names a unit only for On; column w
    // has a specifier only for On. Old rows take their case from the live
    // table; the row state runs on from the old cells into the new ones.
    const std::vector<kqhost::ColumnDef> columns{
        {"MODE", 9, "Off(0),On(1)"},
        {"v", 12, "@MODE{[On]float(%.2f)UNIT=degF),[Off]float(%.1f)}", "degC"},
        {"w", 12, "@MODE{[On]float(%.2f),[Off]none}"}};
    auto live = kqtest::make_live({"T", columns, {{"0", "100", "1"}, {"1", "100", "1"}}});
    auto snapshot = kqtest::make_snapshot({"T", columns, {{"1", "0"}, {"0", "10"}}});
    const struct {
        long column;
        std::vector<int> oldRows, newRows;
        Texts oldShown, newShown;
    } cases[] = {
        {1, {0}, {0, 1, 0}, {"0.0"}, {"100.0", "212.00 " + kDegF, "212.0 " + kDegF}},
        {1, {1}, {0}, {"50.00 " + kDegF}, {"212.0 " + kDegF}},
        {2, {}, {0, 1, 0}, {}, {"", "1.00", "1.00"}},
    };
    for (const auto& c : cases) {
        auto oldCells = cells(c.oldRows), newCells = cells(c.newRows);
        run(false, live->get_us_format(c.column), snapshot.get(), live.get(), oldCells, newCells,
            c.column);
        EXPECT_EQ(values(oldCells), c.oldShown) << c.column;
        EXPECT_EQ(values(newCells), c.newShown) << c.column;
    }
}

TEST(NumericColumns, DecodedPseudoSpecifierRunsOnToRowsWithout) {
    // Case On decodes "%76g" per value; case Off has no specifier, so its
    // rows print with the previous row's specifier as decoded for that row.
    auto live = kqtest::make_live(
        {"T",
         {{"MODE", 9, "Off(0),On(1)"}, {"v", 12, "@MODE{[On]float(%76g),[Off]none}"}},
         {{"1", "1.2345672"}, {"0", "1.234567"}, {"1", "1.234567"}}});
    auto none = cells({}), newCells = cells({0, 1, 2, 1});
    run(false, live->get_us_format(1), nullptr, live.get(), none, newCells, 1);
    EXPECT_EQ(values(newCells), (Texts{"1.23457", "1.23457", "1.234567", "1.234567"}));
}

TEST(UnitConversion, WhenItApplies) {
    const UNIT_ENUM degC = GetUnitEnum("degC"), degF = GetUnitEnum("degF");
    const struct {
        int type;
        UNIT_ENUM from, to;
        double shown;
        Texts lines;
    } cases[] = {
        {13, degC, degF, 212.0, {}},
        {13, UNIT_NONE, degF, 100.0, {}},
        {15, degC, degC, 100.0, {}},
        {15, degC, degF, 100.0, {"debug: Unit conversion not possible for data type 15"}},
        {5, degC, degF, 100.0, {"debug: Unit conversion failed", "sys: Unit conversion failed"}},
    };
    for (const auto& c : cases) {
        kqtest::LogCapture log;
        DATA_TYPE_UNION value{};
        value.dVal = 100.0;
        kq::Formatter().getDatabaseValAfterUnitConversion(nullptr, 0, c.type, &value, c.from, c.to);
        EXPECT_DOUBLE_EQ(value.dVal, c.shown) << c.type;
        EXPECT_EQ(log.lines(), c.lines) << c.type;
    }
    std::string text = "12.5";
    kq::Formatter().appendUnitsStringIfAny(GetUnitEnum("mm"), "", text);
    EXPECT_EQ(text, "12.5 ");  // the text comes from the name, even an empty one
}
