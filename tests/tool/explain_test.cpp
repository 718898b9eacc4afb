// kqfmt explain: which formatter a format reaches and what it reads from it.
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
Json explain(const std::string& format, int type = 15, const Strings& extra = {}) {
    Strings args = {"explain", "--type", std::to_string(type), "--json", "--", format};
    args.insert(args.begin() + 4, extra.begin(), extra.end());
    const kqtool::ToolResult result = run_kqfmt(args);
    EXPECT_EQ(result.status, 0) << result.err;
    Json parsed = Json::parse(result.out, nullptr, false);
    EXPECT_FALSE(parsed.is_discarded()) << result.out;
    return parsed;
}

const Json& test_named(const Json& list, const std::string& name) {
    for (const Json& t : list)
        if (t.at("test") == name) return t;
    static const Json none = Json::object();
    ADD_FAILURE() << "no test " << name;
    return none;
}

TEST(KqfmtExplain, RoutesLikeTheFormatterAndNamesTheDecidingTest) {
    struct Case {
        const char* format;
        int type;
        bool date_time;
        const char* formatter;
        const char* last_test;  // the test that decided (empty: none asked by name)
    };
    const Case cases[] = {
        {"%d of N", 9, false, "integer", "check_if_int"},
        {"%.2f", 9, false, "float", "check_if_float"},
        {"%.2f", 9, true, "date_time", "check_if_date_time"},
        {"%5ld", 9, true, "integer", "check_if_int"},
        {"Off(0)", 13, false, "float", "numeric type"},
        {"Off(0),On(1)", 9, false, "static_pick_list", "check_if_static_picklist"},
        {"@M{[a]x}", 15, false, "trigger_dependency", "check_trigger_dependency"},
        {"A.b", 15, false, "remote_pick_list", "check_if_remote_picklist"},
        {"(__FILTER__ usage=x)", 15, false, "none", "check_if_string_format"},
        {"x=%d", 9, false, "none", "check_if_string_format"},
        {"(a=b)%s", 15, false, "string", "check_if_string_format"},
        {"", 15, false, "error", "check_trigger_dependency"},
    };
    for (const Case& c : cases) {
        const Json doc =
            explain(c.format, c.type, c.date_time ? Strings{"--date-time"} : Strings{});
        EXPECT_EQ(doc.at("formatter"), c.formatter) << c.format << " type " << c.type;
        EXPECT_EQ(doc.at("tests").back().at("test"), c.last_test) << c.format;
    }
    // The empty format: the formatter's first-character test raises.
    EXPECT_NE(explain("").at("error").get<std::string>().find("out_of_range"), std::string::npos);
}

TEST(KqfmtExplain, ReasonsGiveThePositionsThatDecided) {
    const Json doc = explain("%d of N");
    EXPECT_EQ(doc.at("formatter"), "none");
    const Json& remote = test_named(doc.at("tests"), "check_if_remote_picklist");
    EXPECT_FALSE(remote.at("holds").get<bool>());
    EXPECT_NE(remote.at("why").get<std::string>().find(
                  "first \"f\" at 4 (in \"of\"), last \"%\" at or before it at 0"),
              std::string::npos)
        << remote;
    const Json late_percent = explain("x=%d", 9);
    EXPECT_EQ(test_named(late_percent.at("tests"), "check_if_int").at("why"),
              "first \"d\" at 3, last \"%\" at or before it at 2 "
              "(not the first character)");

    // The human form says the same.
    const kqtool::ToolResult text = run_kqfmt({"explain", "%d of N"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("first \"f\" at 4 (in \"of\")"), std::string::npos) << text.out;
}

TEST(KqfmtExplain, ResolvesTheSpecifierAndPrintsASample) {
    struct Case {
        const char* format;
        int type;
        const char* specifier;
        const char* sample;  // text of the sample value (1234.5678, or -42 for type 9)
    };
    const Case cases[] = {
        {"float(%.2f)|1", 12, "%.2f", "1234.57"},
        {"%.3f__VAL_DEPENDENT__x", 13, "%.3f", "1234.568"},
        {"%g__DEBUG_WRITABLE__", 13, "%g", "1234.57"},
        {"%d__DEBUG_WRITABLE__", 9, "%d__DEBUG_WRITABLE__", "-42__DEBUG_WRITABLE__"},
        {"int(%x)", 9, "%x", "ffffffd6"},
        {"%.1f deg", 13, "%.1f deg", "1234.6 deg"},
        {"%76g", 13, "%76g", ""},  // not decoded for doubles: a field 76 wide
    };
    for (const Case& c : cases) {
        const Json s = explain(c.format, c.type).at("specifier");
        EXPECT_EQ(s.at("text"), c.specifier) << c.format;
        if (*c.sample) {
            EXPECT_EQ(s.at("sample").at("text"), c.sample) << c.format;
        }
    }
    EXPECT_EQ(explain("%76g", 13).at("specifier").at("sample").at("text").get<std::string>().size(),
              76u);
    // No specifier at all; a specifier that cannot print safely.
    EXPECT_TRUE(explain("float(%.2f", 12).at("specifier").at("text").is_null());
    EXPECT_FALSE(explain("float(%n)", 13).at("specifier").at("usable").get<bool>());

    const Json decoded = explain("%76g", 12).at("specifier").at("decoded");
    ASSERT_EQ(decoded.size(), 3u);
    EXPECT_EQ(decoded[0].at("specifier"), "%.7g");  // 0.1
    EXPECT_EQ(decoded[0].at("text"), "0.1");
    EXPECT_EQ(decoded[1].at("specifier"), "%g");  // 1/3
    EXPECT_EQ(explain("%86g", 12).at("specifier").at("decoded")[2].at("specifier"), "%.8g");
}

TEST(KqfmtExplain, TriggerFormatsResolvePerCaseWithTheirUnits) {
    const Json t = explain("@MODE{[Off]float(%.1f)UNIT=degC),[On]float(%.3f)UNIT=K),[S]%76g}", 12)
                       .at("trigger");
    EXPECT_EQ(t.at("column"), "MODE");
    const Json& cases = t.at("cases");
    ASSERT_EQ(cases.size(), 3u);
    EXPECT_EQ(cases[0].at("specifier").at("text"), "%.1f");
    EXPECT_EQ(cases[0].at("unit").at("suffix"),
              " \xC2\xB0"
              "C");
    EXPECT_EQ(cases[1].at("specifier").at("text"), "%.3f");
    EXPECT_EQ(cases[1].at("unit").at("suffix"), " K");
    // [S] has no keyword of its own after its name: the search for "float"
    // from "S" finds none, and the bare "%76g" is not at position 0.
    EXPECT_TRUE(cases[2].at("specifier").at("text").is_null());
    EXPECT_TRUE(cases[2].at("unit").is_null());
    // No case in force: the first keyword form and the first unit.
    EXPECT_EQ(t.at("no_case").at("specifier").at("text"), "%.1f");
    EXPECT_EQ(t.at("no_case").at("unit").at("name"), "degC");

    // A case naming another table's column; the row shortcut; a reference
    // with no "]" before its "." borrows an empty format, which raises.
    const Json borrow = explain("@MODE{[Off]float(%g),[On]LIMITS.low}", 12).at("trigger");
    EXPECT_EQ(borrow.at("cases")[1].at("borrows_from_table"), "LIMITS");
    EXPECT_EQ(explain("@M{[a]T.#x}__remoterow__", 12)
                  .at("trigger")
                  .at("cases")[0]
                  .at("specifier")
                  .at("text"),
              "%76g");
    EXPECT_TRUE(explain("@M.x{[a]y}", 12).at("trigger").at("cases")[0].contains("error"));
}

TEST(KqfmtExplain, DateTimeFormats) {
    struct Case {
        const char* format;
        bool flagged;
        const char* renders;
        const char* text;
    };
    const Case cases[] = {
        {"__DATE_TIME__(hh:mm)", false, "GetTime", "01:02"},  // 3725 s
        {"__DATE_TIME__", false, "GetTime", "01:02:05"},
        {"(mm)__DATE_TIME__(ss)", false, "GetTime", "3725"},
        {"__DATE_TIME__(hh:mm)", true, "GetDateTime", "2001-09-09 01:46:40"},
    };
    for (const Case& c : cases) {
        const Json t =
            explain(c.format, 9, c.flagged ? Strings{"--date-time"} : Strings{}).at("time");
        EXPECT_EQ(t.at("renders"), c.renders) << c.format;
        EXPECT_EQ(t.at("sample").at("text"), c.text) << c.format;
    }
}

// The pairs of a pick list, "value=name;" for each, in the map's order.
std::string pairs(const Json& doc) {
    std::string text;
    for (const Json& p : doc.at("pick_list").at("pairs"))
        text += p.at("value").get<std::string>() + "=" + p.at("name").get<std::string>() + ";";
    return text;
}

TEST(KqfmtExplain, PickListPairs) {
    struct Case {
        const char* format;
        const char* pairs;
    };
    const Case cases[] = {
        {"Off(0),On(1)", "0=Off;1=On;"},
        {"A(1),B(1)", "1=A;"},
        {"A(0);B(1)|C(2)", "0=A;1=B;2=C;"},
        {"A(0),,B(1)", "0=A;1=,B;"},
        {"Off(0),On(1)\\__no_free_edit__", "0=Off;1=On;"},
        {"@M{[a]A(0),B(1),[b]C(2)}", "0=A;2=C;"},
        {"@MODE{[Off]Low(0);High(1),[On]Low(0);Mid(1);High(2),[S]__CLEAR_READ_ONLY__}",
         "0=Low;1=High;2=High;"},
    };
    for (const Case& c : cases) EXPECT_EQ(pairs(explain(c.format)), c.pairs) << c.format;

    const Json marked =
        explain("Off(0),On(1)\\__no_free_edit__\\__ADD__=[ANALYSIS_CONFIG.__STORED_ROWS_X]");
    EXPECT_EQ(marked.at("pick_list").at("cleaned_format"), "Off(0),On(1)\\");
    EXPECT_EQ(marked.at("pick_list").at("text"), "Off(0),On(1)\\");
    EXPECT_EQ(explain("@MODE{[S]__CLEAR_READ_ONLY__,[T]A(1)}")
                  .at("pick_list")
                  .at("clear_read_only_cases"),
              1);
}

// The references of a document, "TABLE.COLUMN" or "TABLE.COLUMN@row".
Strings references(const Json& doc) {
    Strings list;
    for (const Json& r : doc.at("remote").at("references")) {
        std::string text =
            r.at("table").get<std::string>() + "." + r.at("column").get<std::string>();
        if (r.contains("row")) text += "@" + std::to_string(r.at("row").get<int>());
        list.push_back(text);
    }
    return list;
}

TEST(KqfmtExplain, RemoteReferencesAsTheScannerTakesThem) {
    struct Case {
        const char* format;
        Strings references;
    };
    const Case cases[] = {
        {"name=STREAMS.id,__no_free_edit__", {"STREAMS.id"}},
        {"name=STREAMS.id(__FILTER__usage=analyzr),__no_free_edit__", {"STREAMS.id"}},
        {"name=VALVES[__ROW_NUM__].label,__no_free_edit__", {"VALVES1.label@0", "VALVES2.label@1"}},
        {"Low(0),High(1),x=SETTINGS.level", {"SETTINGS.level"}},
        {"a=T.x,b=U.y,c=V.z", {"T.x", "U.y", "V.z"}},
        {"@M{[a]T.col}", {"T.col"}},
        {"usage=A.b", {}},  // a filter condition, never a reference
    };
    for (const Case& c : cases) {
        const Json doc = explain(c.format);
        ASSERT_TRUE(doc.contains("remote")) << c.format;
        EXPECT_EQ(references(doc), c.references) << c.format;
    }
    // A static list whose values all have names needs no remote names, but
    // the fallback is there for those that do not.
    EXPECT_EQ(explain("Low(0),x=S.level").at("pick_list").at("unnamed_values"),
              "looked up in the remote pick list the text names");
}

TEST(KqfmtExplain, UsageErrors) {
    const std::vector<Strings> bad = {
        {"explain"},
        {"explain", "a", "b"},
        {"explain", "%d", "--type", "x"},
        {"explain", "%d", "--rows", "0"},
        {"show", "db.sql", "--type", "9"},
        {"show", "db.sql", "--date-time"},
    };
    for (const Strings& args : bad) {
        const kqtool::ToolResult result = run_kqfmt(args);
        EXPECT_EQ(result.status, 2) << args.back();
        EXPECT_TRUE(result.out.empty()) << args.back();
        EXPECT_FALSE(result.err.empty()) << args.back();
    }
}

}  // namespace
