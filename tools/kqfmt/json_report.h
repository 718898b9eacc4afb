// The machine-readable report: one JSON object with every table's cells and
// every log record of the run.
#pragma once

#include <string>
#include <vector>

#include "format_run.h"
#include "kq_host_log.h"

namespace kqfmt {

// {"tables": [{"table", "columns": [{"column", "name", "old", "new"}],
// "error" when the call raised one}], "log": [{"kind", "severity",
// "number", "file", "line", "message"}]}; cells in request order. With
// `diff` every cell carries "status" (same, changed, added, removed: of its
// line in that column) and every table a "summary" {"cells_changed",
// "rows_changed", "rows_only_old", "rows_only_new"}.
std::string json_report(const std::vector<TableResult>& tables,
                        const std::vector<kqhost::LogRecord>& log, bool diff = false);

}  // namespace kqfmt
