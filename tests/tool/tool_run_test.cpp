// kqfmt run on small configuration scripts: what it loads, what it asks the
// formatter for, and what it reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tool_runner.h"

namespace {

using kqtool::fixture;
using kqtool::run_kqfmt;
using Json = nlohmann::json;
using Strings = std::vector<std::string>;

// Runs the tool, expects `status`, and parses its JSON output.
Json run_json(const Strings& args, int status = 0) {
    Strings with_json = args;
    with_json.push_back("--json");
    const kqtool::ToolResult result = run_kqfmt(with_json);
    EXPECT_EQ(result.status, status) << result.err;
    Json parsed = Json::parse(result.out, nullptr, false);
    EXPECT_FALSE(parsed.is_discarded()) << result.out;
    return parsed;
}

const Json& table_named(const Json& report, const std::string& name) {
    for (const Json& table : report.at("tables"))
        if (table.at("table") == name) return table;
    static const Json none;
    ADD_FAILURE() << "no table " << name;
    return none;
}

// Values of one side ("old" or "new") of one column, in cell order.
Strings side_values(const Json& table, std::size_t column, const char* side) {
    Strings values;
    for (const Json& cell : table.at("columns").at(column).at(side))
        values.push_back(cell.at("value").get<std::string>());
    return values;
}

TEST(KqfmtStorage, ValuesAreStoredByTheColumnsTypeCode) {
    const Json report = run_json({"show", fixture("storage.sql"), "CONV"});
    const Json& conv = table_named(report, "CONV");
    // Rows: an INTEGER, a REAL, a TEXT and a NULL value in every column.
    const std::vector<std::pair<const char*, Strings>> expected = {
        {"t1", {"44", "65", "65", "0"}},
        {"t8", {"4294967295", "4294967295", "0", "0"}},
        {"t9", {"1", "-2", "-12", "0"}},
        {"t15", {"42", "1.0e+20", "text", ""}},
        {"t12", {"3.0000000000", "0.1000000015", "0.1000000015", "0.0000000000"}},
        {"t13", {"-7.0000000000", "0.1000000000", "25.0000000000", "0.0000000000"}},
    };
    for (std::size_t c = 0; c < expected.size(); ++c) {
        EXPECT_EQ(conv.at("columns").at(c).at("name"), expected[c].first);
        EXPECT_EQ(side_values(conv, c, "new"), expected[c].second) << expected[c].first;
        EXPECT_EQ(side_values(conv, c, "old"), expected[c].second) << expected[c].first;
    }
}

TEST(KqfmtStorage, TypeComesFromTheDeclaredSqlTypeWhenNotGiven) {
    // 0.1 stored as a 32-bit integer, a double, a float, and as text (which
    // a floating-point format leaves untouched).
    const Json report = run_json({"show", fixture("storage.sql"), "INFER", "--initial", "x"});
    const Json& infer = table_named(report, "INFER");
    const Strings expected = {"0.0000000000", "0.1000000000", "0.1000000015", "x", "x",
                              "0.0000000000"};
    for (std::size_t c = 0; c < expected.size(); ++c)
        EXPECT_EQ(side_values(infer, c, "new"), Strings{expected[c]}) << "column " << c;
}

TEST(KqfmtTables, EveryConfigurationTableInNameOrderRowsInRowidOrder) {
    const Json report = run_json({"show", fixture("tables.sql"), "--columns", "0"});
    Strings names;
    for (const Json& table : report.at("tables")) names.push_back(table.at("table"));
    EXPECT_EQ(names, (Strings{"A_FIRST", "BYTES", "B_SECOND", "LOGGED", "MEASURE", "a_lower"}));
    EXPECT_EQ(side_values(table_named(report, "A_FIRST"), 0, "new"), (Strings{"two", "five"}));
}

TEST(KqfmtTables, RequestedTablesColumnsAndRowsKeepTheirOrder) {
    // Options may stand anywhere; rows past the row count are asked for too
    // and keep the initial value.
    const Json report = run_json({"--rows", "1,3-4", "show", "--initial", "?",
                                  fixture("tables.sql"), "a_lower", "A_FIRST", "--columns", "n,0"});
    ASSERT_EQ(report.at("tables").size(), 2u);
    EXPECT_EQ(report["tables"][0]["table"], "a_lower");
    const Json& first = report["tables"][1];
    EXPECT_EQ(first["columns"][0]["column"], 1);
    EXPECT_EQ(first["columns"][0]["name"], "n");
    EXPECT_EQ(first["columns"][1]["column"], 0);
    Strings rows;
    for (const Json& cell : first["columns"][1]["old"]) rows.push_back(cell["row"].dump());
    EXPECT_EQ(rows, (Strings{"1", "3", "4"}));
    EXPECT_EQ(side_values(first, 1, "new"), (Strings{"five", "?", "?"}));
}

TEST(KqfmtTables, CatalogsAddUnitsAndSystemVariables) {
    const Json measure =
        table_named(run_json({"show", fixture("tables.sql"), "MEASURE"}), "MEASURE");
    EXPECT_EQ(side_values(measure, 0, "new"), (Strings{"1.50 km", "0.25 km"}));
    EXPECT_EQ(side_values(measure, 1, "new"), (Strings{"Inlet pressure", "AI_02"}));
}

TEST(KqfmtJson, BytesThatAreNotUtf8AreEscapedOneByOne) {
    const kqtool::ToolResult result = run_kqfmt({"show", fixture("tables.sql"), "BYTES", "--json"});
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* text : {"\"A\\u00ffB\"", "\"\\u00e2\\u0082\"", "\"tab\\t\\\"q\\\"\"",
                             "\"25 \xC2\xB0"
                             "C\""})
        EXPECT_NE(result.out.find(text), std::string::npos) << text;
    const Json report = Json::parse(result.out);
    EXPECT_EQ(side_values(table_named(report, "BYTES"), 0, "new")[3],
              "25 \xC2\xB0"
              "C");
}

TEST(KqfmtJson, LogHoldsEveryRecordInOrder) {
    // Type 10 is not plain text: one error line per cell, sys records
    // always, each preceded by its debug record when debugging.
    for (const bool debug : {false, true}) {
        Strings args = {"show", fixture("tables.sql"), "LOGGED"};
        if (debug) args.push_back("--debug");
        const Json log = run_json(args).at("log");
        ASSERT_EQ(log.size(), debug ? 8u : 4u) << log.dump();  // 2 old + 2 new cells
        for (std::size_t i = 0; i < log.size(); ++i) {
            const bool sys = !debug || i % 2 == 1;
            EXPECT_EQ(log[i]["kind"], sys ? "sys" : "debug");
            EXPECT_EQ(log[i]["severity"], sys ? 2 : 3);
            EXPECT_EQ(log[i]["number"], sys ? 2 : 0);
            EXPECT_EQ(log[i]["file"], "kq_format_data");
            EXPECT_EQ(log[i]["message"], "Invalid Data type iType:10 of iColumn:0");
            if (sys && debug) {
                EXPECT_EQ(log[i]["line"].get<int>(), log[i - 1]["line"].get<int>() + 1);
            }
        }
    }
}

TEST(KqfmtErrors, AFormattingErrorStopsOnlyItsTable) {
    const Json report = run_json({"show", fixture("failing.sql"), "--initial", "?"}, 3);
    const Json& broken = table_named(report, "A_BROKEN");
    EXPECT_FALSE(broken.value("error", "").empty());
    EXPECT_EQ(side_values(broken, 0, "new"), Strings{"g"});          // before the error
    EXPECT_EQ(side_values(broken, 3, "new"), Strings{"?"});          // after it
    ASSERT_EQ(report.at("log").size(), 2u) << report["log"].dump();  // odd's two cells
    EXPECT_EQ(report["log"][1]["message"], "Invalid Data type iType:10 of iColumn:1");
    const Json& fine = table_named(report, "B_FINE");
    EXPECT_FALSE(fine.contains("error"));
    EXPECT_EQ(side_values(fine, 0, "new"), Strings{"fine"});
    EXPECT_EQ(run_kqfmt({"show", fixture("failing.sql")}).status, 3);
}

TEST(KqfmtDiff, OldViewIsTheSameNamedTableMatchedByPosition) {
    const Json report = run_json({"diff", fixture("previous.sql"), fixture("live.sql")});
    const Json& t = table_named(report, "T");
    EXPECT_EQ(side_values(t, 0, "old"), Strings{"a0"});
    EXPECT_EQ(side_values(t, 1, "old"), Strings{"7"});  // '7x' stored as the live INTEGER
    EXPECT_EQ(side_values(t, 1, "new"), (Strings{"1", "2", "3"}));
    const Json& u = table_named(report, "U");
    EXPECT_EQ(side_values(u, 1, "old"), Strings{"0"});  // no such old column: NULL
    const Json& only_new = table_named(report, "ONLY_NEW");
    EXPECT_TRUE(only_new["columns"][0]["old"].empty());
    EXPECT_EQ(side_values(only_new, 0, "new"), Strings{"x"});
}

TEST(KqfmtDiff, GridMarksChangedCellsAndRowsOfOneView) {
    const kqtool::ToolResult result =
        run_kqfmt({"diff", fixture("previous.sql"), fixture("live.sql"), "T"});
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* text : {"a0 \xE2\x86\x92 a", "+ b", "+ c", "7 \xE2\x86\x92 1"})
        EXPECT_NE(result.out.find(text), std::string::npos) << text << "\n" << result.out;
    EXPECT_EQ(result.out.find('\x1b'), std::string::npos) << "colour on a file";
}

TEST(KqfmtErrors, BadInputIsOneLineOnStderrAndNothingOnStdout) {
    const std::vector<Strings> cases = {
        {"show", fixture("missing.sql")},
        {"show", fixture("missing.db")},
        {"diff", fixture("missing.sql"), fixture("live.sql")},
        {"show", fixture("broken.sql")},
        {"show", fixture("bad_kq_table.sql")},
        {"show", fixture("bad_kq_column.sql")},
        {"show", fixture("bad_kq_units.sql")},
        {"show", fixture("tables.sql"), "NO_SUCH"},
        {"show", fixture("tables.sql"), "kq_notes"},
        {"show", fixture("tables.sql"), "--columns", "no_such"},
        {"show", fixture("tables.sql"), "--columns", "7"},
        {"show", fixture("tables.sql"), "--rows", "1-x"},
        {"show", fixture("tables.sql"), "--rows", "3-1"},
        {"show", fixture("tables.sql"), "--rows"},
        {"show", fixture("tables.sql"), "--no-such-option"},
        {"show"},
        {"list", fixture("tables.sql")},
        {},
    };
    for (const Strings& args : cases) {
        for (const bool json : {false, true}) {
            Strings line = args;
            if (json) line.push_back("--json");
            const kqtool::ToolResult result = run_kqfmt(line);
            const std::string name = ::testing::PrintToString(line);
            EXPECT_EQ(result.status, 2) << name;
            EXPECT_EQ(result.out, "") << name;
            EXPECT_EQ(result.err.rfind("kqfmt: ", 0), 0u) << name << ": " << result.err;
            EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << name << ": " << result.err;
        }
    }
}

TEST(KqfmtHelp, HelpForTheToolAndEachCommand) {
    for (const Strings& args : {Strings{"--help"}, Strings{"show", "--help"},
                                Strings{"diff", "--rows", "bad", "--help"}}) {
        const kqtool::ToolResult result = run_kqfmt(args);
        EXPECT_EQ(result.status, 0);
        EXPECT_NE(result.out.find(args[0] == "--help" ? "kqfmt diff OLD NEW" : "Example:"),
                  std::string::npos)
            << result.out;
    }
}

TEST(KqfmtExamples, ShippedExamplesFormatWithoutErrors) {
    if (kqtool::example("").size() <= 1) GTEST_SKIP() << "no examples folder given";
    for (const Strings& args : {Strings{"show", kqtool::example("analyser.sql")},
                                Strings{"diff", kqtool::example("analyser_previous.sql"),
                                        kqtool::example("analyser.sql")}}) {
        const Json report = run_json(args);
        EXPECT_GE(report.at("tables").size(), 4u);
        for (const Json& table : report.at("tables"))
            EXPECT_FALSE(table.contains("error")) << table;
    }
}

}  // namespace
