// The case in force of a trigger dependency, and the format a remote
// reference borrows.
#include <gtest/gtest.h>

#include <string>

#include "core/formatter.h"
#include "kq_test_tables.h"

TEST(TriggerColumn, CaseInForce) {
    // A signed, a byte and an unsigned trigger (the last read as text), and
    // one whose format holds a case name inside a longer name first.
    const kqtest::TableSpec desc{
        "T",
        {{"MODE", 9, "Off(0),On(1),Twin(1),Neg(-5)"},
         {"B", 1, "Low(0),All(255)"},
         {"U", 8, "Big(4294967295)"},
         {"W", 9, "OnOff(7),On(1)"},
         {"S", 9, "Lead(05),Plus(+5),Five(5)"}},
        {{"1", "\xFF", "-1", "7", "5"}, {"0", "A", "0", "1", "-0"}, {"2"}, {"-5"}}};
    auto live = kqtest::make_live(desc);
    auto snapshot = kqtest::make_snapshot(desc);
    const struct {
        const char* format;
        long row;
        const char* expected;  // "entry" when left untouched
    } cases[] = {
        {"@MODE{[Off]a,[On]b}", 0, "On"},
        {"@MODE{[Off]a,[On]b}", 1, "Off"},
        {"@MODE{[Off]a,[On]b}", 2, ""},
        {"@MODE{[Twin]a,[On]b}", 0, "Twin"},
        {"@MODE{[On]a,[Neg]b}", 3, "Neg"},
        {"@MODE{[Gone]a,[On]b}", 0, "On"},
        {"@MODE{[ On]a}", 0, ""},
        {"@MODE{abc}", 0, "entry"},
        {"@MODE[On]", 0, "entry"},
        {"@MODE{[On", 0, ""},
        {"@B{[Low]a,[All]b}", 0, "All"},
        {"@B{[Low]a,[All]b}", 1, ""},
        {"@U{[Big]a}", 0, "Big"},
        {"@W{[On]a}", 0, "On"},
        {"@W{[On]a}", 1, ""},
        {"@NOPE{[On]a}", 0, ""},
        // Values compare as the trigger's decimal text: other spellings of
        // the same number do not match.
        {"@S{[Lead]a,[Plus]b,[Five]c}", 0, "Five"},
        {"@S{[Lead]a,[Plus]b}", 0, ""},
        {"@S{[Lead]a,[Plus]b}", 1, ""},
    };
    kq::Formatter fmt;
    for (const auto& c : cases) {
        std::string fromLive = "entry", fromSnapshot = "entry";
        fmt.getTriggerColVal(live.get(), c.format, c.row, fromLive);
        fmt.getTriggerColVal(live.get(), snapshot.get(), c.format, c.row, fromSnapshot);
        EXPECT_EQ(fromLive, c.expected) << c.format << " row " << c.row;
        EXPECT_EQ(fromSnapshot, c.expected) << c.format << " row " << c.row;
    }
}

TEST(RemoteFormat, ReferenceParts) {
    kqtest::World world;
    world.add({"REM", {{"p", 13, "%.4f"}, {"a b", 13, "%.1e"}}, {}});
    world.add({"", {{"p", 13, "%g"}}, {}});
    const struct {
        const char* format;
        int result;
        const char* remote;  // "entry" when left untouched
    } cases[] = {
        {"@m{[x]REM.p}", 1, "%.4f"},
        {"@m{[x]REM}", 1, "entry"},
        {"@REM.p{[x]}", 1, "entry"},
        {"@m{[x]y]REM.p}", 1, "%.4f"},
        {"@m{[x]REM.a b", 1, "%.1e"},
        {"@m{[x].p}", 1, "%g"},
        {"__remoterow__@m{[x]NOPE.#2}", 1, "%76g"},
        {"@m{[x]REM.#2}", 0, "entry"},
        {"@m{[x]REM.q}", 0, "entry"},
    };
    kq::Formatter fmt(world.master());
    kqtest::LogCapture log;
    for (const auto& c : cases) {
        std::string remote = "entry";
        EXPECT_EQ(fmt.getRemoteFormatSpecifier(c.format, remote), c.result) << c.format;
        EXPECT_EQ(remote, c.remote) << c.format;
    }
    EXPECT_TRUE(log.records().empty());
    std::string remote = "entry";
    EXPECT_EQ(fmt.getRemoteFormatSpecifier("@m{[x]NOPE.p}", remote), 0);
    EXPECT_EQ(log.lines(),
              std::vector<std::string>{"debug: Cannot get class pointer for table named: NOPE"});
}
