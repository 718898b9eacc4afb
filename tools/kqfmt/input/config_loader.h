// Reading a configuration database into host tables: the configuration
// tables with their column metadata and rows, the unit catalog and the
// system-variable catalog.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/table_source.h"
#include "kq_host_table.h"
#include "kq_host_units.h"
#include "kw_table.h"
#include "run/lint_rules.h"

namespace kqfmt {

// The tables of one database. Every table is registered in `master` under
// its name; `tables` keeps the same data by name, in byte order, and
// `sources` where their values come from. Values are loaded when first
// read (or by TableSource::load) and may be dropped again with unload();
// a failure while loading during a formatting call is kept in load_error.
struct Configuration {
    // The fields of a kq_columns row, in the order of kColumnFields; none
    // where the row leaves a field NULL or kq_columns lacks it.
    using Described = std::vector<std::optional<std::string>>;

    kqhost::MasterTable master;
    std::map<std::string, std::shared_ptr<kqhost::TableData>> tables;
    std::map<std::string, TableSource> sources;
    std::shared_ptr<std::string> load_error = std::make_shared<std::string>();
    std::vector<LintIgnore> lint_ignore;  // the rows of kq_lint_ignore
    // What a comparison with another configuration reads: the declared SQL
    // types of each table's columns, the kq_columns row that counts for each
    // described column (by table, then column name), and the catalog entries
    // the database defines (kq_units by name, kq_sysvars name to display name).
    std::map<std::string, std::vector<std::string>> declared_types;
    std::map<std::string, std::map<std::string, Described>> described;
    std::map<std::string, kqhost::UnitDef> units;
    std::map<std::string, std::string> sys_vars;
};

// The kq_columns fields a column's definition consists of.
extern const char* const kColumnFields[8];

// Makes the process's unit catalog the built-in one with the entries of
// `config` added, as load_configuration left it for that database.
void use_units(const Configuration& config);

// The old view of a table and where its values come from (none when the
// old database has no such table).
struct OldView {
    std::shared_ptr<kqhost::TableData> data;
    std::optional<TableSource> source;
};

// True for a table of the configuration: every table whose name does not
// begin with "kq_" (the catalogs) or "sqlite_" (SQLite's own).
bool is_configuration_table(std::string_view name);

// Type code of a column without one in kq_columns, from its declared SQL
// type, ignoring case: "INT" anywhere gives 9, else "REAL" or "DOUB" 13,
// else "FLOA" 12, anything else 15.
int type_from_declared(std::string_view declared);

// Describes every configuration table of `db` in `config` (columns, row
// count; values are loaded on demand), applies kq_columns,
// adds kq_units to the process's unit catalog and kq_sysvars to the
// master table, and keeps the rows of kq_lint_ignore. Throws InputError for a kq_columns row naming
// an unknown table or column, catalog rows without their required fields, and SQLite failures.
void load_configuration(SqliteDb& db, Configuration& config);

// The old view of `live`: a table with the live columns' metadata filled
// with the rows of the table of the same name in `old_db` (whose table
// names are `old_tables`), columns matched by position and values stored
// by the live column's type code. Live columns past the old table's column
// count read as NULL; old columns past the live count are ignored. No rows
// when `old_db` has no such table.
// Failures while loading on demand go to `error`.
OldView load_old_view(SqliteDb& old_db, const std::vector<std::string>& old_tables,
                      const kqhost::TableData& live, const std::shared_ptr<std::string>& error);

}  // namespace kqfmt
