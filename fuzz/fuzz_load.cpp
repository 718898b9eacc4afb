// kqfmt's loading path: a database image or an SQL script from the input,
// checked, loaded and formatted into a discarded output, as show and diff
// do. Bad input must end in InputError, never in a crash, a sanitizer
// report or a hang.
//
// Input: one byte of options, then the file. Options: bit 0 JSON, bit 1
// debug lines, bit 2 diff (the file against itself), bit 3 "--rows 0-2,5",
// bit 4 "--columns 1,0". A file that starts with SQLite's header is written
// as a database, anything else as a script.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "commands/command_line.h"
#include "commands/show_diff.h"
#include "input/input_error.h"
#include "input/sqlite_db.h"
#include "report/output.h"

namespace {

// Each input's file, rewritten per run in a folder of this process.
std::string scratch_file(bool database) {
    static const std::string dir = [] {
        char name[] = "/tmp/kq_fuzz_load_XXXXXX";
        const char* made = ::mkdtemp(name);
        if (!made) std::abort();
        return std::string(made);
    }();
    return dir + (database ? "/input.db" : "/input.sql");
}

bool write_file(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static const int null_fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    // Scripts are the user's own programs and may loop; here they must end.
    kqfmt::SqliteDb::set_script_step_limit(2000000);
    const uint8_t options = data[0];
    static const char kHeader[] = "SQLite format 3";  // with its NUL: 16 bytes
    const bool database = size - 1 >= sizeof kHeader &&
                          std::string(reinterpret_cast<const char*>(data + 1), sizeof kHeader) ==
                              std::string(kHeader, sizeof kHeader);
    const std::string path = scratch_file(database);
    // A database file keeps no journal or log beside it between runs.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) ::unlink((path + suffix).c_str());
    if (!write_file(path, data + 1, size - 1)) std::abort();

    kqfmt::CommandLine line;
    line.command = (options & 4) ? kqfmt::Command::diff : kqfmt::Command::show;
    line.db = path;
    if (options & 4) line.old_db = path;
    line.json = (options & 1) != 0;
    line.debug = (options & 2) != 0;
    if (options & 8) line.rows = kqfmt::parse_row_list("0-2,5").rows;
    if (options & 16) line.columns = kqfmt::parse_column_list("1,0").items;

    kqfmt::Output out(null_fd);
    try {
        kqfmt::show_or_diff(line, out);
    } catch (const kqfmt::InputError&) {
        // Bad input, reported as such: the expected end for most inputs.
    } catch (const std::bad_alloc&) {
        // Reported as lack of memory; SQLite's heap limit makes this rare.
    }
    return 0;
}
