// The human view: one grid per table, one line per requested row and one
// column per requested column.
#pragma once

#include "format_run.h"
#include "output.h"

namespace kqfmt {

struct GridStyle {
    bool colour = false;  // ANSI colours (for a terminal)
};

// Writes one table's grid; tables after the first are preceded by an empty
// line (`first` false). A cell whose two views agree shows the value;
// otherwise "old → new". A row that only the live view has shows "+ new",
// one that only the old view has "- old". All text passes through
// printable_text, so configuration bytes cannot drive the terminal.
void write_grid_table(Output& out, const TableResult& table, const GridStyle& style, bool first);

}  // namespace kqfmt
