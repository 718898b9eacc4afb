// Which specifier a numeric format gives for a row, and the references it
// follows into other tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/formatter.h"
#include "kq_test_tables.h"

namespace {

struct Case {
    const char* format;
    int result;
    const char* specifier;  // "prev" when left as it was
};

// Trigger column MODE holds 0 (Off), 1 (On) and 2 (no case) in rows 0 to 2.
const kqtest::TableSpec kModes{"T", {{"MODE", 9, "Off(0),On(1)"}}, {{"0"}, {"1"}, {"2"}}};

void check(bool integer, const Case& c, KWTABLE* table = nullptr, long row = 0,
           kq::Formatter fmt = kq::Formatter()) {
    std::string specifier = "prev";
    const int result = integer ? fmt.getFormatSpecifierForIntVal(c.format, table, row, specifier)
                               : fmt.getFormatSpecifierForFloatVal(c.format, table, row, specifier);
    EXPECT_EQ(result, c.result) << c.format << " row " << row;
    EXPECT_EQ(specifier, c.specifier) << c.format << " row " << row;
}

}  // namespace

TEST(SpecifierResolver, FloatForms) {
    const Case cases[] = {
        {"float(%.2f)", 1, "%.2f"},
        {"float(%.2f)|rest", 1, "%.2f"},  // ")" before the bar dropped
        {"float(%.2f__VAL_DEPENDENT__x)", 1, "%.2f"},
        {"float(%.2f)x__VAL_DEPENDENT__", 1, "%.2f)x"},    // marker before ")"
        {"float(%.1f)|x__VAL_DEPENDENT__", 1, "%.1f)|x"},  // marker before "|"
        {"float(%.2f", 0, "prev"},
        {"float %.2f", 0, "prev"},
        {"Nonfloating x (%.1e)", 1, "%.1e"},  // keyword inside a word
        {"%.3f__VAL_DEPENDENT__abc", 1, "%.3f"},
        {"%.3f)|abc", 1, "%.3f"},
        {"%8.3g__DEBUG_WRITABLE__", 1, "%8.3g"},
        {"%.2f kg", 1, "%.2f kg"},                                // g-form through "kg"
        {"%.2f__DEBUG_WRITABLE__", 1, "%.2f__DEBUG_WRITABLE__"},  // f-form: not cut
        {"%.2f x=%g", 0, "prev"},                                 // the first "g" decides
        {"x=%g", 0, "prev"},
    };
    for (const auto& c : cases) check(false, c);
}

TEST(SpecifierResolver, IntForms) {
    const Case cases[] = {
        {"int(%5ld)", 1, "%5ld"},
        {"int(%d)|x", 1, "%d"},
        {"int(%x)", 1, "%x"},
        {"interval (%2d) int(%5d)", 1, "%2d"},  // first "int" is in a word
        {"%5ld items", 1, "%5ld items"},
        {"%u used", 1, "%u used"},  // d-form through "used"
        {"%d__DEBUG_WRITABLE__", 1, "%d__DEBUG_WRITABLE__"},
        {"%x", 0, "prev"},
        {"%.2f", 0, "prev"},
    };
    for (const auto& c : cases) check(true, c);
}

TEST(SpecifierResolver, CaseInForceChoosesTheSpecifier) {
    auto table = kqtest::make_live(kModes);
    const char* floats[] = {"%.1f", "%.3f", "%.1f"};  // row 2: no case, first one
    const char* ints[] = {"%d", "%04d", "%d"};
    for (long row = 0; row < 3; ++row) {
        check(false, {"@MODE{[Off]float(%.1f),[On]float(%.3f)}", 1, floats[row]}, table.get(), row);
        check(true, {"@MODE{[Off]int(%d),[On]int(%04d)}", 1, ints[row]}, table.get(), row);
    }
}

TEST(SpecifierResolver, RemoteReferences) {
    kqtest::World world;
    KWTABLE* local = world.add(kModes);
    world.add({"REM", {{"pres", 13, "%.4f"}, {"count", 9, "int(%3d)"}}, {}});
    kq::Formatter fmt(world.master());
    check(false, {"@MODE{[Off]REM.pres}", 1, "%.4f"}, local, 0, fmt);
    check(false, {"@MODE{[Off]REM.nope}", 0, "prev"}, local, 0, fmt);
    check(false, {"@MODE{[Off]NOPE.#1}__remoterow__", 1, "%76g"}, local, 0, fmt);
    check(false, {"x{[Off]REM.pres}", 0, "prev"}, local, 0, fmt);  // no trigger dependency
    check(true, {"@MODE{[Off]REM.count}", 1, "%3d"}, local, 0, fmt);

    // No "]" before the ".": the reference yields the empty format.
    std::string specifier;
    EXPECT_THROW(fmt.getFormatSpecifierForFloatVal("@REM.pres{[a]}", local, 0, specifier),
                 std::out_of_range);
}

TEST(SpecifierResolver, ReferenceChainsAreBounded) {
    // C0.f refers to C1.f and so on; the last table holds "%.4f". Eight
    // borrowings are followed, a ninth is not; a self-reference ends too.
    for (int links : {8, 9, -1}) {
        kqtest::World world;
        for (int i = 0; i < std::max(links, 1); ++i) {
            const std::string next = links < 0 ? "C0" : "C" + std::to_string(i + 1);
            world.add({"C" + std::to_string(i), {{"f", 12, "@x{[a]" + next + ".f}"}}, {}});
        }
        if (links > 0) world.add({"C" + std::to_string(links), {{"f", 12, "%.4f"}}, {}});
        KWTABLE* start = world.master()->get_class_pointer("C0");
        check(false, {start->get_us_format(0).c_str(), links == 8, links == 8 ? "%.4f" : "prev"},
              start, 0, kq::Formatter(world.master()));
    }
}
