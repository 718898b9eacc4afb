// Writing the formatted tables in the chosen output format, one table at a
// time as each is formatted.
#pragma once

#include <vector>

#include "command_line.h"
#include "diff_status.h"
#include "format_run.h"
#include "kq_host_log.h"
#include "output.h"

namespace kqfmt {

// Writes tables as the command line asks: grid (coloured and fitted to a
// width as the terminal decides), JSON, CSV, TSV, Markdown or, for diff, the
// HTML review page (whose head the caller writes with html_report_start). For diff,
// --changed keeps only what differs and --stat writes one summary line per
// table and a total instead of the grids.
class ReportWriter {
public:
    ReportWriter(Output& out, const CommandLine& line);

    // Writes one table; the caller flushes.
    void table(const TableResult& table);

    // Ends the report (the JSON log, the --stat total). Returns true when
    // any cell, row or table differed between the two views.
    bool finish(const std::vector<kqhost::LogRecord>& log);

private:
    Output& out_;
    const CommandLine& line_;
    bool diff_;
    bool first_ = true;
    DiffSummary total_;
    std::size_t tables_ = 0;
};

}  // namespace kqfmt
