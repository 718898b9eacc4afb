// show and diff: load, check the whole request, then format and write one
// table after another.
#include "commands/show_diff.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "input/config_loader.h"
#include "input/input_error.h"
#include "input/sqlite_db.h"
#include "input/standard_input.h"
#include "kq_format_data.h"
#include "kq_host_log.h"
#include "report/html_report.h"
#include "report/progress.h"
#include "report/report_output.h"
#include "run/before_view.h"
#include "run/config_changes.h"
#include "run/format_run.h"
#include "run/lint_check.h"
#include "text/utf8_text.h"

namespace kqfmt {

std::string g_doing = "starting";

namespace {

// Installs a sink for the lifetime of the object, then restores the default.
class SinkGuard {
public:
    explicit SinkGuard(kqhost::LogSink sink) { kqhost::set_log_sink(std::move(sink)); }
    ~SinkGuard() { kqhost::set_log_sink({}); }
    SinkGuard(const SinkGuard&) = delete;
    SinkGuard& operator=(const SinkGuard&) = delete;
};

// A log record on standard error, in the host's own layout, with the bytes
// that came from the configuration escaped.
void log_to_stderr(const kqhost::LogRecord& r) {
    progress::clear();
    const std::string line = message_text(r.file) + ":" + std::to_string(r.line) + ": " +
                             (r.sys ? "sys" : "debug") + "(" + std::to_string(r.severity) + "," +
                             std::to_string(r.number) + "): " + message_text(r.message) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

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

// Memory one requested cell may cost beyond its text: the cell record of
// the call and its share of the output. A request is refused when its cells
// would need more than a quarter of the machine's memory.
constexpr unsigned long long kBytesPerCell = 256;

unsigned long long cell_budget() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page = ::sysconf(_SC_PAGESIZE);
    const unsigned long long memory =
        pages > 0 && page > 0
            ? static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(page)
            : 1ULL << 32;
    return memory / 4 / kBytesPerCell;
}

void check_request_size(const std::string& table, std::size_t columns, long long old_rows,
                        long long new_rows) {
    const unsigned long long cells = static_cast<unsigned long long>(columns) *
                                     static_cast<unsigned long long>(old_rows + new_rows);
    const unsigned long long budget = cell_budget();
    if (cells > budget)
        throw InputError("table " + quoted(table) + ": --columns and --rows ask for " +
                         std::to_string(cells) + " cells (" + std::to_string(columns) +
                         " columns of " + std::to_string(old_rows) + " old and " +
                         std::to_string(new_rows) + " new rows), more than the " +
                         std::to_string(budget) +
                         " this machine's memory allows; ask for fewer columns or rows");
}

// One table to format: its live table, its old view and the columns.
struct Plan {
    std::string name;
    TablePresence presence = TablePresence::both;  // diff: only_old has no live table
    kqhost::LiveTable* live = nullptr;
    std::shared_ptr<kqhost::TableData> data;
    std::shared_ptr<kqhost::TableCopy> old;
    std::shared_ptr<kqhost::TableData> old_data;
    std::optional<TableSource> old_source;  // diff: where the old values come from
    Request request;
};

}  // namespace

void open_configuration(const std::string& name, const std::string& path,
                        std::unique_ptr<SqliteDb>& db, Configuration& config, bool need_tables) {
    g_doing = "reading " + quoted(message_text(name));
    db = std::make_unique<SqliteDb>(path);
    try {
        load_configuration(*db, config);
    } catch (const InputError& e) {
        // Every message names the file; SQLite's failures already do.
        if (e.message().compare(0, name.size() + 1, name + ":") == 0) throw;
        throw InputError(name + ": " + e.message());
    }
    if (config.tables.empty() && need_tables)
        throw InputError(quoted(name == "-" ? "standard input" : name) +
                         " has no configuration table (kqfmt schema prints the tables a "
                         "configuration database starts with)");
}

std::vector<std::string> requested_tables(const CommandLine& line, const Configuration& config) {
    std::vector<std::string> names = line.tables;
    if (names.empty())
        for (const auto& entry : config.tables) names.push_back(entry.first);
    for (const std::string& name : names)
        if (config.tables.find(name) == config.tables.end())
            throw InputError(line.db + " has no configuration table " + quoted(name));
    return names;
}

namespace {

// diff: the tables of both databases, or those named (each in either).
std::vector<std::string> diff_tables(const CommandLine& line, const Configuration& old_config,
                                     const Configuration& config) {
    if (line.tables.empty()) {
        std::set<std::string> names;
        for (const auto& entry : old_config.tables) names.insert(entry.first);
        for (const auto& entry : config.tables) names.insert(entry.first);
        return std::vector<std::string>(names.begin(), names.end());
    }
    for (const std::string& name : line.tables)
        if (config.tables.count(name) == 0 && old_config.tables.count(name) == 0)
            throw InputError("neither " + line.old_db + " nor " + line.db +
                             " has a configuration table " + quoted(name));
    return line.tables;
}

}  // namespace

int show_or_diff(const CommandLine& line, Output& out) {
    // JSON collects every log record; the grid writes them to standard
    // error as they come.
    std::vector<kqhost::LogRecord> log;
    const bool json = line.output == OutputFormat::json;
    SinkGuard sink(
        json ? kqhost::LogSink([&log](const kqhost::LogRecord& record) { log.push_back(record); })
             : kqhost::LogSink(log_to_stderr));
    DebugLevel = line.debug ? 1 : 0;

    // Everything that can be bad input is checked before anything is
    // formatted or printed.
    std::unique_ptr<SpooledInput> input;  // a database given as "-"
    const auto path = [&input](const std::string& name) {
        if (name != "-") return name;
        input = std::make_unique<SpooledInput>();
        return input->path();
    };
    // diff reads the old database twice: as the old view of each table
    // (through old_db) and as a configuration of its own (old_config).
    std::unique_ptr<SqliteDb> old_db;
    Configuration old_config;
    const bool diff = line.command == Command::diff;
    if (diff) open_configuration(line.old_db, path(line.old_db), old_db, old_config, false);
    std::unique_ptr<SqliteDb> db;
    Configuration config;
    open_configuration(line.db, path(line.db), db, config);
    if (diff) use_units(config);  // loading the old database added its units
    const std::vector<std::string> names =
        diff ? diff_tables(line, old_config, config) : requested_tables(line, config);
    const std::vector<std::string> old_tables =
        old_db ? old_db->table_names() : std::vector<std::string>();

    std::vector<Plan> plans;
    for (const std::string& name : names) {
        Plan plan;
        plan.name = name;
        plan.request.rows = line.rows;
        plan.request.initial = line.initial;
        auto found = config.tables.find(name);
        if (diff && found == config.tables.end()) {
            // Only the old database has it: shown as removed, its columns
            // chosen among the old table's.
            plan.presence = TablePresence::only_old;
            try {
                plan.request.columns = resolve_columns(*old_config.tables.at(name), line.columns);
            } catch (const InputError& e) {
                throw InputError(line.old_db + ": " + e.message() + " (--columns)");
            }
            const long long requested = line.rows ? static_cast<long long>(line.rows->size()) : -1;
            check_request_size(name, plan.request.columns.size(),
                               requested >= 0 ? requested : old_config.tables.at(name)->row_count(),
                               requested >= 0 ? requested : 0);
            plans.push_back(std::move(plan));
            continue;
        }
        if (diff && old_config.tables.count(name) == 0) plan.presence = TablePresence::only_new;
        plan.live = config.master.data().find(name);
        try {
            plan.request.columns = resolve_columns(*found->second, line.columns);
        } catch (const InputError& e) {
            throw InputError(line.db + ": " + e.message() + " (--columns)");
        }
        plan.data = found->second;
        if (old_db) {
            OldView view = load_old_view(*old_db, old_tables, *found->second, config.load_error);
            plan.old_data = std::move(view.data);
            plan.old_source = std::move(view.source);
        } else {
            plan.old_data = found->second;
        }
        plan.old = std::make_shared<kqhost::TableCopy>(plan.old_data);
        const long long requested = line.rows ? static_cast<long long>(line.rows->size()) : -1;
        check_request_size(name, plan.request.columns.size(),
                           requested >= 0 ? requested : plan.old->GetNumRows(),
                           requested >= 0 ? requested : plan.live->get_stored_rows());
        plans.push_back(std::move(plan));
    }

    // Each table is formatted, written and flushed before the next, so the
    // output of a table is never held longer than it takes to write it.
    // The review page lists what lint finds in the new configuration above
    // the tables; the findings are few (merged per column), the tables are
    // still written one at a time.
    std::vector<FieldChange> catalogs;
    if (diff) catalogs = catalog_changes(old_config, config);
    if (line.output == OutputFormat::html) {
        std::vector<Finding> findings;
        for (const std::string& name : names) {
            if (config.tables.count(name) == 0) continue;  // removed: nothing to check
            g_doing = "checking table " + quoted(message_text(name));
            std::vector<Finding> found = lint_table(config, name);
            findings.insert(findings.end(), found.begin(), found.end());
        }
        html_report_start(out, line.old_db, line.db, findings, catalogs);
    }
    std::optional<BeforeView> before;
    if (diff) before.emplace(old_config, *old_db, config, *db);
    KQ_FORMAT_DATA formatter(&config.master);
    ReportWriter report(out, line, catalogs);
    bool failed = false;
    // Memory grows with the largest table shown, not with the database.
    const auto unload_all = [&config, &old_config]() {
        for (auto& entry : config.tables) entry.second->unload();
        for (auto& entry : old_config.tables) entry.second->unload();
    };
    const auto check_loads = [&config, &old_config]() {
        if (!config.load_error->empty()) throw InputError(*config.load_error);
        if (!old_config.load_error->empty()) throw InputError(*old_config.load_error);
    };
    for (std::size_t i = 0; i < plans.size(); ++i) {
        Plan& plan = plans[i];
        const std::string name = quoted(message_text(plan.name));
        const int64_t rows =
            plan.request.rows ? static_cast<int64_t>(plan.request.rows->size())
            : plan.live ? std::max<int64_t>(plan.live->get_stored_rows(), plan.old->GetNumRows())
                        : old_config.tables.at(plan.name)->row_count();
        progress::table(plan.name, static_cast<int>(i + 1), static_cast<int>(plans.size()), rows);
        if (plan.presence == TablePresence::only_old) {
            progress::phase("formatting");
            g_doing = "formatting table " + name;
            const TableResult result = before->removed_table(plan.name, plan.request);
            check_loads();
            failed = failed || result.error.has_value();
            progress::phase("writing");
            g_doing = "writing table " + name;
            report.table(result);
            out.flush();
            unload_all();
            continue;
        }
        g_doing = "reading table " + name;
        // The requested cells are read in one pass; anything else the
        // formatter reads (labels, triggers, remote tables) is loaded when
        // it first asks.
        config.sources.at(plan.data->name())
            .load(*plan.data, plan.request.columns, plan.request.rows);
        if (plan.old_source)
            plan.old_source->load(*plan.old_data, plan.request.columns, plan.request.rows);
        progress::phase("formatting");
        g_doing = "formatting table " + name;
        TableResult result = format_table(formatter, *plan.live, *plan.old, plan.request);
        check_loads();
        failed = failed || result.error.has_value();
        result.presence = plan.presence;
        if (diff && plan.presence == TablePresence::both) {
            g_doing = "formatting table " + name + " as the old database shows it";
            before->add_before(result, plan.request);
            check_loads();
            result.definitions = definition_changes(old_config, config, plan.name);
        }
        progress::phase("writing");
        g_doing = "writing table " + name;
        report.table(result);
        out.flush();
        unload_all();
        plan.old_data->unload();
    }
    const bool differs = report.finish(log);
    out.flush();
    if (failed) return kExitFormatError;
    return line.exit_code && differs ? 1 : 0;
}

}  // namespace kqfmt
