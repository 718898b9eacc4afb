// The human view: one grid per table, one line per requested row and one
// column per requested column.
#pragma once

#include <cstddef>

#include "report/output.h"
#include "run/field_change.h"
#include "run/format_run.h"

namespace kqfmt {

struct GridStyle {
    bool colour = false;    // ANSI colours (for a terminal)
    std::size_t width = 0;  // widest line in display columns; 0: unlimited
};

// Writes one table's grid: a title line, then the lines as they are made. A cell whose two views
// agree shows the value; otherwise "old → new". A row that only the live view has shows "+ new",
// one that only the old view has "- old". All text passes through
// printable_text, so configuration bytes cannot drive the terminal.
// Columns are as wide as their widest cell in display columns; when the
// lines would be wider than style.width, the widest columns are narrowed
// (to no less than 4) and the cells that no longer fit are cut with "…".
// In diff: the title says "removed" or "added" for a table one database
// lacks, the definition changes follow it one per line, a cell the old
// database showed otherwise (the value being the same) shows "before ⇒
// new" in its own colour, and a line "… N unchanged rows" stands where a
// cut to the changed rows left rows out.
void write_grid_table(Output& out, const TableResult& table, const GridStyle& style);

// diff: the catalog changes, under a title "catalogs".
void write_grid_catalogs(Output& out, const std::vector<FieldChange>& changes,
                         const GridStyle& style);

}  // namespace kqfmt
