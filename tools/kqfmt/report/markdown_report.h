// Tables as Markdown, for reviews and issue comments.
#pragma once

#include <string>
#include <string_view>

#include "report/output.h"
#include "run/field_change.h"
#include "run/format_run.h"

namespace kqfmt {

// A Markdown table cell: printable_text of the value with "|" written "\|".
std::string markdown_cell(std::string_view value);

// A table as a heading "## NAME" with its row counts, then a table with a
// "row" column and one column per requested column. A cell shows the value
// when both views agree, "old → new" when they differ, "+ new" or "- old"
// for a row only one view has. A table whose formatting raised an error
// ends in a quoted line "> error: TEXT".
// In diff the heading is followed by "removed" or "added" for a table one
// database lacks, the table's definition changes as a list, and a cell the
// old database showed otherwise (the value being the same) reads
// "before ⇒ new".
void write_markdown_table(Output& out, const TableResult& table);

// diff: the catalog changes as a section "## Catalogs" with a list.
void write_markdown_catalogs(Output& out, const std::vector<FieldChange>& changes);

}  // namespace kqfmt
