// Building the JSON report.
#include "json_report.h"

#include "json_text.h"

namespace kqfmt {
namespace {

using Json = nlohmann::ordered_json;

Json cells_json(const KQ_CELL_LIST& cells) {
    Json list = Json::array();
    for (const auto& cell : cells) list.push_back({{"row", cell.row}, {"value", cell.value}});
    return list;
}

Json table_json(const TableResult& table) {
    Json columns = Json::array();
    for (std::size_t i = 0; i < table.column_names.size(); ++i) {
        columns.push_back({{"column", table.new_columns[i].column},
                           {"name", table.column_names[i]},
                           {"old", cells_json(table.old_columns[i].cells)},
                           {"new", cells_json(table.new_columns[i].cells)}});
    }
    Json entry = {{"table", table.table}, {"columns", std::move(columns)}};
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
                        const std::vector<kqhost::LogRecord>& log) {
    Json document = {{"tables", Json::array()}, {"log", Json::array()}};
    for (const TableResult& table : tables) document["tables"].push_back(table_json(table));
    for (const kqhost::LogRecord& record : log) document["log"].push_back(record_json(record));
    return to_json_text(document);
}

}  // namespace kqfmt
