// Reading a configuration database into host tables: the configuration
// tables with their column metadata and rows, the unit catalog and the
// system-variable catalog.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kq_host_table.h"
#include "kw_table.h"

namespace kqfmt {

class SqliteDb;

// The tables of one database. Every table is registered in `master` under
// its name; `tables` keeps the same data by name, in byte order.
struct Configuration {
    kqhost::MasterTable master;
    std::map<std::string, std::shared_ptr<kqhost::TableData>> tables;
};

// True for a table of the configuration: every table whose name does not
// begin with "kq_" (the catalogs) or "sqlite_" (SQLite's own).
bool is_configuration_table(std::string_view name);

// Type code of a column without one in kq_columns, from its declared SQL
// type, ignoring case: "INT" anywhere gives 9, else "REAL" or "DOUB" 13,
// else "FLOA" 12, anything else 15.
int type_from_declared(std::string_view declared);

// Loads every configuration table of `db` into `config`, applies kq_columns,
// and adds kq_units to the process's unit catalog and kq_sysvars to the
// master table. Throws InputError for a kq_columns row naming an unknown
// table or column, catalog rows without their required fields, and SQLite
// failures.
void load_configuration(SqliteDb& db, Configuration& config);

// The old view of `live`: a table with the live columns' metadata filled
// with the rows of the table of the same name in `old_db` (whose table
// names are `old_tables`), columns matched by position and values stored
// by the live column's type code. Live columns past the old table's column
// count read as NULL; old columns past the live count are ignored. No rows
// when `old_db` has no such table.
std::shared_ptr<kqhost::TableData> load_old_view(SqliteDb& old_db,
                                                 const std::vector<std::string>& old_tables,
                                                 const kqhost::TableData& live);

}  // namespace kqfmt
