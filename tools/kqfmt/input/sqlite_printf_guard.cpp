// The guarded printf(): a bound on the result's length from the format and
// the arguments, then SQLite's own printf() on a private connection.
#include "input/sqlite_printf_guard.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace kqfmt {
namespace {

constexpr std::int64_t kHuge = std::int64_t{1} << 40;

// Digits at text[pos] as a number (kHuge when larger), moving pos past them.
std::int64_t read_number(const unsigned char* text, int& pos) {
    std::int64_t n = 0;
    while (text[pos] >= '0' && text[pos] <= '9') {
        n = std::min(kHuge, n * 10 + (text[pos] - '0'));
        ++pos;
    }
    return n;
}

// The bytes a value can take as printf text: its own for text and blobs,
// at most 32 for a number.
std::int64_t value_bytes(sqlite3_value* value) {
    const int type = sqlite3_value_type(value);
    return type == SQLITE_TEXT || type == SQLITE_BLOB ? sqlite3_value_bytes(value) : 32;
}

// An upper bound of the length of printf(format, args...): the format's own
// text, plus for each conversion its width and what its argument can make
// (a number: its precision and a few hundred digits; a character: four
// bytes per repeat; a string: twice its bytes, for quoting). It only has to
// be at least the real length, so every conversion letter is treated alike.
std::int64_t result_bound(const unsigned char* format, int argc, sqlite3_value** args) {
    int next = 0;
    const auto int_arg = [&]() -> std::int64_t {
        if (next >= argc) return 0;
        const std::int64_t v = sqlite3_value_int64(args[next++]);
        if (v < 0) return v < -kHuge ? kHuge : -v;
        return std::min(kHuge, v);
    };
    std::int64_t bound = 0;
    for (int pos = 0; format[pos] != 0; ++pos) {
        ++bound;
        if (format[pos] != '%') continue;
        ++pos;
        while (format[pos] != 0 &&
               std::string("-+ #!0,").find(static_cast<char>(format[pos])) != std::string::npos)
            ++pos;
        std::int64_t width = 0;
        if (format[pos] == '*') {
            width = int_arg();
            ++pos;
        } else {
            width = read_number(format, pos);
        }
        std::int64_t precision = 1;
        if (format[pos] == '.') {
            ++pos;
            if (format[pos] == '*') {
                precision = int_arg();
                ++pos;
            } else {
                precision = read_number(format, pos);
            }
        }
        while (format[pos] == 'l') ++pos;
        if (format[pos] == 0) break;
        if (format[pos] == '%' || format[pos] == 'n') {  // these take no argument
            bound += width;
            continue;
        }
        const std::int64_t argument = next < argc ? value_bytes(args[next++]) : 0;
        bound += width + 4 * precision + 2 * argument + 512;
        if (bound > kHuge) return kHuge;
    }
    return bound;
}

// A private connection whose printf() is SQLite's own, with one prepared
// "SELECT printf(?1, ..., ?N)" per number of arguments.
class PlainPrintf {
public:
    explicit PlainPrintf(std::int64_t limit) : limit_(limit) {}
    ~PlainPrintf() {
        for (sqlite3_stmt* stmt : statements_) sqlite3_finalize(stmt);
        sqlite3_close_v2(db_);
    }
    PlainPrintf(const PlainPrintf&) = delete;
    PlainPrintf& operator=(const PlainPrintf&) = delete;

    std::int64_t limit() const { return limit_; }

    void call(sqlite3_context* context, int argc, sqlite3_value** args) {
        sqlite3_stmt* stmt = statement(argc);
        if (!stmt) {
            sqlite3_result_error_nomem(context);
            return;
        }
        for (int i = 0; i < argc; ++i) sqlite3_bind_value(stmt, i + 1, args[i]);
        if (sqlite3_step(stmt) == SQLITE_ROW)
            sqlite3_result_value(context, sqlite3_column_value(stmt, 0));
        else
            sqlite3_result_error(context, sqlite3_errmsg(db_), -1);
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }

private:
    sqlite3_stmt* statement(int argc) {
        if (!db_) {
            if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY,
                                nullptr) != SQLITE_OK)
                return nullptr;
            sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, static_cast<int>(limit_));
        }
        if (static_cast<std::size_t>(argc) >= statements_.size())
            statements_.resize(static_cast<std::size_t>(argc) + 1, nullptr);
        sqlite3_stmt*& stmt = statements_[static_cast<std::size_t>(argc)];
        if (!stmt) {
            std::string sql = "SELECT printf(";
            for (int i = 1; i <= argc; ++i) sql += (i > 1 ? ",?" : "?") + std::to_string(i);
            sql += ")";
            sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr);
        }
        return stmt;
    }

    std::int64_t limit_;
    sqlite3* db_ = nullptr;
    std::vector<sqlite3_stmt*> statements_;
};

void guarded_printf(sqlite3_context* context, int argc, sqlite3_value** args) {
    auto* plain = static_cast<PlainPrintf*>(sqlite3_user_data(context));
    const unsigned char* format = argc > 0 ? sqlite3_value_text(args[0]) : nullptr;
    if (format && result_bound(format, argc - 1, args + 1) > plain->limit()) {
        const std::string text(reinterpret_cast<const char*>(format));
        const std::string message =
            "printf() with the format '" + text.substr(0, 40) + (text.size() > 40 ? "...'" : "'") +
            " could make a value longer than " + std::to_string(plain->limit() >> 20) +
            " MiB, more than a configuration holds";
        sqlite3_result_error(context, message.c_str(), -1);
        sqlite3_result_error_code(context, SQLITE_TOOBIG);
        return;
    }
    plain->call(context, argc, args);
}

void destroy(void* plain) { delete static_cast<PlainPrintf*>(plain); }

}  // namespace

int guard_printf(sqlite3* db, std::int64_t limit) {
    for (const char* name : {"printf", "format"}) {
        const int rc = sqlite3_create_function_v2(
            db, name, -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
            new PlainPrintf(limit), guarded_printf, nullptr, nullptr, destroy);
        if (rc != SQLITE_OK) return rc;
    }
    return SQLITE_OK;
}

}  // namespace kqfmt
