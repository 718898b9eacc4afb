// kqfmt explain: the library's own trace of one format on a scratch table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tool_runner.h"

namespace {

using kqtool::run_kqfmt;
using Json = nlohmann::json;
using Strings = std::vector<std::string>;

// Runs "kqfmt explain FORMAT --type TYPE [extra] --json" and parses it.
Json explain(const std::string& format, int type = 15, const Strings& extra = {}, int status = 0) {
    Strings args = {"explain", "--type", std::to_string(type), "--json", "--", format};
    args.insert(args.begin() + 4, extra.begin(), extra.end());
    const kqtool::ToolResult result = run_kqfmt(args);
    EXPECT_EQ(result.status, status) << format << ": " << result.err;
    Json parsed = Json::parse(result.out, nullptr, false);
    EXPECT_FALSE(parsed.is_discarded()) << result.out;
    return parsed;
}

// The texts noted under `topic`, in order.
Strings read(const Json& doc, const std::string& topic) {
    Strings texts;
    for (const Json& n : doc.at("read"))
        if (n.at("topic") == topic) texts.push_back(n.at("text"));
    return texts;
}

TEST(KqfmtExplain, RoutesAndNamesTheDecidingTest) {
    struct Case {
        const char* format;
        int type;
        bool date_time;
        const char* formatter;
        const char* last_test;
        const char* shows;  // row 0 of the sample
    };
    const Case cases[] = {
        {"%d of N", 9, false, "integer", "check_if_int", "-42 of N"},
        {"%.2f", 9, false, "float", "check_if_float", "-42.00"},
        {"%.2f", 9, true, "date/time", "check_if_date_time", "2001-09-09 01:46:40"},
        {"%5ld", 9, true, "integer", "check_if_int", "1000000000"},
        {"__DATE_TIME__(hh:mm)", 9, false, "date/time", "check_if_date_time", "01:02"},
        {"Off(0)", 13, false, "float", "numeric type", ""},
        {"%.3f", 12, false, "float", "numeric type", "1234.568"},
        {"int(%x)", 9, false, "integer", "check_if_int", "ffffffd6"},
        {"Off(0),On(1)", 9, false, "static pick list", "check_if_static_picklist", ""},
        {"A.b", 15, false, "remote pick list", "check_if_remote_picklist", ""},
        {"(__FILTER__ usage=x)", 15, false, "none", "check_if_string_format", ""},
        {"(a=b)%s", 15, false, "plain value", "checkSystemVar", "1"},
        {"", 15, false, "error", "check_trigger_dependency", ""},
    };
    for (const Case& c : cases) {
        const bool raises = std::string(c.formatter) == "error";
        const Json doc = explain(c.format, c.type, c.date_time ? Strings{"--date-time"} : Strings{},
                                 raises ? 3 : 0);
        EXPECT_EQ(doc.at("formatter"), c.formatter) << c.format << " type " << c.type;
        EXPECT_EQ(doc.at("tests").back().at("test"), c.last_test) << c.format;
        EXPECT_EQ(doc.at("sample")[0].at("shows"), c.shows) << c.format;
    }
    EXPECT_EQ(explain("", 15, {}, 3)
                  .at("error")
                  .get<std::string>()
                  .rfind("the format string is empty; a column needs one (", 0),
              0u);
}

TEST(KqfmtExplain, ReasonsGiveThePositionsThatDecided) {
    const Json doc = explain("%d of N");
    const Json& remote = doc.at("tests")[3];
    EXPECT_EQ(remote.at("test"), "check_if_remote_picklist");
    EXPECT_EQ(
        remote.at("why"),
        "no \"=\"; a floating-point format (no \"g\"; first \"f\" at 4 (in \"of\"), last \"%\" at "
        "or before it at 0)");
    EXPECT_EQ(explain("x=%d", 9).at("tests")[1].at("why"),
              "first \"d\" at 3, last \"%\" at or before it at 2 (not the first character)");
    // The human form says the same, and shows the library's log lines.
    const kqtool::ToolResult text = run_kqfmt({"explain", "%d of N"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("first \"f\" at 4 (in \"of\")"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("does not hold a remote pick list string"), std::string::npos);
}

TEST(KqfmtExplain, WhatTheFormatterRead) {
    // Specifiers and units per trigger case, with the rows they serve.
    const Json t = explain("@MODE{[Off]float(%.1f)UNIT=degC),[On]float(%.3f)UNIT=K),[S]%76g}", 12);
    EXPECT_EQ(read(t, "specifier"), (Strings{"case [Off]: \"%.1f\"", "case [On]: \"%.3f\"",
                                             "case [S]: none (the previous row's specifier stays)",
                                             "no case in force: \"%.1f\""}));
    EXPECT_EQ(t.at("sample")[1].at("shows"), "1234.568 K");
    // Pick lists: the pairs read, merged over a trigger dependency's cases.
    EXPECT_EQ(read(explain("@M{[a]A(0),B(1),[b]C(2)}"), "pair"), (Strings{"0 -> A", "2 -> C"}));
    // Remote references in the scanner's order; a row template per row.
    EXPECT_EQ(read(explain("a=T.x,b=U.y,c=V.z"), "remote reference"),
              (Strings{"T.x", "U.y", "V.z"}));
    EXPECT_EQ(read(explain("name=VALVES[__ROW_NUM__].label,__no_free_edit__"), "remote reference"),
              (Strings{"VALVES1.label", "VALVES2.label"}));
}

// explain DB TABLE COLUMN: the trace of a real column, its first rows in
// both views and its lint findings.
TEST(KqfmtExplain, AColumnOfARealConfiguration) {
    const std::string db = kqtool::fixture("lint_faults.sql");
    struct Case {
        const char* column;
        const char* topic;  // a fact read, with the text it noted first
        const char* text;
        Strings shows;  // the live view's first rows
        const char* rule;
    };
    const Case cases[] = {
        // The library read the trigger value of each row and chose its case.
        {"trigger_case",
         "trigger value",
         "0: no case in force",
         {"1.5", "2.50", "3.50"},
         "trigger-case-unknown"},
        // The remote table it read; its label column was not.
        {"label_unused", "remote reference", "LINES.no", {"1", "2", "1"}, "label-column-unused"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        const kqtool::ToolResult result = run_kqfmt({"explain", db, "PLANTED", c.column, "--json"});
        ASSERT_EQ(result.status, 0) << result.err;
        const Json doc = Json::parse(result.out);
        EXPECT_EQ(read(doc, c.topic).at(0), c.text);
        Strings shows, old;
        for (const Json& r : doc.at("rows")) {
            shows.push_back(r.at("new"));
            old.push_back(r.at("old"));
        }
        EXPECT_EQ(shows, c.shows);
        EXPECT_EQ(old, c.shows) << "both views come from the one database";
        ASSERT_EQ(doc.at("findings").size(), 1u);
        EXPECT_EQ(doc.at("findings")[0].at("rule"), c.rule);
    }
    // Bad input names what is missing; explain FORMAT takes no database.
    for (const Strings& args :
         {Strings{"explain", db, "PLANTED", "nosuch"}, Strings{"explain", db, "NOSUCH", "x"},
          Strings{"explain", db, "PLANTED"},
          Strings{"explain", db, "PLANTED", "time_flag", "--type", "9"}}) {
        const kqtool::ToolResult bad = run_kqfmt(args);
        EXPECT_EQ(bad.status, 2) << args.back();
        EXPECT_EQ(bad.out, "");
    }
    EXPECT_NE(run_kqfmt({"explain", db, "PLANTED", "nosuch"}).err.find("no column 'nosuch'"),
              std::string::npos);
}

}  // namespace
