// A configuration database opened through SQLite: a database file, or a
// ".sql" script run into an in-memory database.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kqfmt {

class Statement;

// Largest script read: more than any configuration needs, small enough to
// hold in memory with the database it builds.
constexpr std::uint64_t kMaxScriptBytes = std::uint64_t{256} << 20;
// Longest value (text or blob, stored or computed) SQLite may produce.
constexpr int kMaxValueBytes = 64 << 20;
// Most memory SQLite may hold at once; a quarter of the machine's memory
// when that is less.
constexpr std::int64_t kMaxSqliteHeap = std::int64_t{1} << 30;

class SqliteDb {
public:
    // Opens `path` read-only (a script: into memory). Throws InputError when
    // the file is missing or cannot be read; when it is not a whole SQLite
    // database (empty, short, no header, size and page count disagree, a
    // journal or log with pending changes beside it, quick_check fails);
    // when a script holds a NUL byte, exceeds kMaxScriptBytes or fails.
    explicit SqliteDb(const std::string& path);
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    const std::string& path() const { return path_; }

    // Most SQLite virtual-machine steps a script may take, for every
    // SqliteDb opened afterwards; 0 (the default): no limit. A script is
    // the user's own program and may legitimately run long; a fuzzer sets
    // a limit so that a looping script ends.
    static void set_script_step_limit(unsigned long long steps);

    // Names of all tables in the schema, in byte order.
    std::vector<std::string> table_names();

    // Prepares one statement; throws InputError naming the database.
    Statement prepare(const std::string& sql);
    // Prepares one statement; a statement without handle when SQLite refuses.
    Statement try_prepare(const std::string& sql);

    // Throws InputError: "PATH: message".
    [[noreturn]] void fail(const std::string& message);
    // SQLite's message for the last failed call on this database.
    std::string last_message() const;

private:
    std::string path_;
    sqlite3* db_ = nullptr;
};

// One prepared statement, finalized on destruction.
class Statement {
public:
    Statement(SqliteDb& db, sqlite3_stmt* stmt) : db_(&db), stmt_(stmt) {}
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    ~Statement();

    bool valid() const { return stmt_ != nullptr; }

    // Advances to the next row; false when done. Throws InputError on error,
    // naming the context (e.g. "table 'T'") and the row being read.
    bool step();
    void set_context(std::string context) { context_ = std::move(context); }

    int column_count() const;
    std::string column_name(int column) const;
    // Declared SQL type of a table column, empty when it has none.
    std::string declared_type(int column) const;
    // Index of the result column with this name (compared as SQL compares
    // identifiers, ignoring ASCII case), -1 when there is none.
    int find_column(std::string_view name) const;

    // The current row's cell: its storage class and its value as SQLite
    // converts it. text() keeps every byte, embedded NULs included.
    int storage_class(int column) const;  // SQLITE_NULL, SQLITE_INTEGER, ...
    bool is_null(int column) const;
    bool is_integer(int column) const;
    bool is_real(int column) const;
    bool is_blob(int column) const;
    long long integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;

private:
    SqliteDb* db_;
    sqlite3_stmt* stmt_;
    std::string context_;
    long long rows_read_ = 0;
};

// A table or column name quoted for use in SQL text.
std::string quote_identifier(std::string_view name);

}  // namespace kqfmt
