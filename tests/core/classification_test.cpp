// Which kind of format a format string is.
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/formatter.h"
#include "kq_test_tables.h"

namespace {

struct Case {
    const char* format;
    int expected;
};

kq::Formatter fmt;

}  // namespace

TEST(Classification, IntFormats) {
    const Case cases[] = {
        {"%d", 1},          {"%5ld", 1},    {"%lu", 1}, {"x=%d", 0}, {"%x", 0},
        {"%.1f deg", 1},                     // first "d" has the leading "%" before it
        {"abc int(%x)", 1}, {"%u of d", 1},  // the first "d" counts, even in literal text
        {"x%u d", 0},       {"%5u", 1},     {"%%d", 0}, {"", 0},     {"d%", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(fmt.check_if_int(c.format), c.expected) << c.format;
}

TEST(Classification, FloatFormats) {
    const Case cases[] = {
        {"%g", 1},         {"%.3f", 1},  {"%8.2f", 1},    {"%d of N", 1},  // the "f" of "of"
        {"x float(%d", 1}, {"a%.2f", 0}, {"%.2f deg", 1},  // the "g" of "deg" decides
        {"%.2f kg", 1},    {"", 0},      {"%e", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(fmt.check_if_float(c.format), c.expected) << c.format;
}

TEST(Classification, StringAndUnitAndTriggerFormats) {
    EXPECT_EQ(fmt.check_if_string_format("%s"), 1);
    EXPECT_EQ(fmt.check_if_string_format("name %s__NO_SPECIAL_CHAR__"), 1);
    EXPECT_EQ(fmt.check_if_string_format("%S"), 0);
    EXPECT_EQ(fmt.check_if_units_in_trigger_dependency_column("@M{[a]UNIT=mm)}"), 1);
    EXPECT_EQ(fmt.check_if_units_in_trigger_dependency_column("UNIT"), 0);
    EXPECT_EQ(fmt.check_trigger_dependency("@M{[a]x}"), 1);
    EXPECT_EQ(fmt.check_trigger_dependency("M@"), 0);
    EXPECT_THROW(fmt.check_trigger_dependency(""), std::out_of_range);
}

TEST(Classification, StaticPickLists) {
    const Case cases[] = {
        {"Off(0),On(1)", 1},           {"(__FILTER__usage=x)", 0},         {"(a=b)%s", 0},
        {"no parenthesis", 0},         {"A(1),(__FILTER__)", 1},           {"x(y__FILTER__)", 1},
        {"T.c(__FILTER__usage=1)", 0}, {"A(0),T.c(__FILTER__usage=1)", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fmt.check_if_static_picklist(c.format), c.expected) << c.format;
}

TEST(Classification, RemotePickLists) {
    kqtest::LogCapture log;
    const Case cases[] = {
        {"TABLE=A.b", 1}, {"A.b", 1},          {"%.2f", 0}, {"%.2f x=A.b", 1}, {"x.y=z", 1},
        {"abc", 0},       {"@c{[v]T.col}", 1}, {"%d.", 0},  {"=.", 1},         {".=", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fmt.check_if_remote_picklist(c.format), c.expected) << c.format;
    // Only the numeric formats that were refused are logged.
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{
                  "debug: %.2f us_format string does not hold a remote pick list string",
                  "debug: %d. us_format string does not hold a remote pick list string"}));
    EXPECT_EQ(log.records()[0].severity, 3);
    EXPECT_EQ(log.records()[0].file, "kq_format_data");
    // Without debug lines the refusal is silent.
    kqtest::LogCapture quiet(false);
    EXPECT_EQ(fmt.check_if_remote_picklist("%.2f"), 0);
    EXPECT_TRUE(quiet.records().empty());
}

TEST(Classification, StaticPickListString) {
    const std::pair<const char*, const char*> cases[] = {
        {"Off(0),On(1)\\__no_free_edit__", "Off(0),On(1)"},
        {"__no_free_edit__Off(0)", "__no_free_edit__Off(0)"},
        {"Off(0),On(1)", "Off(0),On(1)"},
        {"A(1)__no_free_edit__x__no_free_edit__", "A(1"},
    };
    for (const auto& c : cases) {
        std::string out = "old";
        fmt.extractStaticPickListString(c.first, out);
        EXPECT_EQ(out, c.second) << c.first;
    }
}
