// The catalog tables, as kqfmt schema prints them.
#include "commands/schema_text.h"

namespace kqfmt {

const char* schema_text() {
    return R"(-- A configuration database for kqfmt. Every table whose name does not
-- begin with kq_ or sqlite_ is a configuration table: its columns in
-- declared order are columns 0, 1, 2, ..., its rows in rowid order rows
-- 0, 1, 2, .... The three kq_ tables below are optional catalogs.

-- How the columns of the configuration tables are shown. A NULL (or a
-- missing column of this table) means the default; a later row for the
-- same column replaces an earlier one.
CREATE TABLE kq_columns (
  table_name    TEXT NOT NULL,  -- a configuration table
  column_name   TEXT NOT NULL,  -- one of its columns
  type          INTEGER,        -- data type code 1, 8, 9, 12, 13 or 15; NULL: from the declared SQL type
  us_format     TEXT,           -- format string; NULL: empty
  units         TEXT,           -- unit the values are stored in; NULL: none
  units_us      TEXT,           -- unit they are shown in; NULL: none
  is_date_time  INTEGER,        -- 1 for a date/time column; NULL: 0
  label_col     TEXT,           -- label column; NULL: empty
  component_sel TEXT,           -- component selection; NULL: empty
  internal_name TEXT            -- NULL: the column's name
);

-- Units added to the built-in catalog, or replacing the entry of that name.
CREATE TABLE kq_units (
  name     TEXT NOT NULL,  -- the name formats and kq_columns use
  id       INTEGER NOT NULL,
  display  TEXT,           -- text shown after a value; NULL: the name
  quantity TEXT,           -- units convert only within one quantity; NULL: empty
  scale    REAL,           -- SI value = value * scale + offset; NULL: 1
  "offset" REAL            -- NULL: 0
);

-- Display names of system variables.
CREATE TABLE kq_sysvars (
  name         TEXT NOT NULL,
  display_name TEXT  -- NULL: the name itself
);

-- Findings of kqfmt lint this configuration accepts.
CREATE TABLE kq_lint_ignore (
  table_name  TEXT,  -- NULL: every table
  column_name TEXT,  -- NULL: every column of the table
  rule        TEXT   -- NULL: every rule (docs/lint-rules.md lists them)
);
)";
}

}  // namespace kqfmt
