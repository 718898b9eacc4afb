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
        const char* rule;
    };
    const Case cases[] = {
        {"no_formatter", "error", -1, "'abc'", "format-unrecognised"},
        {"refused_specifier", "error", -1, "'%*g'", "specifier-refused"},
        {"no_specifier", "error", -1, "no specifier", "specifier-missing"},
        {"missing_table", "error", -1, "'NOSUCH'", "remote-table-missing"},
        {"missing_column", "error", -1, "'VALVES.nosuch'", "remote-column-missing"},
        {"missing_label", "error", -1, "'UNLABELLED.nolabel'", "label-column-missing"},
        {"remote_row", "error", 2, "'GROUP3.number'", "remote-row-missing"},
        {"empty_name", "warning", -1, "empty name", "pick-list-empty-name"},
        {"empty_value", "warning", -1, "empty value", "pick-list-empty-value"},
        {"duplicate_value", "warning", -1, "'On(0)'", "pick-list-duplicate-value"},
        {"duplicate_name", "warning", -1, "Off (values 0 and 1)", "pick-list-duplicate-name"},
        {"unnamed_value", "error", 1, "'7'", "value-unnamed"},
        {"unknown_unit", "error", -1, "'furlong'", "unit-unknown"},
        {"unconvertible", "error", -1,
         "'degC' (temperature) cannot be converted to 'psi' (pressure)", "unit-quantity-mismatch"},
        {"units_unused", "warning", -1, "units are set", "units-ignored"},
        {"time_flag", "warning", -1, "a float column", "date-time-flag-ignored"},
        {"system_variable", "error", 1, "'AI_99'", "system-variable-unknown"},
        {"no_format", "error", -1, "no format string", "format-empty"},
        // The quiet traps: the library formats them without a log line.
        {"trigger_missing", "error", -1, "'nosuch'", "trigger-column-missing"},
        {"trigger_case", "error", -1,
         "[Auto] is no name of the trigger column's pick list (mode_t: Off, On)",
         "trigger-case-unknown"},
        {"trigger_no_list", "error", -1, "plain_t (format \"%d\")", "trigger-without-pick-list"},
        {"case_remote", "error", -1, "'NOSUCH'", "remote-table-missing"},
        {"case_remote", "warning", 1, "(case [On])", "specifier-missing"},
        {"bare_reference", "error", -1, "'LINES.no'", "remote-reference-unread"},
        {"label_unused", "error", -1,
         "'title' of LINES.no is not read: LINES.no's own format \"%d\"", "label-column-unused"},
        {"label_own", "error", -1, "'title' of this column is not read", "label-column-unused"},
        {"selection_unused", "warning", -1, "'AI' is not read: an integer column",
         "component-selection-unused"},
        {"case_units", "error", 1,
         "case [On]: unit 'degC' (temperature) cannot be converted to "
         "'psi' (pressure)",
         "unit-quantity-mismatch"},
        {"time_units", "error", -1, "'bar' (pressure) cannot be converted to 's' (time)",
         "unit-quantity-mismatch"},
        {"time_flag_int", "warning", -1, "an integer column", "date-time-flag-ignored"},
        {"unprintable", "error", -1, "type 15, integer format", "type-unprintable"},
        {"unprintable_byte", "error", -1, "type 1", "type-unprintable"},
    };
    const Json findings = lint_json({"PLANTED"}, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        int matching = 0, on_column = 0, listed = 0;
        for (const Case& other : cases) listed += std::string(other.column) == c.column;
        for (const Json& f : findings) {
            if (f.at("column") != c.column) continue;
            ++on_column;
            const Json row = c.row < 0 ? Json(nullptr) : Json(c.row);
            if (f.at("table") == "PLANTED" && f.at("severity") == c.severity &&
                f.at("row") == row && f.at("rule") == c.rule &&
                f.at("message").get<std::string>().find(c.what) != std::string::npos)
                ++matching;
        }
        EXPECT_EQ(matching, 1) << findings.dump(1);
        EXPECT_EQ(on_column, listed) << "each planted fault gives its finding, nothing more";
    }
    // The clean trigger columns mode_t and plain_t give none.
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
        // Silenced by --ignore, then by kq_lint_ignore rows of IGNORED.
        {{"PLANTED", "--ignore", "format-unrecognised,specifier-refused"},
         1,
         "PLANTED.no_specifier: error: "},
        {{"WARNED", "--ignore", "no-such-rule"}, 2, ""},
        {{"IGNORED"}, 1, "IGNORED.kept: error: "},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"lint", db};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const kqtool::ToolResult result = run_kqfmt(args);
        EXPECT_EQ(result.status, c.status) << c.extra.back();
        EXPECT_EQ(result.out.substr(0, result.out.find('\n')).rfind(c.first_line, 0), 0u)
            << result.out;
    }
    // A row at fault is named in the line, the rule at its end.
    EXPECT_NE(run_kqfmt({"lint", db, "PLANTED"})
                  .out.find("\nPLANTED.remote_row: error: [row 2] remote reference 'GROUP3.number' "
                            "names no existing table or row [remote-row-missing]\n"),
              std::string::npos);
    // kq_lint_ignore leaves exactly the one finding no row of it accepts.
    EXPECT_EQ(run_kqfmt({"lint", db, "IGNORED"}).out.find('\n') + 1,
              run_kqfmt({"lint", db, "IGNORED"}).out.find("1 error, 0 warnings"));
}

}  // namespace
