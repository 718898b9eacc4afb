// kqfmt given files that are not whole databases, hostile names and values,
// requests too large for memory, and output that cannot be written.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace {

using kqtool::run_kqfmt;
using kqtool::RunOptions;
using kqtool::Stdout;
using kqtool::ToolResult;
using Strings = std::vector<std::string>;

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// A scratch folder with good.db, the shipped example as a database file.
class HostileInput : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char name[] = "/tmp/kq_hostile_XXXXXX";
        dir_ = ::mkdtemp(name) ? name : "";
        make_db(path("good.db"), read_file(kqtool::example("analyser.sql")));
        good_ = read_file(path("good.db"));
    }
    static void TearDownTestSuite() {
        if (!dir_.empty()) std::system(("rm -rf '" + dir_ + "'").c_str());
    }
    static std::string path(const std::string& name) { return dir_ + "/" + name; }
    static void make_db(const std::string& file, const std::string& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
        sqlite3_close(db);
    }
    // Expects exit 2, nothing on standard output and one line on standard
    // error holding `part`; when `file` is given, the line names it and
    // `part` comes after its last mention (a file named "empty.db" must not
    // pass for the cause "empty").
    static void expect_refused(const ToolResult& result, const std::string& part,
                               const std::string& name, const std::string& file = "") {
        EXPECT_EQ(result.status, 2) << name << ": " << result.err;
        EXPECT_EQ(result.out, "") << name;
        EXPECT_EQ(result.err.rfind("kqfmt: ", 0), 0u) << name << ": " << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << name << ": " << result.err;
        const std::size_t named = file.empty() ? 0 : result.err.rfind(file);
        ASSERT_NE(named, std::string::npos) << name << ": " << result.err;
        EXPECT_NE(result.err.find(part, named + file.size()), std::string::npos)
            << name << ": " << result.err;
    }

    static std::string dir_;
    static std::string good_;
};

std::string HostileInput::dir_;
std::string HostileInput::good_;

TEST_F(HostileInput, FilesThatAreNotWholeDatabasesAreRefused) {
    struct Case {
        const char* name;  // file in the scratch folder, or an absolute path
        std::function<void(const std::string&)> make;
        const char* message;
    };
    std::string damaged = good_;
    damaged.replace(2 * 4096, 4, "\xff\xff\xff\xff");  // page 3's header
    const std::vector<Case> cases = {
        {"cut.db", [&](auto& p) { write_file(p, good_.substr(0, good_.size() - 100)); },
         "cut short"},
        {"longer.db", [&](auto& p) { write_file(p, good_ + std::string(100, 'x')); }, "longer"},
        {"empty.db", [](auto& p) { write_file(p, ""); }, "empty"},
        {"one.db", [&](auto& p) { write_file(p, good_.substr(0, 1)); }, "not an SQLite"},
        {"/dev/null", nullptr, "empty"},
        {"/proc/self/status", nullptr, "not an SQLite"},
        {"damaged.db", [&](auto& p) { write_file(p, damaged); }, "damaged"},
        {"hot.db",
         [&](auto& p) {
             write_file(p, good_);
             write_file(p + "-journal", std::string("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8) +
                                            std::string(504, '\0'));
         },
         "journal"},
        {"pending.db",
         [&](auto& p) {
             std::string wal = good_;
             wal[18] = wal[19] = 2;  // write-ahead-log mode
             write_file(p, wal);
             write_file(p + "-wal", std::string(4096, 'w'));
         },
         "-wal"},
        {"nul.sql", [](auto& p) { write_file(p, std::string("CREATE TABLE T(a);\0--", 21)); },
         "NUL"},
        {"zero.sql", [](auto& p) { ::symlink("/dev/zero", p.c_str()); }, "NUL"},
        {"huge.sql", [](auto& p) { ::truncate((write_file(p, ""), p).c_str(), 300 << 20); },
         "256 MiB"},
    };
    for (const Case& c : cases) {
        const std::string file = c.name[0] == '/' ? c.name : path(c.name);
        if (c.make) c.make(file);
        expect_refused(run_kqfmt({"show", file}), c.message, c.name, file);
        expect_refused(run_kqfmt({"diff", path("good.db"), file, "--json"}), c.message, c.name,
                       file);
    }
}

TEST_F(HostileInput, DatabasesAreOnlyReadAndLeaveNoFileBeside) {
    const std::string wal = path("wal.db");
    write_file(wal, good_);
    make_db(wal, "PRAGMA journal_mode=WAL;");
    const ToolResult shown = run_kqfmt({"show", wal, "STREAMS"});
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out, run_kqfmt({"show", path("good.db"), "STREAMS"}).out);
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        EXPECT_FALSE(exists(wal + suffix)) << suffix;
}

TEST_F(HostileInput, FailedWritesAreTroubleNotSuccess) {
    for (const Stdout to : {Stdout::full_device, Stdout::closed, Stdout::closed_pipe}) {
        RunOptions options;
        options.stdout_to = to;
        for (const char* format : {"--json", "--debug"}) {
            const ToolResult result = run_kqfmt({"show", path("good.db"), format}, options);
            EXPECT_EQ(result.status, 2) << static_cast<int>(to) << result.err;
            EXPECT_NE(result.err.find("cannot write to standard output"), std::string::npos)
                << result.err;
        }
    }
}

TEST_F(HostileInput, ControlBytesInMessagesAreEscapedAndNulDoesNotCutThem) {
    const std::string db = path("names.db");
    make_db(db,
            "CREATE TABLE T(a); CREATE TABLE kq_columns(table_name, column_name);"
            "INSERT INTO kq_columns VALUES ('T', 'x' || char(27) || '[2J' || char(0) || 'y');");
    expect_refused(run_kqfmt({"show", db}), "'T.x\\x1b[2J\\x00y'", "kq_columns");
    expect_refused(run_kqfmt({"show", path("good.db"), "A\x1b]0;\x07"}), "'A\\x1b]0;\\x07'",
                   "table argument");
}

TEST_F(HostileInput, AColumnWithoutFormatIsNamedInPlainWords) {
    const std::string db = path("plain.db");
    make_db(db, "CREATE TABLE T(a INTEGER, b TEXT); INSERT INTO T VALUES (1, 'x');");
    const ToolResult grid = run_kqfmt({"show", db});
    EXPECT_EQ(grid.status, 3);
    const std::string message =
        "T.a: the column has no format string; kq_columns gives it one (kqfmt schema shows the "
        "table)";
    EXPECT_NE(grid.out.find("error: " + message + "\n"), std::string::npos) << grid.out;
    EXPECT_EQ(run_kqfmt({"show", db, "--json"}).out.find("basic_string"), std::string::npos);
}

TEST_F(HostileInput, RequestsAndValuesTooLargeForMemory) {
    // --columns repeating a column asks for 2 x 100,000 x 1,000 cells.
    std::string columns = "name";
    for (int i = 1; i < 1000; ++i) columns += ",name";
    expect_refused(
        run_kqfmt({"show", path("good.db"), "STREAMS", "--rows", "0-99999", "--columns", columns}),
        "--columns", "repeated column");

    // A generated value of 300 MB is bounded by SQLite's length limit.
    const std::string big = path("big.sql");
    write_file(big,
               "CREATE TABLE T(x INTEGER, a TEXT GENERATED ALWAYS AS "
               "(printf('%.*c', 300000000, 'x')) VIRTUAL); INSERT INTO T(x) VALUES (1);"
               "CREATE TABLE kq_columns(table_name, column_name, us_format);"
               "INSERT INTO kq_columns VALUES ('T', 'a', '%s');");
    // SQLite's own printf() would give an empty text there, silently.
    const ToolResult generated = run_kqfmt({"show", big, "T", "--columns", "a"});
    EXPECT_EQ(generated.status, 2) << generated.signal;
    EXPECT_NE(generated.err.find("printf() with the format '%.*c' could make a value longer"),
              std::string::npos)
        << generated.err;
    if (kqtool::tool_runs_plain()) {
        EXPECT_LT(generated.peak_kb, 300 * 1024);
    }

    // 50 MB in a column of 1,000 rows: only the rows and columns asked for
    // are read.
    const std::string wide = path("wide.db");
    make_db(wide,
            "CREATE TABLE W(n INTEGER, big TEXT GENERATED ALWAYS AS (printf('%.*c', 50000, 'x')));"
            "WITH RECURSIVE r(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM r WHERE i < 999) "
            "INSERT INTO W(n) SELECT i FROM r; CREATE TABLE kq_columns(table_name, column_name, "
            "us_format); INSERT INTO kq_columns VALUES ('W', 'n', '%s'), ('W', 'big', '%s');");
    for (const char* column : {"n", "big"}) {
        const ToolResult few = run_kqfmt({"show", wide, "--rows", "0-9", "--columns", column});
        EXPECT_EQ(few.status, 0) << few.err;
        EXPECT_EQ(few.out.find(std::string(50000, 'x')) != std::string::npos,
                  std::string(column) == "big");
        if (kqtool::tool_runs_plain()) {
            EXPECT_LT(few.peak_kb, 30 * 1024) << column;
        }
    }
}

TEST_F(HostileInput, MemoryGrowsWithTheCellsTextAndRunningOutIsTrouble) {
    if (!kqtool::tool_runs_plain()) GTEST_SKIP() << "memory limits need the plain tool";
    // Cells are held as text, not as cell records (80 MB for these 10 columns).
    const ToolResult ten = run_kqfmt({"show", path("good.db"), "STREAMS", "--rows", "0-99999",
                                      "--columns", "1,1,1,1,1,1,1,1,1,1"});
    EXPECT_EQ(ten.status, 0) << ten.err;
    EXPECT_LT(ten.peak_kb, 40 * 1024);
    // 2 x 100,000 cells starting with a 4 KB text each: 800 MB before any is formatted.
    RunOptions options;
    options.memory_limit_mb = 200;
    for (const char* format : {"--json", "--debug"})
        expect_refused(run_kqfmt({"show", path("good.db"), "STREAMS", "--rows", "0-99999",
                                  "--columns", "name", "--initial", std::string(4096, 'x'), format},
                                 options),
                       "out of memory while formatting table 'STREAMS'", format);
}

}  // namespace
