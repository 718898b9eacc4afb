// Float and integer columns as the screens show them: specifiers found in
// the format (per row for trigger dependencies, or borrowed from another
// table), unit conversion and unit text, the 127-byte cut, per-row state.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/formatter.h"
#include "kq_host_units.h"
#include "kq_test_tables.h"

using kqtest::ColumnDef;
using Texts = std::vector<std::string>;

namespace {

const std::string kDegF =
    "\xC2\xB0"
    "F";

struct ValueCase {
    ColumnDef column;
    const char* stored;
    std::string shown;
};

void check(const ValueCase& c, KW_MASTER_TABLE* master = nullptr) {
    EXPECT_EQ(kqtest::shown(c.column, c.stored, master), c.shown)
        << c.column.type << " '" << c.column.us_format << "' " << c.stored;
}

}  // namespace

TEST(NumericColumns, Values) {
    const ValueCase cases[] = {
        {{"v", 8, "%.0f"}, "-1", "4294967296"},  // through a float, nearest
        {{"v", 9, "%.1f", "bar", "mbar"}, "2", "2000.0 mbar"},
        {{"v", 12, "%86g"}, "123.456789", "123.45679"},
        {{"v", 13, "%76g"}, "0.1", std::string(73, ' ') + "0.1"},  // not decoded for doubles
        {{"v", 12, "%76g", "mm", "m"}, "1500", "1.5 m"},           // decoded after conversion
        {{"v", 12, "%86g"}, "-inf", "-inf"},
        {{"v", 12, "abc", "", "mm"}, "1", " mm"},  // no specifier: the unit text only
        // Specifier forms on a double column.
        {{"v", 13, "float(%.2f)|rest"}, "2.5", "2.50"},
        {{"v", 13, "float(%.2f)x__VAL_DEPENDENT__"}, "2.5", "2.50)x"},  // marker before ")"
        {{"v", 13, "float(%.1f)|x__VAL_DEPENDENT__"}, "2.5", "2.5)|x"},
        {{"v", 13, "float(%.2f"}, "2.5", ""},
        {{"v", 13, "Nonfloating x (%.1e)"}, "2.5", "2.5e+00"},  // keyword inside a word
        {{"v", 13, "%.3f)|abc"}, "2.5", "2.500"},
        {{"v", 13, "%.2f x=%g"}, "2.5", ""},  // the first "g" decides
        {{"v", 9, "interval (%2d) int(%5d)"}, "7", " 7"},
        {{"v", 8, "%u used"}, "7", "7 used"},  // the first "d" is in "used"
        {{"v", 8, "int(%.1f)"}, "4294967295", "4294967295.0"},
        {{"v", 9, "%lld"}, "-2147483648", "-2147483648"},
        {{"v", 9, "%d", "degC", "degF"}, "100", "212 " + kDegF},
        {{"v", 8, "%u", "min", "s"}, "2", "120 s"},
        // The printed text is cut to 127 bytes; the unit text follows whole.
        {{"v", 13, "%200.1f", "bar", "bar"}, "2.5", std::string(127, ' ') + " bar"},
        {{"v", 13, "%-150.2f", "bar", "bar"}, "-1", "-1.00" + std::string(122, ' ') + " bar"},
        {{"v", 8, "%300u", "bar", "bar"}, "4294967295", std::string(127, ' ') + " bar"},
        {{"v", 9, "%127d", "bar", "bar"}, "5", std::string(126, ' ') + "5 bar"},
    };
    for (const auto& c : cases) check(c);
    const std::string display(200, 'U');
    kqhost::define_unit({"long_unit", 99, display, "length", 1.0, 0.0});
    check({{"v", 9, "%-127d", "long_unit", "long_unit"},
           "42",
           "42" + std::string(125, ' ') + " " + display});
    kqhost::reset_units();
}

// A failed conversion is an error line (sys severity 0, number 0) and the
// value is shown unconverted with the display unit's text.
TEST(NumericColumns, FailedConversionGoesOnWithTheValue) {
    kqtest::LogCapture log;
    EXPECT_EQ(kqtest::shown({"v", 12, "%.1f", "degC", "bar"}, "5"), "5.0 bar");
    ASSERT_EQ(log.lines().size(), 4u);  // once per view
    EXPECT_EQ(log.lines()[0], "debug: Unit conversion failed");
    EXPECT_EQ(log.lines()[1], "sys: Unit conversion failed");
    EXPECT_EQ(log.records()[1].severity, 0);
    EXPECT_EQ(log.records()[1].number, 0);
    EXPECT_EQ(log.records()[1].line, log.records()[0].line + 1);
}

TEST(NumericColumns, RowsAtTheCount) {
    const kqtest::TableSpec live{"T", {{"v", 9, "%d"}}, {{"10"}, {"11"}, {"12"}}};
    const kqtest::TableSpec old{"T", {{"v", 9, "%d"}}, {{"0"}, {"1"}}};
    const auto v = kqtest::format_column(live, 0, {2, 1, 0}, {3, 2}, nullptr, &old);
    EXPECT_EQ(v.old_view, (Texts{"k", "1", "0"}));
    EXPECT_EQ(v.live_view, (Texts{"k", "12"}));
}

// The case in force of a row is the first case whose name, looked up in the
// trigger column's format, has the trigger's value as decimal text. Every
// row of v stores 1; the digits shown tell which case's specifier was used
// (no case in force: the first case's).
TEST(NumericColumns, CaseInForce) {
    const struct {
        const char* format;
        long row;
        const char* shown;
    } cases[] = {
        {"@MODE{[On]float(%.2f),[Off]float(%.1f)}", 1, "1.0"},
        {"@MODE{[On]float(%.2f),[Off]float(%.1f)}", 2, "1.00"},  // MODE 2: no case
        {"@MODE{[Twin]float(%.1f),[On]float(%.2f)}", 0, "1.0"},  // both name 1: first case
        {"@MODE{[On]float(%.1f),[Neg]float(%.2f)}", 3, "1.00"},
        {"@MODE{[Off]float(%.1f),[ On]float(%.2f)}", 0, "1.0"},  // " On" is no name there
        {"@B{[All]float(%.2f),[Low]float(%.1f)}", 0, "1.00"},    // a byte by its code
        {"@B{[All]float(%.2f),[Low]float(%.1f)}", 2, "1.0"},
        {"@U{[Zz]float(%.1f),[Big]float(%.2f)}", 0, "1.00"},  // unsigned, as decimal text
        {"@W{[Zz]float(%.1f),[On]float(%.2f)}", 0, "1.00"},   // "On" found in "OnOff(7)"
        {"@W{[Zz]float(%.1f),[On]float(%.2f)}", 1, "1.0"},
        {"@S{[Lead]float(%.1f),[Plus]float(%.2f),[Five]float(%.3f)}", 0, "1.000"},
        {"@S{[Lead]float(%.1f),[Plus]float(%.2f),[Five]float(%.3f)}", 1, "1.0"},  // "-0"
        {"@X{[Lo]float(%.1f),[Hi]float(%.2f)}", 0, "1.00"},                       // a text trigger
        {"@X{[Hi]float(%.2f),[Lo]float(%.1f)}", 1, "1.00"},
        // "UNIT=" from the case in force on; a row whose case names none
        // keeps the unit before it (none for the first row).
        {"@MODE{[Off]float(%.1f),[On]float(%.2f)UNIT=bar)}", 1, "1.0 bar"},
        {"@MODE{[Off]float(%.1f)UNIT=bar),[On]float(%.2f)}", 0, "1.00"},
        {"@MODE{[On]float(%g)UNIT=mbar", 0, "1 mbar"},
        {"@MODEOn{[Off]float(%g)UNIT=s),[On]float(%g)UNIT=ms)}", 0, "1 s"},
    };
    for (const auto& c : cases) {
        const kqtest::TableSpec spec{"T",
                                     {{"MODE", 9, "Off(0),On(1),Twin(1),Neg(-5)"},
                                      {"B", 1, "Low(0),All(255)"},
                                      {"U", 8, "Big(4294967295)"},
                                      {"W", 9, "OnOff(7),On(1)"},
                                      {"S", 9, "Lead(05),Plus(+5),Five(5)"},
                                      {"MODEOn", 9, "Off(0),On(1)"},
                                      {"X", 15, "Lo(lo),Hi(hi)"},
                                      {"v", 13, c.format}},
                                     {{"1", "\xFF", "-1", "7", "5", "1", "hi", "1"},
                                      {"0", "A", "0", "1", "-0", "0", "x", "1"},
                                      {"2", "", "", "", "", "", "", "1"},
                                      {"-5", "", "", "", "", "", "", "1"}}};
        const auto v = kqtest::format_column(spec, 7, {}, {static_cast<int>(c.row)});
        EXPECT_EQ(v.live_view, Texts{c.shown}) << c.format << " row " << c.row;
    }
    const std::string nul("@MODE{[On]float(%g)UNIT=bar\0x)}", 31);
    const auto v = kqtest::format_column(
        {"T", {{"MODE", 9, "On(1)"}, {"v", 13, nul}}, {{"1", "1"}}}, 1, {}, {0});
    EXPECT_EQ(v.live_view, Texts{"1 bar"});  // the unit name ends at a zero byte
}

// Many cases, each name found by its first occurrence as plain text: K3's
// value is read from "zK3(7)" (so MODE 7 is K3's, MODE 3 nobody's) and K5's
// specifier is looked for from the "K5" inside K4's text.
TEST(NumericColumns, ManyCasesTakeFirstOccurrences) {
    std::string trigger = "zK3(7)", format = "@MODE{";
    const char* const specifiers[] = {"%.0f", "%.1f", "%.2f", "%.3f", "K5 float(%.4f)", "%.1f",
                                      "%.2f", "%.3f", "%.0f", "%.1f", "%.2f",           "%.3f"};
    kqtest::TableSpec spec{"T", {}, {}};
    for (int k = 0; k < 12; ++k) {
        const std::string name = "K" + std::to_string(k);
        trigger += "," + name + "(" + std::to_string(k) + ")";
        format +=
            (k ? ",[" : "[") + name + "]" +
            (k == 4 ? std::string(specifiers[k]) : "float(" + std::string(specifiers[k]) + ")");
        spec.rows.push_back({std::to_string(k), "1"});
    }
    spec.columns = {{"MODE", 9, trigger}, {"v", 13, format + "}"}};
    const auto v = kqtest::format_column(spec, 1, {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    EXPECT_EQ(v.live_view, (Texts{"1", "1.0", "1.00", "1", "1.0000", "1.0000", "1.00", "1.000", "1",
                                  "1.0", "1.00", "1.000"}));
}

// Old rows take their case from the live table; the specifier and unit of
// the row before run on into rows whose case has none, from the old cells
// into the new ones, also a "%76g" decoded for that row's value (1.2345672
// needs more than seven digits to read back, 1.234567 does not).
TEST(NumericColumns, RowStateRunsOn) {
    const std::vector<ColumnDef> columns{
        {"MODE", 9, "Off(0),On(1)"},
        {"v", 12, "@MODE{[On]float(%.2f)UNIT=degF),[Off]float(%.1f)}", "degC"},
        {"w", 12, "@MODE{[On]float(%.2f),[Off]none}"},
        {"x", 12, "@MODE{[On]float(%76g),[Off]none}"}};
    const kqtest::TableSpec live{"T",
                                 columns,
                                 {{"0", "100", "1", "1.2345672"},
                                  {"1", "100", "1", "1.234567"},
                                  {"1", "0", "0", "1.2345672"}}};
    const kqtest::TableSpec old{"T", columns, {{"1", "0"}, {"0", "10"}}};
    const auto v = kqtest::format_column(live, 1, {0}, {0, 1, 0}, nullptr, &old);
    EXPECT_EQ(v.old_view, Texts{"0.0"});
    EXPECT_EQ(v.live_view, (Texts{"100.0", "212.00 " + kDegF, "212.0 " + kDegF}));
    EXPECT_EQ(kqtest::format_column(live, 1, {1}, {0}, nullptr, &old).old_view,
              Texts{"50.00 " + kDegF});
    EXPECT_EQ(kqtest::format_column(live, 2, {}, {0, 1, 0}).live_view, (Texts{"", "1.00", "1.00"}));
    EXPECT_EQ(kqtest::format_column(live, 3, {}, {1, 0, 2}).live_view,
              (Texts{"1.234567", "1.234567", "1.23457"}));
}

// A case may name TABLE.column to borrow its format: found at the first "."
// with the table name back to the "]" before it and the column name on to
// the "}". Eight borrowings are followed, a ninth is not.
TEST(NumericColumns, BorrowedSpecifiers) {
    kqtest::World world;
    world.add(
        {"REM", {{"p", 13, "%.4f"}, {"a b", 13, "float(%.1e)"}, {"count", 9, "int(%3d)"}}, {}});
    world.add({"", {{"p", 13, "%g"}}, {}});
    const ValueCase cases[] = {
        {{"v", 13, "@m{[x]y]REM.p}"}, "2.5", "2.5000"},
        {{"v", 13, "@m{[x]REM.a b"}, "2.5", "2.5e+00"},
        {{"v", 13, "@m{[x].p}"}, "2.5", "2.5"},
        {{"v", 13, "@m{[x]REM.#2}"}, "2.5", ""},
    };
    for (const auto& c : cases) check(c, world.master());
    const kqtest::TableSpec local{
        "T",
        {{"MODE", 9, "Off(0),On(1)"}, {"v", 9, "@MODE{[Off]int(%d),[On]REM.count}"}},
        {{"1", "7"}}};
    EXPECT_EQ(kqtest::format_column(local, 1, {}, {0}, world.master()).live_view, Texts{"  7"});
    kqtest::LogCapture log;
    check({{"v", 13, "@m{[x]NOPE.p}"}, "2.5", ""}, world.master());
    EXPECT_EQ(log.lines().at(0), "debug: Cannot get class pointer for table named: NOPE");
    // No "]" before the ".": the borrowed format is empty, which raises.
    EXPECT_THROW(kqtest::shown({"v", 13, "@REM.p{[a]}"}, "1", world.master()), std::out_of_range);

    for (int links : {8, 9, -1}) {  // -1: a table that refers to itself
        kqtest::World chain;
        for (int i = 0; i < std::max(links, 1); ++i) {
            const std::string next = links < 0 ? "C0" : "C" + std::to_string(i + 1);
            chain.add({"C" + std::to_string(i), {{"f", 12, "@x{[a]" + next + ".f}"}}, {}});
        }
        if (links > 0) chain.add({"C" + std::to_string(links), {{"f", 12, "%.4f"}}, {}});
        const std::string first = links < 0 ? "C0" : "C1";
        check({{"v", 12, "@x{[a]" + first + ".f}"}, "2.5", links == 8 ? "2.5000" : ""},
              chain.master());
    }
}

// The formatter keeps the decoders of "%76g" and "%86g" as operations of
// their own (the columns decode through the same rule, see the values
// above); they leave every other specifier alone.
TEST(NumericColumns, PseudoSpecifierOperations) {
    const struct {
        bool eight;
        float value;
        const char *specifier, *decoded;
    } cases[] = {
        {false, 1.2345672f, "%76g", "%g"},
        {true, 100.0f, "%86g", "%.8g"},
        {false, 100.0f, "%86g", "%86g"},
        {true, 0.1f, "%76g", "%76g"},
    };
    for (const auto& c : cases) {
        std::string specifier = c.specifier;
        c.eight ? kq::Formatter().DecodeForFloat86(c.value, specifier)
                : kq::Formatter().DecodeForFloat76(c.value, specifier);
        EXPECT_EQ(specifier, c.decoded) << c.specifier << " " << c.value;
    }
}
