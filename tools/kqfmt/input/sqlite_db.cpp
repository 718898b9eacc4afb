// Opening configuration databases and reading them through SQLite.
#include "input/sqlite_db.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "input/input_error.h"
#include "input/sqlite_printf_guard.h"

namespace kqfmt {
namespace {

bool is_script_name(const std::string& path) {
    static const std::string suffix = ".sql";
    return path.size() >= suffix.size() &&
           path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::string mib(std::uint64_t bytes) { return std::to_string(bytes >> 20) + " MiB"; }

// A file descriptor closed on destruction.
class FileHandle {
public:
    explicit FileHandle(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ < 0) throw InputError("cannot open " + quoted(path) + ": " + std::strerror(errno));
    }
    ~FileHandle() { ::close(fd_); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Reads up to `size` bytes; fewer only at the end of the file.
    std::size_t read(char* into, std::size_t size, const std::string& path) {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::read(fd_, into + done, size - done);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                throw InputError("cannot read " + quoted(path) + ": " + std::strerror(errno));
            }
            done += static_cast<std::size_t>(n);
        }
        return done;
    }
    struct stat info(const std::string& path) const {
        struct stat result;
        if (::fstat(fd_, &result) != 0)
            throw InputError("cannot read " + quoted(path) + ": " + std::strerror(errno));
        if (S_ISDIR(result.st_mode))
            throw InputError("cannot open " + quoted(path) + ": is a directory");
        return result;
    }

private:
    int fd_;
};

// The whole script, read once. Its size is checked before (when the file
// says it) and while it is read, so a device or a huge sparse file is
// refused without reading it all; a NUL byte would end the SQL text early.
std::string read_script(const std::string& path) {
    FileHandle file(path);
    const struct stat info = file.info(path);
    const std::string too_large = path + ": the script is larger than " + mib(kMaxScriptBytes) +
                                  ", more than a configuration holds";
    if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) > kMaxScriptBytes)
        throw InputError(too_large);
    std::string sql;
    constexpr std::size_t kChunk = 1 << 16;
    for (;;) {
        const std::size_t old_size = sql.size();
        sql.resize(old_size + kChunk);
        const std::size_t n = file.read(&sql[old_size], kChunk, path);
        sql.resize(old_size + n);
        const void* nul = std::memchr(sql.data() + old_size, '\0', n);
        if (nul)
            throw InputError(path + ": the script holds a NUL byte at offset " +
                             std::to_string(static_cast<const char*>(nul) - sql.data()) +
                             " (a script is SQL text)");
        if (sql.size() > kMaxScriptBytes) throw InputError(too_large);
        if (n < kChunk) return sql;
    }
}

std::uint32_t big_endian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
    return value;
}

// Size of a file beside the database (its journal or write-ahead log), 0
// when there is none.
std::uint64_t side_file_size(const std::string& path, const char* suffix) {
    struct stat info;
    if (::stat((path + suffix).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

// True when the journal beside the database begins with a rollback
// journal's header: a transaction was cut off and its journal was not
// rolled back. Reading the database as it is would show half a change.
bool has_hot_journal(const std::string& path) {
    static const unsigned char kMagic[8] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
    if (side_file_size(path, "-journal") < sizeof kMagic) return false;
    const int fd = ::open((path + "-journal").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    unsigned char head[sizeof kMagic] = {};
    const bool hot = ::read(fd, head, sizeof head) == static_cast<ssize_t>(sizeof head) &&
                     std::memcmp(head, kMagic, sizeof kMagic) == 0;
    ::close(fd);
    return hot;
}

// The checks a file passes before SQLite is asked to read it: an SQLite
// header, a size that agrees with the page count the header records, and no
// transaction left behind in a journal or write-ahead log. Returns true for
// a database in write-ahead-log mode.
bool check_database_file(const std::string& path) {
    FileHandle file(path);
    const struct stat info = file.info(path);
    unsigned char header[100];
    const std::size_t got = file.read(reinterpret_cast<char*>(header), sizeof header, path);
    static const char kMagic[] = "SQLite format 3";  // with its NUL: 16 bytes
    if (got == 0) throw InputError(path + ": the file is empty, not an SQLite database");
    if (got < sizeof header || std::memcmp(header, kMagic, sizeof kMagic) != 0)
        throw InputError(
            path + ": not an SQLite database (no SQLite header)" +
            (got < sizeof header ? " and only " + std::to_string(got) + " bytes" : ""));
    if (!S_ISREG(info.st_mode))
        throw InputError(path + ": not a regular file; give the database as a file");

    // Page size: a power of two from 512 to 65536, the latter written as 1.
    std::uint32_t page_size = big_endian(header + 16, 2);
    if (page_size == 1) page_size = 65536;
    if (page_size < 512 || (page_size & (page_size - 1)) != 0)
        throw InputError(path + ": the SQLite header is damaged (page size " +
                         std::to_string(page_size) + ")");
    // The page count in the header is current only when the change counter
    // beside it matches the one that validates it; otherwise (a file of a
    // very old SQLite) the size must at least be whole pages.
    const std::uint64_t size = static_cast<std::uint64_t>(info.st_size);
    const std::uint32_t pages = big_endian(header + 28, 4);
    const bool count_valid = big_endian(header + 24, 4) == big_endian(header + 92, 4) && pages > 0;
    if (count_valid && size != static_cast<std::uint64_t>(pages) * page_size)
        throw InputError(path + ": the file is " +
                         (size < pages * std::uint64_t{page_size} ? "cut short"
                                                                  : "longer than its header says") +
                         ": its header gives " + std::to_string(pages) + " pages of " +
                         std::to_string(page_size) + " bytes (" +
                         std::to_string(static_cast<std::uint64_t>(pages) * page_size) +
                         " bytes), the file has " + std::to_string(size) + " bytes");
    if (!count_valid && size % page_size != 0)
        throw InputError(path + ": the file is cut short: " + std::to_string(size) +
                         " bytes are not whole pages of " + std::to_string(page_size) + " bytes");

    if (has_hot_journal(path))
        throw InputError(path + ": a transaction was cut off and its journal " +
                         quoted(path + "-journal") +
                         " was not rolled back; open the database once with SQLite to repair it");
    const bool wal = header[18] == 2 || header[19] == 2;
    if (wal && side_file_size(path, "-wal") > 0)
        throw InputError(path + ": changes are still in " + quoted(path + "-wal") +
                         " (the database is open elsewhere or was not closed cleanly); close it "
                         "or checkpoint it first");
    return wal;
}

// A file name as an SQLite URI: every byte but letters, digits, "/" and
// "-._~" percent-encoded.
std::string file_uri(const std::string& path, const char* query) {
    std::string uri = "file:";
    char escape[4];
    for (const char c : path) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || std::strchr("/-._~", c)) {
            uri += c;
        } else {
            std::snprintf(escape, sizeof escape, "%%%02X", u);
            uri += escape;
        }
    }
    return uri + query;
}

// Memory SQLite may take in all, and the longest value it may make: a
// stored or generated value (a generated column can ask printf for
// gigabytes) fails cleanly instead of exhausting memory.
std::int64_t heap_limit() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page = ::sysconf(_SC_PAGESIZE);
    std::int64_t quarter = pages > 0 && page > 0 ? std::int64_t{pages} * page / 4 : kMaxSqliteHeap;
    return std::min<std::int64_t>(quarter, kMaxSqliteHeap);
}

unsigned long long g_script_step_limit = 0;

// How often the progress handler runs, in virtual-machine steps.
constexpr int kStepsPerCheck = 1000;

// Counts a script's steps; stops it past the limit.
int count_steps(void* steps) {
    unsigned long long& done = *static_cast<unsigned long long*>(steps);
    done += kStepsPerCheck;
    return done > g_script_step_limit ? 1 : 0;
}

}  // namespace

void SqliteDb::set_script_step_limit(unsigned long long steps) { g_script_step_limit = steps; }

SqliteDb::SqliteDb(const std::string& path) : path_(path) {
    const bool script = is_script_name(path);
    std::string sql;
    bool wal = false;
    if (script)
        sql = read_script(path);
    else
        wal = check_database_file(path);

    sqlite3_hard_heap_limit64(heap_limit());
    // A database in write-ahead-log mode is read as immutable: without that,
    // even a read-only connection creates -wal and -shm files beside it.
    // check_database_file made sure the log holds nothing.
    // The connection stays on one thread, so SQLite need not lock it on every
    // call (NOMUTEX); reading a large table makes millions of calls.
    const int flags = SQLITE_OPEN_NOMUTEX |
                      (script ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_MEMORY
                              : SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    const std::string name =
        script ? ":memory:" : file_uri(path, wal ? "?immutable=1" : "?mode=ro");
    // The handle exists even when opening fails; the destructor does not run
    // for a constructor that throws, so close it here.
    try {
        if (sqlite3_open_v2(name.c_str(), &db_, flags, nullptr) != SQLITE_OK)
            fail("cannot open: " + last_message());
        // A configuration has no business reaching other database files.
        sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
        sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
        if (guard_printf(db_, kMaxValueBytes) != SQLITE_OK)
            fail("cannot set up SQLite: " + last_message());
        if (script) {
            unsigned long long steps = 0;
            if (g_script_step_limit > 0)
                sqlite3_progress_handler(db_, kStepsPerCheck, count_steps, &steps);
            char* message = nullptr;
            const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
            sqlite3_progress_handler(db_, 0, nullptr, nullptr);
            if (rc != SQLITE_OK) {
                const std::string text = message ? message : last_message();
                sqlite3_free(message);
                fail("SQL error: " + text);
            }
        } else {
            // The check computes generated columns too, so a value too long
            // for a configuration is found here.
            Statement check = prepare("PRAGMA quick_check(1)");
            check.set_context("while checking the database");
            if (check.step() && check.text(0) != "ok") {
                std::string found = check.text(0);
                const std::string banner = "*** in database main ***\n";
                if (found.compare(0, banner.size(), banner) == 0) found.erase(0, banner.size());
                std::replace(found.begin(), found.end(), '\n', ' ');
                fail("the database is damaged (SQLite's quick_check: " + found + ")");
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

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(other.stmt_), context_(std::move(other.context_)) {
    other.stmt_ = nullptr;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        ++rows_read_;
        return true;
    }
    if (rc == SQLITE_DONE) return false;
    std::string cause = db_->last_message();
    if (rc == SQLITE_TOOBIG && cause.rfind("printf()", 0) != 0)
        cause = "a value is longer than " + mib(kMaxValueBytes) +
                ", more than a configuration holds (" + cause + ")";
    else if (rc == SQLITE_NOMEM)
        cause = "SQLite ran out of the memory it may use (" +
                mib(static_cast<std::uint64_t>(heap_limit())) + ")";
    if (context_.empty()) db_->fail(cause);
    if (rows_read_ == 0 && context_.rfind("while ", 0) == 0) db_->fail(context_ + ": " + cause);
    db_->fail(context_ + ", row " + std::to_string(rows_read_) + ": " + cause);
}

}  // namespace kqfmt
