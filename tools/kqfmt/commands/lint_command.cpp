// kqfmt lint: opens the database, checks table after table and writes the
// findings of each table as soon as it is checked.
#include "commands/lint_command.h"

#include <memory>

#include "commands/show_diff.h"
#include "input/sqlite_db.h"
#include "input/standard_input.h"
#include "kq_host_log.h"
#include "run/lint_check.h"
#include "run/lint_rules.h"
#include "text/json_text.h"
#include "text/utf8_text.h"

namespace kqfmt {
namespace {

void write_json_finding(Output& out, const Finding& f, bool first) {
    std::string text = first ? "\n  {" : ",\n  {";
    text += "\"table\": ";
    append_json_string(text, f.table);
    text += ", \"column\": ";
    append_json_string(text, f.column);
    text += ", \"severity\": \"";
    text += f.severity == Severity::error ? "error" : "warning";
    text += "\", \"row\": ";
    text += f.row >= 0 ? std::to_string(f.row) : "null";
    text += ", \"more_rows\": " + std::to_string(f.more_rows) + ", \"message\": ";
    append_json_string(text, f.message);
    text += ", \"rule\": ";
    append_json_string(text, f.rule);
    text += "}";
    out << text;
}

std::string counted(long n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

int lint_command(const CommandLine& line, Output& out) {
    std::unique_ptr<SpooledInput> input;
    std::unique_ptr<SqliteDb> db;
    Configuration config;
    open_configuration(line.db, database_path(line.db, input), db, config);
    const std::vector<std::string> names = requested_tables(line, config);
    const LintSilence silence(line.ignore, config.lint_ignore);

    // What the library logs is part of the findings, at the level asked for.
    kqhost::ScopedDebugLevel debug(line.debug ? 1 : 0);
    const bool json = line.output == OutputFormat::json;
    if (json) out << "[";
    long errors = 0, warnings = 0, columns = 0;
    bool first = true;
    for (const std::string& name : names) {
        g_doing = "checking table '" + message_text(name) + "'";
        columns += config.tables.at(name)->column_count();
        for (const Finding& finding : lint_table(config, name)) {
            if (silence.silenced(finding.table, finding.column, finding.rule)) continue;
            (finding.severity == Severity::error ? errors : warnings) += 1;
            if (json)
                write_json_finding(out, finding, first);
            else
                out << finding_line(finding) << "\n";
            first = false;
        }
        out.flush();
    }
    if (json)
        out << (first ? "]\n" : "\n]\n");
    else
        out << counted(errors, "error") << ", " << counted(warnings, "warning") << " in "
            << counted(static_cast<long>(names.size()), "table") << " ("
            << counted(columns, "column") << " checked)\n";
    out.flush();
    return errors > 0 || (line.strict && warnings > 0) ? kExitFindings : 0;
}

}  // namespace kqfmt
