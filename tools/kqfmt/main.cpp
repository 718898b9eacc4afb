// kqfmt: loads a configuration database and prints what the formatter
// library makes of its tables, as a grid or as JSON.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "command_line.h"
#include "config_loader.h"
#include "explain.h"
#include "format_run.h"
#include "grid_report.h"
#include "help_text.h"
#include "input_error.h"
#include "json_report.h"
#include "json_text.h"
#include "kq_format_data.h"
#include "kq_host_log.h"
#include "report_output.h"
#include "schema_text.h"
#include "sqlite_db.h"
#include "standard_input.h"

namespace kqfmt {
namespace {

// Installs a sink for the lifetime of the object, then restores the default.
class SinkGuard {
public:
    explicit SinkGuard(kqhost::LogSink sink) { kqhost::set_log_sink(std::move(sink)); }
    ~SinkGuard() { kqhost::set_log_sink({}); }
    SinkGuard(const SinkGuard&) = delete;
    SinkGuard& operator=(const SinkGuard&) = delete;
};

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::vector<int> resolve_columns(const kqhost::TableData& table,
                                 const std::optional<std::vector<ColumnItem>>& items) {
    std::vector<int> columns;
    if (!items) {
        for (int c = 0; c < table.column_count(); ++c) columns.push_back(c);
        return columns;
    }
    for (const ColumnItem& item : *items) {
        if (item.is_number) {
            if (item.number >= table.column_count())
                throw InputError("table " + quoted(table.name()) + " has no column " +
                                 std::to_string(item.number) + " (it has " +
                                 std::to_string(table.column_count()) + ")");
            columns.push_back(item.number);
        } else {
            const int column = table.find_column(item.name);
            if (column < 0)
                throw InputError("table " + quoted(table.name()) + " has no column " +
                                 quoted(item.name));
            columns.push_back(column);
        }
    }
    return columns;
}

// One table to format: its live table, its old view and the columns.
struct Plan {
    kqhost::LiveTable* live = nullptr;
    std::shared_ptr<kqhost::TableCopy> old;
    Request request;
};

int run(const std::vector<std::string>& args) {
    const CommandLine line = parse_command_line(args);
    if (line.help) {
        std::cout << help_text(line.command);
        return 0;
    }
    if (line.version) {
        std::cout << "kqfmt " KQ_VERSION " (kqformat library " KQ_VERSION ")\n";
        return 0;
    }
    if (line.command == Command::schema) {
        std::cout << schema_text();
        return 0;
    }
    if (line.command == Command::explain) {
        const nlohmann::ordered_json document =
            explain_format({line.format, line.type, line.date_time});
        std::cout << (line.json ? to_json_text(document) : explain_text(document));
        std::cout.flush();
        return 0;
    }

    // JSON collects every log record; the grid leaves them to the default
    // sink, which writes them to standard error.
    std::vector<kqhost::LogRecord> log;
    std::unique_ptr<SinkGuard> sink;
    if (line.json)
        sink = std::make_unique<SinkGuard>(
            [&log](const kqhost::LogRecord& record) { log.push_back(record); });
    DebugLevel = line.debug ? 1 : 0;

    // Everything that can be bad input is checked before anything is
    // formatted or printed.
    std::unique_ptr<SpooledInput> input;  // a database given as "-"
    const auto path = [&input](const std::string& name) {
        if (name != "-") return name;
        input = std::make_unique<SpooledInput>();
        return input->path();
    };
    std::unique_ptr<SqliteDb> old_db;
    if (line.command == Command::diff) old_db = std::make_unique<SqliteDb>(path(line.old_db));
    SqliteDb db(path(line.db));
    Configuration config;
    load_configuration(db, config);
    if (config.tables.empty())
        throw InputError(quoted(line.db == "-" ? "standard input" : line.db) +
                         " has no configuration table (kqfmt schema prints the tables a "
                         "configuration database starts with)");

    std::vector<std::string> names = line.tables;
    if (names.empty())
        for (const auto& entry : config.tables) names.push_back(entry.first);
    const std::vector<std::string> old_tables =
        old_db ? old_db->table_names() : std::vector<std::string>();

    std::vector<Plan> plans;
    for (const std::string& name : names) {
        const auto found = config.tables.find(name);
        if (found == config.tables.end()) throw InputError("unknown table " + quoted(name));
        Plan plan;
        plan.live = config.master.data().find(name);
        plan.request.columns = resolve_columns(*found->second, line.columns);
        plan.request.rows = line.rows;
        plan.request.initial = line.initial;
        plan.old = std::make_shared<kqhost::TableCopy>(
            old_db ? load_old_view(*old_db, old_tables, *found->second) : found->second);
        plans.push_back(std::move(plan));
    }

    KQ_FORMAT_DATA formatter(&config.master);
    std::vector<TableResult> results;
    bool failed = false;
    for (Plan& plan : plans) {
        results.push_back(format_table(formatter, *plan.live, *plan.old, plan.request));
        failed = failed || results.back().error.has_value();
    }

    const bool differs = write_report(std::cout, std::cerr, line, results, log);
    std::cout.flush();
    if (failed) return 3;
    return line.exit_code && differs ? 1 : 0;
}

// An error message on one line: line breaks become blanks.
std::string one_line(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace
}  // namespace kqfmt

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return kqfmt::run(args);
    } catch (const kqfmt::InputError& e) {
        std::cerr << "kqfmt: " << kqfmt::one_line(e.what()) << '\n';
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "kqfmt: " << kqfmt::one_line(e.what()) << '\n';
        return 1;
    }
}
