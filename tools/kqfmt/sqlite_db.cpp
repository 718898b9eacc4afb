// Opening configuration databases and reading them through SQLite.
#include "sqlite_db.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "input_error.h"

namespace kqfmt {
namespace {

bool is_script_name(const std::string& path) {
    static const std::string suffix = ".sql";
    return path.size() >= suffix.size() &&
           path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

// Fails unless `path` names something that is not a directory.
void require_file(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        throw InputError("cannot open " + quoted(path) + ": " + std::strerror(errno));
    if (S_ISDIR(info.st_mode)) throw InputError("cannot open " + quoted(path) + ": is a directory");
}

std::string read_file(const std::string& path) {
    require_file(path);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    if (in) content << in.rdbuf();
    if (!in) throw InputError("cannot read " + quoted(path));
    return content.str();
}

}  // namespace

SqliteDb::SqliteDb(const std::string& path) : path_(path) {
    const bool script = is_script_name(path);
    std::string sql;
    if (script)
        sql = read_file(path);
    else
        require_file(path);

    const int flags = script ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_MEMORY
                             : SQLITE_OPEN_READONLY;
    // The handle exists even when opening fails; the destructor does not run
    // for a constructor that throws, so close it here.
    try {
        if (sqlite3_open_v2(script ? ":memory:" : path.c_str(), &db_, flags, nullptr) != SQLITE_OK)
            fail(last_message());
        // A configuration has no business reaching other database files.
        sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
        if (script) {
            char* message = nullptr;
            if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
                const std::string text = message ? message : last_message();
                sqlite3_free(message);
                fail("SQL error: " + text);
            }
        }
    } catch (...) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw;
    }
}

SqliteDb::~SqliteDb() { sqlite3_close_v2(db_); }

std::string SqliteDb::last_message() const { return db_ ? sqlite3_errmsg(db_) : "out of memory"; }

void SqliteDb::fail(const std::string& message) {
    std::string line = path_ + ": " + message;
    throw InputError(line);
}

std::vector<std::string> SqliteDb::table_names() {
    Statement names = prepare("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    std::vector<std::string> result;
    while (names.step()) result.push_back(names.text(0));
    std::sort(result.begin(), result.end());
    return result;
}

Statement SqliteDb::try_prepare(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(stmt);
        stmt = nullptr;
    }
    return Statement(*this, stmt);
}

Statement SqliteDb::prepare(const std::string& sql) {
    Statement statement = try_prepare(sql);
    if (!statement.valid()) fail(last_message());
    return statement;
}

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) {
    other.stmt_ = nullptr;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    db_->fail(db_->last_message());
}

int Statement::column_count() const { return sqlite3_column_count(stmt_); }

std::string Statement::column_name(int column) const {
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? name : "";
}

std::string Statement::declared_type(int column) const {
    const char* type = sqlite3_column_decltype(stmt_, column);
    return type ? type : "";
}

int Statement::find_column(std::string_view name) const {
    const std::string wanted(name);
    for (int i = 0; i < column_count(); ++i) {
        const char* have = sqlite3_column_name(stmt_, i);
        if (have && sqlite3_stricmp(have, wanted.c_str()) == 0) return i;
    }
    return -1;
}

bool Statement::is_null(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}
bool Statement::is_integer(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_INTEGER;
}
bool Statement::is_real(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_FLOAT;
}
bool Statement::is_blob(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_BLOB;
}

long long Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

double Statement::real(int column) const { return sqlite3_column_double(stmt_, column); }

std::string Statement::text(int column) const {
    if (is_blob(column)) {
        const void* blob = sqlite3_column_blob(stmt_, column);
        const int size = sqlite3_column_bytes(stmt_, column);
        return blob ? std::string(static_cast<const char*>(blob), static_cast<std::size_t>(size))
                    : std::string();
    }
    const unsigned char* text = sqlite3_column_text(stmt_, column);
    const int size = sqlite3_column_bytes(stmt_, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size))
                : std::string();
}

std::string quote_identifier(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

}  // namespace kqfmt
