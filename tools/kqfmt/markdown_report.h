// Tables as Markdown, for reviews and issue comments.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "format_run.h"

namespace kqfmt {

// A Markdown table cell: printable_text of the value with "|" written "\|".
std::string markdown_cell(std::string_view value);

// Per table a heading "## NAME" with its row counts, then a table with a
// "row" column and one column per requested column. A cell shows the value
// when both views agree, "old → new" when they differ, "+ new" or "- old"
// for a row only one view has. A table whose formatting raised an error
// ends in a quoted line "> error: TEXT".
void write_markdown(std::ostream& out, const std::vector<TableResult>& tables);

}  // namespace kqfmt
