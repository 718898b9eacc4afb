// kqfmt explain DB TABLE COLUMN: the first rows of the column formatted
// through the library's trace, as show formats them (both views from DB),
// then the column's lint findings. The verdicts are the library's.
#include "commands/explain_column.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "commands/explain.h"
#include "commands/show_diff.h"
#include "input/input_error.h"
#include "input/sqlite_db.h"
#include "input/standard_input.h"
#include "kq_format_trace.h"
#include "kq_host_log.h"
#include "kw_table.h"
#include "run/lint_check.h"
#include "text/utf8_text.h"

namespace kqfmt {
namespace {

using Json = nlohmann::ordered_json;

// Rows shown: enough to see a pattern, few enough to read at a glance.
constexpr int kRowsShown = 5;

}  // namespace

Json explain_column(const CommandLine& line) {
    std::unique_ptr<SpooledInput> input;
    std::unique_ptr<SqliteDb> db;
    Configuration config;
    open_configuration(line.db, database_path(line.db, input), db, config);
    const std::string table = requested_tables(line, config).at(0);
    const std::shared_ptr<kqhost::TableData>& data = config.tables.at(table);
    int column = -1;
    for (int c = 0; c < data->column_count() && column < 0; ++c)
        if (data->column(c)->name == line.column) column = c;
    if (column < 0)
        throw InputError("table '" + message_text(table) + "' has no column '" +
                         message_text(line.column) + "'");
    const kqhost::ColumnDef& def = *data->column(column);

    g_doing = "explaining column '" + message_text(line.column) + "'";
    std::vector<int> all(static_cast<std::size_t>(data->column_count()));
    for (int c = 0; c < data->column_count(); ++c) all[static_cast<std::size_t>(c)] = c;
    config.sources.at(table).load(*data, all, std::nullopt);
    kqhost::LiveTable* live = config.master.data().find(table);
    kqhost::TableCopy old(data);
    const int rows = std::min(kRowsShown, live->get_stored_rows());
    std::vector<kq_formatted_col_data_struct> oldColumns(1), newColumns(1);
    oldColumns[0].column = newColumns[0].column = column;
    for (int row = 0; row < rows; ++row) {
        oldColumns[0].cells.push_back({row, line.initial});
        newColumns[0].cells.push_back({row, line.initial});
    }

    Json log = Json::array();
    KQ_FORMAT_TRACE trace;
    std::string error;
    with_log_collected(log, [&] {
        try {
            KQ_TraceFormattedValue(&config.master, &old, live, oldColumns, newColumns, trace);
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception& e) {
            error = std::string("the formatter raised an error (") + e.what() + ")";
        }
    });
    if (!config.load_error->empty()) throw InputError(*config.load_error);

    Json doc;
    doc["database"] = line.db;
    doc["table"] = table;
    doc["column"] = def.name;
    doc["format"] = def.us_format;
    doc["type"] = def.type;
    doc["type_name"] = explain_type_name(def.type);
    doc["date_time_flag"] = def.is_date_time != 0;
    add_trace(doc, trace, error);
    doc["rows"] = Json::array();
    std::string stored;
    for (int row = 0; row < rows; ++row) {
        live->get(column, row, stored);
        doc["rows"].push_back({{"row", row},
                               {"stored", stored},
                               {"old", oldColumns[0].cells[static_cast<std::size_t>(row)].value},
                               {"new", newColumns[0].cells[static_cast<std::size_t>(row)].value}});
    }
    doc["log"] = std::move(log);
    if (!error.empty()) doc["error"] = error;

    doc["findings"] = Json::array();
    for (const Finding& f : lint_table(config, table, column))
        doc["findings"].push_back(
            {{"severity", f.severity == Severity::error ? "error" : "warning"},
             {"row", f.row < 0 ? Json(nullptr) : Json(f.row)},
             {"message", f.message},
             {"rule", f.rule},
             {"line", finding_line(f)}});
    return doc;
}

}  // namespace kqfmt
