// Tables as Markdown, for reviews and issue comments.
#pragma once

#include <string>
#include <string_view>

#include "format_run.h"
#include "output.h"

namespace kqfmt {

// A Markdown table cell: printable_text of the value with "|" written "\|".
std::string markdown_cell(std::string_view value);

// A table as a heading "## NAME" with its row counts, then a table with a
// "row" column and one column per requested column. A cell shows the value
// when both views agree, "old → new" when they differ, "+ new" or "- old"
// for a row only one view has. A table whose formatting raised an error
// ends in a quoted line "> error: TEXT".
void write_markdown_table(Output& out, const TableResult& table);

}  // namespace kqfmt
