// Values of a host table read from a table of a database: in rowid order,
// only the requested rows and columns, or a whole column on first read.
#include "input/table_source.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <new>

#include "input/input_error.h"
#include "input/sqlite_db.h"
#include "report/progress.h"

namespace kqfmt {
namespace {

using kqhost::TableData;

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// Numeric type codes keep numbers; every other code keeps the value's text.
bool stored_as_text(int type) {
    return type != 1 && type != 8 && type != 9 && type != 12 && type != 13;
}

// Stores the current row's cell `from` of `rows` into (column, row) of
// `data`, by the storage class SQLite reports. A REAL bound for a text
// column keeps SQLite's own text of it; a BLOB is stored as its bytes.
void store_cell(TableData& data, int column, int row, const Statement& rows, int from) {
    switch (rows.storage_class(from)) {
        case SQLITE_NULL: data.store_null(column, row); break;
        case SQLITE_INTEGER: data.store_integer(column, row, rows.integer(from)); break;
        case SQLITE_FLOAT:
            if (stored_as_text(data.column(column)->type))
                data.store_text(column, row, rows.text(from));
            else
                data.store_real(column, row, rows.real(from));
            break;
        default: data.store_text(column, row, rows.text(from)); break;
    }
}

// The columns `names` of a table in rowid order (see select_all), rows
// `offset` to `offset + limit - 1` when a limit is given. `table_columns`
// are all the table's column names: the rowid alias must be none of them.
Statement select_columns(SqliteDb& db, const std::string& table,
                         const std::vector<std::string>& table_columns,
                         const std::vector<std::string>& names, long long limit = -1,
                         long long offset = 0) {
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + quote_identifier(name);
    const std::string from = "SELECT " + list + " FROM " + quote_identifier(table);
    const std::string range =
        limit < 0 ? std::string()
                  : " LIMIT " + std::to_string(limit) + " OFFSET " + std::to_string(offset);
    const auto taken = [&](const char* alias) {
        for (const std::string& name : table_columns)
            if (sqlite3_stricmp(name.c_str(), alias) == 0) return true;
        return false;
    };
    for (const char* alias : {"rowid", "_rowid_", "oid"}) {
        if (taken(alias)) continue;
        Statement ordered = db.try_prepare(from + " ORDER BY " + alias + range);
        if (!ordered.valid()) break;
        ordered.set_context("table " + quoted(table));
        return ordered;
    }
    Statement plain = db.prepare(from + range);
    plain.set_context("table " + quoted(table));
    return plain;
}

long long count_rows(SqliteDb& db, const std::string& table) {
    Statement count = db.prepare("SELECT count(*) FROM " + quote_identifier(table));
    count.set_context("table " + quoted(table));
    return count.step() ? count.integer(0) : 0;
}

}  // namespace

TableSource attach_loader(TableData& data, SqliteDb& db, const std::string& table,
                          std::vector<std::string> table_columns, std::vector<int> positions,
                          const std::shared_ptr<std::string>& error) {
    const long long rows = count_rows(db, table);
    if (rows > INT32_MAX)
        throw InputError(db.path() + ": table " + quoted(table) + " has more rows (" +
                         std::to_string(rows) + ") than a table can hold");
    data.set_row_count(static_cast<int>(rows));
    TableSource source(db, table, std::move(table_columns), std::move(positions), error);
    data.set_column_loader(source.column_loader());
    return source;
}

TableSource::TableSource(SqliteDb& db, std::string table, std::vector<std::string> table_columns,
                         std::vector<int> positions, std::shared_ptr<std::string> error)
    : db_(&db),
      table_(std::move(table)),
      table_columns_(std::move(table_columns)),
      positions_(std::move(positions)),
      error_(std::move(error)) {}

int TableSource::source(int column) const {
    return column >= 0 && static_cast<std::size_t>(column) < positions_.size()
               ? positions_[static_cast<std::size_t>(column)]
               : -1;
}

void TableSource::load(TableData& data, const std::vector<int>& columns,
                       const std::optional<std::vector<int32_t>>& rows) const {
    std::vector<int> read;  // columns with a source, distinct
    std::vector<std::string> names;
    for (int column : columns) {
        const int from = source(column);
        if (from >= 0 && std::find(read.begin(), read.end(), column) == read.end()) {
            read.push_back(column);
            names.push_back(table_columns_[static_cast<std::size_t>(from)]);
        }
    }
    const int count = data.row_count();
    std::vector<bool> wanted;
    std::vector<int32_t> held;  // the wanted rows, ascending
    if (rows) {
        wanted.assign(static_cast<std::size_t>(count), false);
        for (int32_t row : *rows)
            if (row >= 0 && row < count) wanted[static_cast<std::size_t>(row)] = true;
        for (int row = 0; row < count; ++row)
            if (wanted[static_cast<std::size_t>(row)]) held.push_back(row);
        // Only the wanted rows get room in the table.
        for (int column : columns) data.hold_rows(column, held);
    }
    // Runs of consecutive wanted rows. A few runs are read one query each,
    // so rows not shown are never computed; many runs (each query skips
    // the rows before its run) are read in one pass that stores only the
    // wanted rows.
    std::vector<std::pair<int, int>> runs;  // [first, end)
    for (int row = 0; rows && row < count; ++row) {
        if (!wanted[static_cast<std::size_t>(row)]) continue;
        if (!runs.empty() && runs.back().second == row)
            ++runs.back().second;
        else
            runs.push_back({row, row + 1});
    }
    constexpr std::size_t kMostRunQueries = 16;
    const bool one_pass = !rows || runs.size() > kMostRunQueries;
    if (one_pass) runs.assign(1, {0, count});
    if (read.empty()) runs.clear();
    int64_t stored = 0;  // rows stored so far, for the progress line
    for (const auto& [first, end] : runs) {
        Statement values =
            select_columns(*db_, table_, table_columns_, names, one_pass ? -1 : end - first, first);
        for (int row = first; row < end && values.step(); ++row) {
            if (rows && !wanted[static_cast<std::size_t>(row)]) continue;
            progress::rows_done(++stored);
            for (std::size_t i = 0; i < read.size(); ++i)
                store_cell(data, read[i], row, values, static_cast<int>(i));
        }
    }
    if (!rows)
        for (int column : columns) data.mark_loaded(column);
}

TableData::ColumnLoader TableSource::column_loader() const {
    return [self = *this](TableData& data, int column) {
        try {
            self.load(data, {column}, std::nullopt);
        } catch (const InputError& e) {
            if (self.error_->empty()) *self.error_ = e.message();
        } catch (const std::bad_alloc&) {
            if (self.error_->empty())
                *self.error_ = "out of memory while reading table " + quoted(self.table_);
        }
    };
}

}  // namespace kqfmt
