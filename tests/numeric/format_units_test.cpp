// The display unit a trigger-dependency format names for a row: "UNIT=name)"
// searched from the first occurrence of the case in force. When none is
// found the caller's unit and text stay as they were. The name is handed on
// as a C string: it ends at a zero byte.
#include <gtest/gtest.h>

#include "core/formatter.h"
#include "kq_host_units.h"
#include "kq_test_tables.h"

TEST(FormatUnits, UnitOfTheCaseInForce) {
    // MODE holds 0 (case Off) in row 0, 1 (case On) in row 1, 7 (no case) in row 2.
    const struct {
        std::string format;
        int row;
        const char* unitText;  // "previous": unit and text keep their previous values
        UNIT_ENUM unit;
    } cases[] = {
        {"@MODE{[Off]%.1fUNIT=degC),[On]%.2fUNIT=degF)}", 0, "degC", UNIT_ENUM(10)},
        {"@MODE{[Off]%.1fUNIT=degC),[On]%.2fUNIT=degF)}", 1, "degF", UNIT_ENUM(11)},
        // No case in force: the first "UNIT=" of the whole string.
        {"@MODE{[Off]%.1fUNIT=degC),[On]%.2fUNIT=degF)}", 2, "degC", UNIT_ENUM(10)},
        // The case in force names none; a later case's unit is found.
        {"@MODE{[Off]%.1f,[On]%.2fUNIT=bar)}", 0, "bar", UNIT_ENUM(20)},
        // The only "UNIT=" stands before the case in force: nothing changes.
        {"@MODE{[Off]%.1fUNIT=bar),[On]%.2f}", 1, "previous", UNIT_ENUM(0)},
        // No ")" after "UNIT=": the name runs to the end; an unknown name is
        // no unit.
        {"@MODE{[On]UNIT=mbar", 1, "mbar", UNIT_ENUM(21)},
        {"@MODE{[On]%gUNIT=", 1, "", UNIT_NONE},
        {"@MODE{[On]%gUNIT= K)", 1, " K", UNIT_NONE},
        // The case name also stands earlier, inside the trigger name
        // "MODEOn": the search starts there and finds the first unit.
        {"@MODEOn{[Off]UNIT=s),[On]UNIT=ms)}", 1, "s", UNIT_ENUM(18)},
        {std::string("@MODE{[On]UNIT=bar\0x)}", 22), 1, "bar", UNIT_ENUM(20)},
    };
    const kqtest::TableSpec spec{"T",
                                 {{"MODE", 9, "Off(0),On(1)"}, {"MODEOn", 9, "Off(0),On(1)"}},
                                 {{"0", "0"}, {"1", "1"}, {"7", "7"}}};
    auto live = kqtest::make_live(spec);
    kq::Formatter fmt;
    for (const auto& c : cases) {
        UNIT_ENUM unit = UNIT_ENUM(0);
        std::string text = "previous", work = "junk";
        fmt.getUsUnitFromtFormatString(c.format, live.get(), c.row, &unit, text, work);
        EXPECT_EQ(text, c.unitText) << c.format << " row " << c.row;
        EXPECT_EQ(unit, c.unit) << c.format << " row " << c.row;
    }
}
