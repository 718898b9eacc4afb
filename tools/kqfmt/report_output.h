// Writing the formatted tables in the chosen output format.
#pragma once

#include <ostream>
#include <vector>

#include "command_line.h"
#include "format_run.h"
#include "kq_host_log.h"

namespace kqfmt {

// Writes `tables` as the command line asks: grid (coloured and fitted to a
// width as the terminal decides), JSON, CSV, TSV or Markdown. For diff,
// --changed keeps only what differs and --stat writes one summary line per
// table and a total instead of the grids. Returns true when any cell, row
// or table differs between the two views.
bool write_report(std::ostream& out, std::ostream& err, const CommandLine& line,
                  const std::vector<TableResult>& tables,
                  const std::vector<kqhost::LogRecord>& log);

}  // namespace kqfmt
