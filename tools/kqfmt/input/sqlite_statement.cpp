// Reading the columns of a row of a prepared statement, and quoting names
// for SQL text.
#include <sqlite3.h>

#include <string>
#include <string_view>

#include "input/sqlite_db.h"

namespace kqfmt {

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

int Statement::storage_class(int column) const { return sqlite3_column_type(stmt_, column); }

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
