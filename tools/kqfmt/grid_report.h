// The human view: one grid per table, one line per requested row and one
// column per requested column.
#pragma once

#include <ostream>
#include <vector>

#include "format_run.h"

namespace kqfmt {

struct GridStyle {
    bool colour = false;  // ANSI colours (for a terminal)
};

// Writes every table's grid. A cell whose two views agree shows the value;
// otherwise "old → new". A row that only the live view has shows "+ new",
// one that only the old view has "- old". All text passes through
// printable_text, so configuration bytes cannot drive the terminal.
void write_grid(std::ostream& out, const std::vector<TableResult>& tables, const GridStyle& style);

}  // namespace kqfmt
