// Building the JSON report.
#include "json_report.h"

#include "diff_status.h"
#include "json_text.h"

namespace kqfmt {
namespace {

using Json = nlohmann::ordered_json;

Json cells_json(const KQ_CELL_LIST& cells) {
    Json list = Json::array();
    for (const auto& cell : cells) list.push_back({{"row", cell.row}, {"value", cell.value}});
    return list;
}

// diff: every cell also carries the status of its line in that column.
void add_status(Json& cells, const TableResult& table, std::size_t column) {
    for (std::size_t line = 0; line < cells.size(); ++line)
        cells[line]["status"] = status_name(cell_status(line_pair(table, column, line)));
}

Json table_json(const TableResult& table, bool diff) {
    Json columns = Json::array();
    for (std::size_t i = 0; i < table.column_names.size(); ++i) {
        Json old_cells = cells_json(table.old_columns[i].cells);
        Json new_cells = cells_json(table.new_columns[i].cells);
        if (diff) {
            add_status(old_cells, table, i);
            add_status(new_cells, table, i);
        }
        columns.push_back({{"column", table.new_columns[i].column},
                           {"name", table.column_names[i]},
                           {"old", std::move(old_cells)},
                           {"new", std::move(new_cells)}});
    }
    Json entry = {{"table", table.table}, {"columns", std::move(columns)}};
    if (diff) {
        const DiffSummary summary = summarise(table);
        entry["summary"] = {{"cells_changed", summary.cells_changed},
                            {"rows_changed", summary.rows_changed},
                            {"rows_only_old", summary.rows_only_old},
                            {"rows_only_new", summary.rows_only_new}};
    }
    if (table.error) entry["error"] = *table.error;
    return entry;
}

Json record_json(const kqhost::LogRecord& record) {
    return {{"kind", record.sys ? "sys" : "debug"},
            {"severity", record.severity},
            {"number", record.number},
            {"file", record.file},
            {"line", record.line},
            {"message", record.message}};
}

}  // namespace

std::string json_report(const std::vector<TableResult>& tables,
                        const std::vector<kqhost::LogRecord>& log, bool diff) {
    Json document = {{"tables", Json::array()}, {"log", Json::array()}};
    for (const TableResult& table : tables) document["tables"].push_back(table_json(table, diff));
    for (const kqhost::LogRecord& record : log) document["log"].push_back(record_json(record));
    return to_json_text(document);
}

}  // namespace kqfmt
