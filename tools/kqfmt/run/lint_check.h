// Checking a configuration table: every configured column is formatted
// through the library's trace, and what the library recorded and logged is
// turned into findings an engineer can act on.
#pragma once

#include <string>
#include <vector>

#include "input/config_loader.h"

namespace kqfmt {

enum class Severity { warning, error };

// One problem of one column. `row` is the row at fault, or -1 when the
// column as a whole is; `more_rows` counts further rows with the same fault.
struct Finding {
    std::string table;
    std::string column;
    Severity severity = Severity::warning;
    long row = -1;
    long more_rows = 0;
    std::string message;
    std::string rule;  // the rule's name (lint_rules.h)
};

// Formats every row of every column of `table` (its values loaded first and
// dropped afterwards) and returns the findings in column order. Log records
// written meanwhile are findings of the column being formatted. Throws
// InputError when reading the database failed meanwhile.
// With `column` given, only that column is checked.
std::vector<Finding> lint_table(Configuration& config, const std::string& table, int column = -1);

// "TABLE.COLUMN: error: [row N] message [rule]", without the line end.
std::string finding_line(const Finding& finding);

}  // namespace kqfmt
