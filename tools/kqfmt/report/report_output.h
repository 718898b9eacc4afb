// Writing the formatted tables in the chosen output format, one table at a
// time as each is formatted.
#pragma once

#include <vector>

#include "commands/command_line.h"
#include "kq_host_log.h"
#include "report/output.h"
#include "run/diff_status.h"
#include "run/format_run.h"

namespace kqfmt {

// Writes tables as the command line asks: grid (coloured and fitted to a
// width as the terminal decides), JSON, CSV, TSV, Markdown or, for diff, the
// HTML review page (whose head the caller writes with html_report_start). For diff,
// --changed keeps only what differs (and leaves out tables without a change),
// --context N keeps the changed rows and N rows around each in the grid and
// the review page (which does so by itself for a large table), and --stat
// writes one summary line per table and a total instead of the grids.
class ReportWriter {
public:
    // `catalogs`: diff's catalog changes, written before the first table
    // (JSON: at the end; the review page has them in its head).
    ReportWriter(Output& out, const CommandLine& line, const std::vector<FieldChange>& catalogs);

    // Writes one table; the caller flushes.
    void table(const TableResult& table);

    // Ends the report (the JSON log, the --stat total). Returns true when
    // anything differed: a cell, a row, how a cell is shown, a definition,
    // a catalog entry, a table added or removed.
    bool finish(const std::vector<kqhost::LogRecord>& log);

private:
    Output& out_;
    const CommandLine& line_;
    bool diff_;
    const std::vector<FieldChange>& catalogs_;
    bool first_ = true;     // no table written yet
    bool written_ = false;  // a block of text written (separated by an empty line)
    DiffSummary total_;
    std::size_t tables_ = 0;
};

}  // namespace kqfmt
