// kqfmt lint: every fault planted in lint_faults.sql is found on its column,
// the clean columns and the shipped example give nothing, and the exit
// status follows errors (and warnings with --strict).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tool_runner.h"

namespace {

using kqtool::run_kqfmt;
using Json = nlohmann::json;

Json lint_json(const std::vector<std::string>& tables, int expected_status) {
    std::vector<std::string> args = {"lint", kqtool::fixture("lint_faults.sql"), "--json"};
    args.insert(args.end(), tables.begin(), tables.end());
    const kqtool::ToolResult result = run_kqfmt(args);
    EXPECT_EQ(result.status, expected_status) << result.err;
    Json parsed = Json::parse(result.out, nullptr, false);
    EXPECT_TRUE(parsed.is_array()) << result.out;
    return parsed.is_array() ? parsed : Json::array();
}

TEST(KqfmtLint, FindsEachPlantedFaultOnItsColumn) {
    struct Case {
        const char* column;
        const char* severity;
        int row;           // -1: the column as a whole
        const char* what;  // a word of the message that names the fault
    };
    const Case cases[] = {
        {"no_formatter", "error", -1, "'abc'"},
        {"refused_specifier", "error", -1, "'%*g'"},
        {"no_specifier", "error", -1, "no specifier"},
        {"missing_table", "error", -1, "'NOSUCH'"},
        {"missing_column", "error", -1, "'VALVES.nosuch'"},
        {"missing_label", "error", -1, "'UNLABELLED.nolabel'"},
        {"remote_row", "error", 2, "'GROUP3.number'"},
        {"empty_name", "warning", -1, "empty name"},
        {"empty_value", "warning", -1, "empty value"},
        {"duplicate_value", "warning", -1, "'On(0)'"},
        {"duplicate_name", "warning", -1, "Off (values 0 and 1)"},
        {"unnamed_value", "error", 1, "'7'"},
        {"unknown_unit", "error", -1, "'furlong'"},
        {"unconvertible", "error", -1, "Unit conversion failed"},
        {"units_unused", "warning", -1, "units are set"},
        {"time_flag", "warning", -1, "date/time"},
        {"system_variable", "error", 1, "'AI_99'"},
        {"no_format", "error", -1, "no format string"},
    };
    const Json findings = lint_json({"PLANTED"}, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        int matching = 0, on_column = 0;
        for (const Json& f : findings) {
            if (f.at("column") != c.column) continue;
            ++on_column;
            const Json row = c.row < 0 ? Json(nullptr) : Json(c.row);
            if (f.at("table") == "PLANTED" && f.at("severity") == c.severity &&
                f.at("row") == row &&
                f.at("message").get<std::string>().find(c.what) != std::string::npos)
                ++matching;
        }
        EXPECT_EQ(matching, 1) << findings.dump(1);
        EXPECT_EQ(on_column, 1) << "one fault planted, one finding";
    }
    EXPECT_EQ(findings.size(), std::size(cases));
}

TEST(KqfmtLint, CleanTablesAndExampleGiveNothing) {
    EXPECT_EQ(lint_json({"CLEAN", "VALVES", "GROUP1", "GROUP2"}, 0), Json::array());
    const kqtool::ToolResult example = run_kqfmt({"lint", kqtool::example("analyser.sql")});
    EXPECT_EQ(example.status, 0) << example.out;
    EXPECT_EQ(example.out, "0 errors, 0 warnings in 6 tables (29 columns checked)\n");
}

TEST(KqfmtLint, ExitStatusCountsErrorsAndStrictWarnings) {
    struct Case {
        std::vector<std::string> extra;
        int status;
        const char* first_line;
    };
    const std::string db = kqtool::fixture("lint_faults.sql");
    const Case cases[] = {
        {{"CLEAN", "--strict"}, 0, "0 errors, 0 warnings in 1 table (5 columns checked)"},
        {{"WARNED"}, 0, "WARNED.mode: warning: "},
        {{"WARNED", "--strict"}, 1, "WARNED.mode: warning: "},
        {{"PLANTED", "--columns", "x"}, 2, ""},
        {{"PLANTED"}, 1, "PLANTED.no_formatter: error: "},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"lint", db};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const kqtool::ToolResult result = run_kqfmt(args);
        EXPECT_EQ(result.status, c.status) << c.extra.back();
        EXPECT_EQ(result.out.substr(0, result.out.find('\n')).rfind(c.first_line, 0), 0u)
            << result.out;
    }
    // A row at fault is named in the line.
    EXPECT_NE(run_kqfmt({"lint", db, "PLANTED"}).out.find("\nPLANTED.remote_row: error: [row 2] "),
              std::string::npos);
}

}  // namespace
