// The machine-readable report: one JSON object with every table's cells and
// every log record of the run.
#pragma once

#include <string>
#include <vector>

#include "kq_host_log.h"
#include "report/output.h"
#include "run/field_change.h"
#include "run/format_run.h"

namespace kqfmt {

// The report, written as it goes: json_report_start, then
// json_report_table for each table in turn, then json_report_end with the
// log. Together: {"tables": [{"table", "columns": [{"column", "name",
// "old", "new"}], "error" when the call raised one}], "log": [{"kind",
// "severity", "number", "file", "line", "message"}]}; cells in request
// order. The text is that of to_json_text for the same document.
void json_report_start(Output& out);
// With `diff` every cell carries "status" (same, changed, added, removed,
// display: of its line in that column), every table a "summary"
// {"cells_changed", "rows_changed", "rows_only_old", "rows_only_new",
// "cells_display_changed", "definitions_changed"} and its "definitions"
// [{"column", "field", "old", "new"}], a table one database lacks
// "status": "removed" or "added", and a column the old database showed
// otherwise than its old view (and every column of a removed table)
// "before": [{"row", "value"}] for the rows the old database has.
void json_report_table(Output& out, const TableResult& table, bool first, bool diff = false);
// With `catalogs` (diff) the document carries "catalogs": [{"table",
// "name", "field", "old", "new"}] before the log.
void json_report_end(Output& out, const std::vector<kqhost::LogRecord>& log, bool any_table,
                     const std::vector<FieldChange>* catalogs = nullptr);

}  // namespace kqfmt
