// kqfmt as a user and a script meet it: the option matrix and exit
// statuses, diff for scripts, the output formats, colour and display
// width, standard input, and the documented start of a new database.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "report/terminal.h"
#include "text/utf8_text.h"
#include "tool_runner.h"

namespace {

using kqtool::run_kqfmt;
using Strings = std::vector<std::string>;
using Json = nlohmann::json;

// A .sql file in the temporary folder, removed again.
class Script {
public:
    Script(const std::string& name, const std::string& sql) {
        const char* dir = std::getenv("TMPDIR");
        path_ = std::string(dir && *dir ? dir : "/tmp") + "/kq_daily_" +
                std::to_string(::getpid()) + "_" + name + ".sql";
        std::ofstream(path_, std::ios::binary) << sql;
    }
    ~Script() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

const char* const kOld =
    "CREATE TABLE T (name TEXT, mode INTEGER, note TEXT);"
    "INSERT INTO T VALUES ('a', 0, 'x'), ('b', 1, 'y');"
    "CREATE TABLE kq_columns (table_name, column_name, us_format);"
    "INSERT INTO kq_columns VALUES ('T','name','%s'), ('T','mode','Off(0),On(1)'),"
    " ('T','note','%s');";
// Row 1 changes mode, row 2 is new; note never changes.
const char* const kNew =
    "CREATE TABLE T (name TEXT, mode INTEGER, note TEXT);"
    "INSERT INTO T VALUES ('a', 0, 'x'), ('b', 0, 'y'), ('c', 1, 'z');"
    "CREATE TABLE kq_columns (table_name, column_name, us_format);"
    "INSERT INTO kq_columns VALUES ('T','name','%s'), ('T','mode','Off(0),On(1)'),"
    " ('T','note','%s');";

TEST(KqfmtDailyUse, OptionMatrixAndExitStatuses) {
    const Script old_db("old", kOld), new_db("new", kNew), empty("empty", "CREATE TABLE kq_x(a);");
    const std::string o = old_db.path(), n = new_db.path();
    struct Case {
        Strings args;
        int status;
        std::string out;  // expected start of standard output
    };
    const std::vector<Case> cases = {
        {{"--version"}, 0, "kqfmt 1."},
        {{"-h"}, 0, "kqfmt - show"},
        {{"schema", "--help"}, 0, "Usage: kqfmt schema"},
        {{"schema"}, 0, "-- A configuration database"},
        {{"diff", o, n, "--exit-code"}, 1, "T  old 2 rows, new 3 rows"},
        {{"diff", n, n, "--exit-code"}, 0, "T  3 rows"},
        {{"diff", o, n}, 0, "T  old 2 rows"},
        {{"diff", o, n, "--stat", "--exit-code"}, 1, "T  1 cell changed"},
        {{"show", n, "--format", "markdown"}, 0, "## T"},
        {{"show", n, "--format=tsv", "--json"}, 0, "{"},
        {{"show", n, "--json", "--format", "csv"}, 0, "table,row,name"},
        {{"--bogus"}, 2, ""},
        {{"show", n, "--exit-code"}, 2, ""},
        {{"show", n, "--stat"}, 2, ""},
        {{"diff", o, n, "--stat", "--format", "csv"}, 2, ""},
        {{"show", n, "--format", "xml"}, 2, ""},
        {{"show", n, "--color=sometimes"}, 2, ""},
        {{"show", n, "--width", "5"}, 2, ""},
        {{"diff", "-", "-"}, 2, ""},
        {{"schema", "extra"}, 2, ""},
        {{"schema", "--json"}, 2, ""},
        {{"explain", "%d", "--format", "csv"}, 2, ""},
        {{"show", empty.path()}, 2, ""},
    };
    for (const Case& c : cases) {
        const kqtool::ToolResult result = run_kqfmt(c.args);
        const std::string name = ::testing::PrintToString(c.args);
        EXPECT_EQ(result.status, c.status) << name << ": " << result.err;
        EXPECT_EQ(result.out.rfind(c.out, 0), 0u) << name << ": " << result.out;
        if (c.status == 2) {
            EXPECT_EQ(result.out, "") << name;
            EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << name << ": " << result.err;
        }
    }
    EXPECT_NE(run_kqfmt({"show", empty.path()}).err.find("kqfmt schema"), std::string::npos);
}

TEST(KqfmtDailyUse, DiffStatusSummaryStatAndChanged) {
    const Script old_db("old", kOld), new_db("new", kNew);
    const kqtool::ToolResult json = run_kqfmt({"diff", old_db.path(), new_db.path(), "--json"});
    const Json table = Json::parse(json.out).at("tables").at(0);
    EXPECT_EQ(table.at("summary"), Json::parse(R"({"cells_changed": 1, "rows_changed": 1,
        "rows_only_old": 0, "rows_only_new": 1, "cells_display_changed": 0,
        "definitions_changed": 0})"));
    Strings mode_status;
    for (const Json& cell : table.at("columns").at(1).at("new"))
        mode_status.push_back(cell.at("status"));
    EXPECT_EQ(mode_status, (Strings{"same", "changed", "added"}));

    const kqtool::ToolResult stat = run_kqfmt({"diff", old_db.path(), new_db.path(), "--stat"});
    EXPECT_EQ(stat.out,
              "T  1 cell changed in 1 row, 0 rows only in old, 1 row only in new\n"
              "total  1 cell changed in 1 row, 0 rows only in old, 1 row only in new\n");

    // Only the rows that differ; in the grid only the columns with a cell
    // that differs (every cell of an added row does).
    const Strings changed = {"diff", old_db.path(), new_db.path(), "--changed", "--color=never"};
    EXPECT_EQ(run_kqfmt(changed).out,
              "T  old 2 rows, new 3 rows\n"
              "  row  name  mode      note\n"
              "  1    b     On \xE2\x86\x92 Off  y\n"
              "  2    + c   + On      + z\n");
    Strings first_rows = changed;
    first_rows.insert(first_rows.end(), {"--rows", "0-1"});
    EXPECT_EQ(run_kqfmt(first_rows).out,
              "T  old 2 rows, new 3 rows\n  row  mode\n  1    On \xE2\x86\x92 Off\n");
    // --context keeps all columns and says where unchanged rows were left out.
    EXPECT_EQ(
        run_kqfmt({"diff", old_db.path(), new_db.path(), "--context", "0", "--color=never"}).out,
        "T  old 2 rows, new 3 rows\n"
        "  row  name  mode      note\n"
        "  \xE2\x80\xA6 1 unchanged row\n"
        "  1    b     On \xE2\x86\x92 Off  y\n"
        "  2    + c   + On      + z\n");
}

TEST(KqfmtDailyUse, ReviewPageOfALargeTableKeepsChangesWithContext) {
    const std::string rows =
        "CREATE TABLE T (v INTEGER); WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 "
        "FROM n WHERE i < 2999) INSERT INTO T SELECT ";
    const std::string meta =
        " FROM n; CREATE TABLE kq_columns (table_name, column_name, us_format);"
        "INSERT INTO kq_columns VALUES ('T', 'v', '%s');";
    const Script old_db("large_old", rows + "i" + meta),
        new_db("large_new", rows + "CASE i WHEN 1500 THEN -1 ELSE i END" + meta);
    // Rows unchanged and changed, then each "… N unchanged rows" in order.
    const auto page = [&](const Strings& options) {
        Strings args = {"diff", old_db.path(), new_db.path(), "--format", "html"};
        args.insert(args.end(), options.begin(), options.end());
        const std::string html = run_kqfmt(args).out;
        Strings found;
        for (const std::string mark : {"<tr class=\"same\">", "<tr class=\"changed\">"}) {
            std::size_t count = 0;
            for (std::size_t at = html.find(mark); at != std::string::npos;
                 at = html.find(mark, at + 1))
                ++count;
            found.push_back(std::to_string(count));
        }
        const std::string skipped = "<tr class=\"skipped\"><td colspan=\"2\">\xE2\x80\xA6 ";
        for (std::size_t at = html.find(skipped); at != std::string::npos;
             at = html.find(skipped, at + 1)) {
            const std::size_t from = at + skipped.size();
            found.push_back(html.substr(from, html.find(' ', from) - from));
        }
        return found;
    };
    // Three rows of context by default, N with --context, none with --changed.
    EXPECT_EQ(page({}), (Strings{"6", "1", "1497", "1496"}));
    EXPECT_EQ(page({"--context", "1"}), (Strings{"2", "1", "1499", "1498"}));
    EXPECT_EQ(page({"--changed"}), (Strings{"0", "1"}));
}

// Splits RFC 4180 text into records of fields.
std::vector<Strings> parse_csv(const std::string& text) {
    std::vector<Strings> records(1, Strings(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& field = records.back().back();
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            records.emplace_back(1);
        } else {
            field += c;
        }
    }
    records.pop_back();  // after the last CRLF
    return records;
}

TEST(KqfmtDailyUse, FormatsEscapeTheirSeparators) {
    const std::string tricky = "a|b\tc\"d,e\nf";
    const Script db("formats",
                    "CREATE TABLE T (v TEXT); INSERT INTO T VALUES ('a|b' || char(9) || "
                    "'c\"d,e' || char(10) || 'f');"
                    "CREATE TABLE kq_columns (table_name, column_name, us_format);"
                    "INSERT INTO kq_columns VALUES ('T','v','%s');");
    const kqtool::ToolResult csv = run_kqfmt({"show", db.path(), "--format", "csv"});
    EXPECT_EQ(parse_csv(csv.out), (std::vector<Strings>{{"table", "row", "v"}, {"T", "0", tricky}}))
        << csv.out;
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"tsv", "table\trow\tv\nT\t0\ta|b\\tc\"d,e\\nf\n"},
        {"markdown", "## T\n\n1 row\n\n| row | v |\n|---:|---|\n| 0 | a\\|b\\x09c\"d,e\\x0af |\n"},
    };
    for (const auto& [format, text] : expected)
        EXPECT_EQ(run_kqfmt({"show", db.path(), "--format", format}).out, text) << format;
}

TEST(KqfmtDailyUse, StandardInputReadsAScript) {
    const Script db("stdin", kNew);
    const kqtool::ToolResult from_file = run_kqfmt({"show", db.path(), "--json"});
    const kqtool::ToolResult from_input = run_kqfmt({"show", "-", "--json"}, db.path(), {});
    EXPECT_EQ(from_input.status, 0) << from_input.err;
    EXPECT_EQ(from_input.out, from_file.out);
    const kqtool::ToolResult diff = run_kqfmt({"diff", "-", db.path(), "--stat"}, db.path(), {});
    EXPECT_EQ(diff.out.rfind("T  0 cells changed", 0), 0u) << diff.out << diff.err;
}

// Files of 1 MiB or more may start the tool again for huge pages: with the
// options before, between and after the files, it shows what it shows with
// small pages, where it is not restarted.
TEST(KqfmtDailyUse, LargeInputShowsTheSameWithHugePages) {
    const Script large("large", std::string(kNew) + "\n--" + std::string(1 << 20, 'x') + "\n");
    const Script old("large_old", kOld);
    for (const Strings& args : {Strings{"--json", "show", large.path(), "T", "--rows=1-2"},
                                Strings{"diff", old.path(), "--stat", large.path()}}) {
        const kqtool::ToolResult plain =
            run_kqfmt(args, "", {"GLIBC_TUNABLES=glibc.malloc.hugetlb=0"});
        const kqtool::ToolResult huge = run_kqfmt(args, "", {});
        EXPECT_EQ(plain.status, 0) << plain.err;
        EXPECT_EQ(huge.status, plain.status) << huge.err;
        EXPECT_EQ(huge.out, plain.out);
        EXPECT_EQ(huge.err, plain.err);
        EXPECT_NE(plain.out.find(args[0] == "diff" ? "1 cell changed" : "\"row\": 2"),
                  std::string::npos)
            << plain.out;
    }
}

TEST(KqfmtDailyUse, ColourFollowsTheTerminalAndTheEnvironment) {
    struct Case {
        kqfmt::ColourWhen when;
        bool terminal;
        const char* term;
        const char* no_color;
        bool colour;
    };
    using W = kqfmt::ColourWhen;
    const std::vector<Case> cases = {
        {W::automatic, true, "xterm", nullptr, true},
        {W::automatic, false, "xterm", nullptr, false},
        {W::automatic, true, "dumb", nullptr, false},
        {W::automatic, true, "xterm", "1", false},
        {W::automatic, true, "xterm", "", true},
        {W::automatic, true, nullptr, nullptr, true},
        {W::always, false, "dumb", "1", true},
        {W::never, true, "xterm", nullptr, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kqfmt::colour_wanted(c.when, c.terminal, c.term, c.no_color), c.colour)
            << static_cast<int>(c.when) << c.terminal << (c.term ? c.term : "-")
            << (c.no_color ? c.no_color : "-");

    const Script db("colour", kNew);
    const std::vector<std::pair<Strings, bool>> runs = {
        {{"--color=always"}, true}, {{"--color=auto"}, false}, {{}, false}};
    for (const auto& [options, escapes] : runs) {
        Strings args = {"show", db.path()};
        args.insert(args.end(), options.begin(), options.end());
        const kqtool::ToolResult result = run_kqfmt(args, "", {"NO_COLOR=1", "TERM=dumb"});
        EXPECT_EQ(result.out.find('\x1b') != std::string::npos, escapes) << options.size();
    }
}

TEST(KqfmtDailyUse, GridLinesUpByDisplayWidthAndCutsToWidth) {
    const std::vector<std::pair<const char*, int>> widths = {{"a", 1},
                                                             {"\xC3\xA9", 1},
                                                             {"\xCC\x81", 0},
                                                             {"\xE6\x97\xA5", 2},
                                                             {"\xEF\xBC\xA1", 2},
                                                             {"\xF0\x9F\x98\x80", 2},
                                                             {"\xE2\x80\x8B", 0},
                                                             {"\x1b[31m", 0}};
    for (const auto& [text, width] : widths)
        EXPECT_EQ(kqfmt::display_width(text), static_cast<std::size_t>(width)) << text;
    EXPECT_EQ(kqfmt::cut_to_width("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", 4),
              "\xE6\x97\xA5\xE2\x80\xA6");  // 日… : a third wide character does not fit
    EXPECT_EQ(kqfmt::cut_to_width("\x1b[31mabcdef\x1b[0m", 3), "\x1b[31mab\xE2\x80\xA6\x1b[0m");

    const Script db("cjk",
                    "CREATE TABLE T (a TEXT, b TEXT);"
                    "INSERT INTO T VALUES ('\xE6\x97\xA5\xE6\x9C\xAC', 'x'), "
                    "('e\xCC\x81t\xC3\xA9', 'y'), ('abcdefghijklmnopqrstuvwxyz', 'z');"
                    "CREATE TABLE kq_columns (table_name, column_name, us_format);"
                    "INSERT INTO kq_columns VALUES ('T','a','%s'), ('T','b','%s');");
    const kqtool::ToolResult grid = run_kqfmt({"show", db.path(), "--width", "24"});
    EXPECT_EQ(grid.out,
              "T  3 rows\n"
              "  row  a               b\n"
              "  0    \xE6\x97\xA5\xE6\x9C\xAC            x\n"
              "  1    e\xCC\x81t\xC3\xA9             y\n"
              "  2    abcdefghijklm\xE2\x80\xA6  z\n");
}

// Text of the first fenced block that follows `marker` in `text`.
std::string block_after(const std::string& text, const std::string& marker) {
    const std::size_t at = text.find(marker);
    const std::size_t open = text.find("```", at == std::string::npos ? text.size() : at);
    if (at == std::string::npos || open == std::string::npos) return "";
    const std::size_t start = text.find('\n', open) + 1;
    return text.substr(start, text.find("```", start) - start);
}

TEST(KqfmtDailyUse, NewDatabaseFromTheDocumentedExample) {
    if (kqtool::example("").size() <= 1) GTEST_SKIP() << "no examples folder given";
    std::ifstream in(kqtool::example("../docs/configuration-database.md"));
    std::stringstream doc;
    doc << in.rdbuf();
    const std::string inserts = block_after(doc.str(), "where `pumps.sql` holds");
    const std::string transcript = block_after(doc.str(), "and `kqfmt show my.db` prints");
    ASSERT_FALSE(inserts.empty());

    // kqfmt schema > my.sql; cat pumps.sql >> my.sql; kqfmt show my.sql
    const kqtool::ToolResult schema = run_kqfmt({"schema"});
    ASSERT_EQ(schema.status, 0);
    const Script db("new_user", schema.out + inserts);
    const kqtool::ToolResult shown = run_kqfmt({"show", db.path()});
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out, transcript);

    // The documented error for a column without a format string.
    const std::string error = block_after(doc.str(), "and the exit status is 3:");
    const Script unformatted("no_format", schema.out +
                                              "CREATE TABLE PUMPS (flow REAL);"
                                              "INSERT INTO PUMPS VALUES (1);");
    const kqtool::ToolResult failed = run_kqfmt({"show", unformatted.path()});
    EXPECT_EQ(failed.status, 3);
    EXPECT_NE(failed.out.find(error), std::string::npos) << failed.out;
}

// One definition, catalog entry or table changed at a time between two
// databases with the same values: diff reports what the operator sees
// differently. Each "before" is the text `kqfmt show OLD` gives that cell.
const char* const kDefined =
    "CREATE TABLE T (name TEXT, temp REAL, state INTEGER, valve INTEGER, signal TEXT, "
    "stamp INTEGER);"
    "INSERT INTO T VALUES ('a', 20.5, 1, 1, 'AI_01', 3725), ('b', 30.0, 2, 2, 'AI_02', 60);"
    "CREATE TABLE V (number INTEGER, label TEXT);"
    "INSERT INTO V VALUES (1, 'Inlet A'), (2, 'Inlet B');"
    "CREATE TABLE W (k TEXT); INSERT INTO W VALUES ('w1');"
    "CREATE TABLE kq_columns (table_name, column_name, type, us_format, units, units_us,"
    " is_date_time, label_col, component_sel);"
    "INSERT INTO kq_columns (table_name, column_name, us_format, units, units_us, label_col,"
    " component_sel) VALUES ('T', 'name', '%s', NULL, NULL, NULL, NULL),"
    " ('T', 'temp', '%.1f', 'degC', 'degF', NULL, NULL),"
    " ('T', 'state', 'Off(0),On(1),Fault(2)', NULL, NULL, NULL, NULL),"
    " ('T', 'valve', 'Valve=V.number,__no_free_edit__', NULL, NULL, NULL, NULL),"
    " ('T', 'signal', '%s', NULL, NULL, NULL, 'AI'),"
    " ('T', 'stamp', '__DATE_TIME__', 's', NULL, NULL, NULL),"
    " ('V', 'number', '%s', NULL, NULL, 'label', NULL), ('V', 'label', '%s', NULL, NULL, NULL,"
    " NULL), ('W', 'k', '%s', NULL, NULL, NULL, NULL);"
    "CREATE TABLE kq_units (name, id, display, quantity, scale, offset);"
    "INSERT INTO kq_units VALUES ('degF', 11, 'F', 'temperature', 0.5555555555555556,"
    " 255.37222222222223);"
    "CREATE TABLE kq_sysvars (name, display_name);"
    "INSERT INTO kq_sysvars VALUES ('AI_01', 'Analog 1'), ('AI_02', 'Analog 2');";

TEST(KqfmtDailyUse, DiffShowsDefinitionAndCatalogChanges) {
    struct Case {
        const char* name;
        const char* change;                  // SQL run after kDefined on the new side
        std::map<std::string, int> display;  // TABLE.COLUMN: cells with status display
        Strings changes;                     // TABLE.COLUMN.FIELD, kq_units.NAME.FIELD
        std::string removed;                 // a table only the old side has
    };
    const char* const kSet = "UPDATE kq_columns SET ";
    const std::vector<Case> cases = {
        {"equal", "", {}, {}, ""},
        {"format",
         "us_format = '%.2f' WHERE column_name = 'temp'",
         {{"T.temp", 2}},
         {"T.temp.us_format"},
         ""},
        {"units", "units = 'K' WHERE column_name = 'temp'", {{"T.temp", 2}}, {"T.temp.units"}, ""},
        {"units_us",
         "units_us = 'degC' WHERE column_name = 'temp'",
         {{"T.temp", 2}},
         {"T.temp.units_us"},
         ""},
        {"type", "type = 9 WHERE column_name = 'temp'", {{"T.temp", 1}}, {"T.temp.type"}, ""},
        {"is_date_time",
         "is_date_time = 1 WHERE column_name = 'stamp'",
         {{"T.stamp", 2}},
         {"T.stamp.is_date_time"},
         ""},
        {"pick-list name",
         "us_format = 'Off(0),On(1),Tripped(2)' WHERE column_name = 'state'",
         {{"T.state", 1}},
         {"T.state.us_format"},
         ""},
        {"label_col",
         "label_col = NULL WHERE column_name = 'number'",
         {{"T.valve", 2}},
         {"V.number.label_col"},
         ""},
        {"component_sel",
         "component_sel = NULL WHERE column_name = 'signal'",
         {{"T.signal", 2}},
         {"T.signal.component_sel"},
         ""},
        {"remote label",
         "UPDATE V SET label = 'Inlet Z' WHERE number = 1",
         {{"T.valve", 1}},
         {},
         ""},
        {"unit display",
         "UPDATE kq_units SET display = 'deg F'",
         {{"T.temp", 2}},
         {"kq_units.degF.display"},
         ""},
        {"unit scale",
         "UPDATE kq_units SET scale = 1",
         {{"T.temp", 2}},
         {"kq_units.degF.scale"},
         ""},
        {"system variable",
         "UPDATE kq_sysvars SET display_name = 'One' WHERE name = 'AI_01'",
         {{"T.signal", 1}},
         {"kq_sysvars.AI_01.display_name"},
         ""},
        {"column added",
         "ALTER TABLE T ADD COLUMN extra TEXT; INSERT INTO kq_columns (table_name, column_name,"
         " us_format) VALUES ('T', 'extra', '%s')",
         {},
         {"T.extra.column", "T.extra.us_format"},
         ""},
        {"table dropped",
         "DELETE FROM kq_columns WHERE table_name = 'W'; DROP TABLE W",
         {},
         {},
         "W"},
        {"remote table dropped",
         "DELETE FROM kq_columns WHERE table_name = 'V'; DROP TABLE V",
         {{"T.valve", 2}},
         {},
         "V"},
    };
    const Script old_db("defined", kDefined);
    // What the old database shows by itself, per TABLE.COLUMN.
    std::map<std::string, Json> shown;
    const Json old_report = Json::parse(run_kqfmt({"show", old_db.path(), "--json"}).out);
    for (const Json& table : old_report.at("tables"))
        for (const Json& column : table["columns"])
            shown[table["table"].get<std::string>() + "." + column["name"].get<std::string>()] =
                column["new"];

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string change = c.change;
        // A change in lower case sets fields of kq_columns.
        const bool column_fields = !change.empty() && change[0] >= 'a' && change[0] <= 'z';
        const Script new_db("changed",
                            std::string(kDefined) + (column_fields ? kSet : "") + change + ";");
        const kqtool::ToolResult diff = run_kqfmt({"diff", old_db.path(), new_db.path(), "--json"});
        ASSERT_EQ(diff.status, 0) << diff.err;
        const Json report = Json::parse(diff.out);
        std::map<std::string, int> display;
        Strings changes, before_columns, removed;
        long summary_display = 0;
        for (const Json& table : report["tables"]) {
            const std::string name = table["table"];
            if (table.value("status", "") == "removed") removed.push_back(name);
            summary_display += table["summary"]["cells_display_changed"].get<long>();
            for (const Json& d : table["definitions"])
                changes.push_back(name + "." + d["column"].get<std::string>() + "." +
                                  d["field"].get<std::string>());
            for (const Json& column : table["columns"]) {
                const std::string key = name + "." + column["name"].get<std::string>();
                for (const Json& cell : column["new"])
                    if (cell["status"] == "display") ++display[key];
                if (!column.contains("before")) continue;
                before_columns.push_back(key);
                EXPECT_EQ(column["before"], shown.at(key)) << key;
            }
        }
        for (const Json& entry : report["catalogs"])
            changes.push_back(entry["table"].get<std::string>() + "." +
                              entry["name"].get<std::string>() + "." +
                              entry["field"].get<std::string>());
        EXPECT_EQ(display, c.display);
        EXPECT_EQ(changes, c.changes);
        EXPECT_EQ(removed, c.removed.empty() ? Strings() : Strings{c.removed});
        // Every display cell has its before; a removed table has all its own.
        Strings expected_before;
        for (const auto& entry : c.display) expected_before.push_back(entry.first);
        for (const auto& entry : shown)
            if (!c.removed.empty() && entry.first.rfind(c.removed + ".", 0) == 0)
                expected_before.push_back(entry.first);
        std::sort(before_columns.begin(), before_columns.end());
        EXPECT_EQ(before_columns, expected_before);

        const kqtool::ToolResult stat =
            run_kqfmt({"diff", old_db.path(), new_db.path(), "--stat", "--exit-code"});
        const bool any = !c.display.empty() || !c.changes.empty() || !c.removed.empty();
        EXPECT_EQ(stat.status, any ? 1 : 0) << stat.out;
        const std::string total = stat.out.substr(stat.out.rfind("total  "));
        const std::string cells = std::to_string(summary_display) +
                                  (summary_display == 1 ? " cell" : " cells") +
                                  " shown differently";
        EXPECT_EQ(total.find(cells) != std::string::npos, summary_display > 0) << total;
        EXPECT_EQ(total.find("1 table removed") != std::string::npos, !c.removed.empty()) << total;
        if (c.removed.empty()) continue;
        // A table only one side has may be named.
        const kqtool::ToolResult named =
            run_kqfmt({"diff", old_db.path(), new_db.path(), c.removed});
        EXPECT_EQ(named.status, 0) << named.err;
        EXPECT_EQ(named.out.rfind(c.removed + "  ", 0), 0u) << named.out;
    }
}

}  // namespace

namespace {

// The progress line: on a terminal after the quiet time (shortened here),
// erased at the end; never with --no-progress, never in a pipe or a file,
// never before the quiet second has passed; the output is the same either
// way.
TEST(KqfmtDailyUse, ProgressLineOnlyOnATerminal) {
    const Strings show = {"show", kqtool::example("analyser.sql")};
    const std::string plain = run_kqfmt(show).out;
    const struct {
        const char* name;
        kqtool::Stderr to;
        const char* quiet_ms;  // nullptr: the default second
        bool no_progress;
        bool shown;
    } cases[] = {
        {"terminal", kqtool::Stderr::terminal, "0", false, true},
        {"terminal, --no-progress", kqtool::Stderr::terminal, "0", true, false},
        {"terminal, a short run", kqtool::Stderr::terminal, nullptr, false, false},
        {"pipe", kqtool::Stderr::pipe, "0", false, false},
        {"file", kqtool::Stderr::file, "0", false, false},
    };
    for (const auto& c : cases) {
        kqtool::RunOptions options;
        options.stderr_to = c.to;
        if (c.quiet_ms)
            options.environment = {std::string("KQFMT_PROGRESS_AFTER_MS=") + c.quiet_ms};
        Strings args = show;
        if (c.no_progress) args.push_back("--no-progress");
        const kqtool::ToolResult r = run_kqfmt(args, options);
        EXPECT_EQ(r.status, 0) << c.name << "\n" << r.err;
        EXPECT_EQ(r.out, plain) << c.name;
        const std::string line = "\r\x1b[Kkqfmt: ANALYSER_OUTPUTS (1 of 6 tables): reading, 0 of ";
        EXPECT_EQ(r.err.find(line) != std::string::npos, c.shown) << c.name << "\n" << r.err;
        EXPECT_EQ(r.err.find("VALVE_CONFIG (6 of 6 tables): writing 3 rows") != std::string::npos,
                  c.shown)
            << c.name;
        // Erased at the end: nothing follows the last erase.
        if (c.shown) {
            EXPECT_EQ(r.err.substr(r.err.size() - 4), "\r\x1b[K") << c.name;
        } else {
            EXPECT_EQ(r.err.find("\x1b[K"), std::string::npos) << c.name;
        }
    }
}

}  // namespace
