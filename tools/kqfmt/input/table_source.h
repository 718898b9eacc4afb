// Where the values of a host table come from, and how they are read when
// the table is shown or first read by the formatter.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kq_host_table.h"

namespace kqfmt {

class SqliteDb;

// Where the values of one host table come from: a table of a database,
// column c of the host table read from the database column positions[c]
// (none: NULL), stored by the host column's type code.
class TableSource {
public:
    TableSource(SqliteDb& db, std::string table, std::vector<std::string> table_columns,
                std::vector<int> positions, std::shared_ptr<std::string> error);

    // Stores `columns` of `data`, for the rows `rows` (rows past the row
    // count ignored) or every row, and marks them loaded. Throws InputError
    // naming the table and row when SQLite fails.
    void load(kqhost::TableData& data, const std::vector<int>& columns,
              const std::optional<std::vector<int32_t>>& rows) const;

    // A loader for data.set_column_loader: loads a whole column on first
    // read. It runs inside formatting calls, where no exception may pass:
    // its first failure is kept in `error` instead.
    kqhost::TableData::ColumnLoader column_loader() const;

private:
    int source(int column) const;

    SqliteDb* db_;
    std::string table_;
    std::vector<std::string> table_columns_;
    std::vector<int> positions_;
    std::shared_ptr<std::string> error_;
};

// Makes `data` a table of the row count of `table` in `db` whose values are
// loaded on demand from it, and returns where they come from. Throws
// InputError for a table of more rows than a host table holds.
TableSource attach_loader(kqhost::TableData& data, SqliteDb& db, const std::string& table,
                          std::vector<std::string> table_columns, std::vector<int> positions,
                          const std::shared_ptr<std::string>& error);

}  // namespace kqfmt
