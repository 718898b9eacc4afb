// Reading the optional kq_lint_ignore table of a configuration database.
#pragma once

#include <vector>

#include "run/lint_rules.h"

namespace kqfmt {

class SqliteDb;

// The rows of kq_lint_ignore(table_name, column_name, rule); a NULL field
// (or a missing column) is absent. Throws InputError when SQLite fails.
std::vector<LintIgnore> read_lint_ignore(SqliteDb& db);

}  // namespace kqfmt
