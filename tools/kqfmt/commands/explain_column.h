// kqfmt explain DB TABLE COLUMN: the trace of one column of a real
// configuration.
#pragma once

#include <nlohmann/json.hpp>

#include "commands/command_line.h"

namespace kqfmt {

// Opens line.db and explains line.column of line.tables[0]. The document
// has the members of explain_format's (kqfmt explain FORMAT) but "sample",
// and after "table" and "column": "rows", each {"row", "stored", "old",
// "new"} for the first rows (the stored value as the table's string read
// gives it, and what each view shows), and "findings", each lint finding
// of the column as {"severity", "row", "message", "rule", "line"}. Throws
// InputError for bad input, an unknown table or column.
nlohmann::ordered_json explain_column(const CommandLine& line);

}  // namespace kqfmt
