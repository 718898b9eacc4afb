// The machine-readable report: one JSON object with every table's cells and
// every log record of the run.
#pragma once

#include <string>
#include <vector>

#include "format_run.h"
#include "kq_log.h"
#include "output.h"

namespace kqfmt {

// The report, written as it goes: json_report_start, then
// json_report_table for each table in turn, then json_report_end with the
// log. Together: {"tables": [{"table", "columns": [{"column", "name",
// "old", "new"}], "error" when the call raised one}], "log": [{"kind",
// "severity", "number", "file", "line", "message"}]}; cells in request
// order. The text is that of to_json_text for the same document.
void json_report_start(Output& out);
void json_report_table(Output& out, const TableResult& table, bool first);
void json_report_end(Output& out, const std::vector<kqhost::LogRecord>& log, bool any_table);

}  // namespace kqfmt
