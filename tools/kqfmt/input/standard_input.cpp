// Spooling standard input.
#include "input/standard_input.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "input/input_error.h"

namespace kqfmt {
namespace {

const char kSqliteHeader[] = "SQLite format 3";  // with its NUL: 16 bytes

std::string system_error(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

SpooledInput::SpooledInput() {
    std::string buffer;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            throw InputError(system_error("cannot read standard input"));
        }
        buffer.append(chunk, static_cast<std::size_t>(got));
    }

    const char* tmp = std::getenv("TMPDIR");
    std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/kqfmt-stdin-XXXXXX";
    if (!::mkdtemp(dir.data())) throw InputError(system_error("cannot create a temporary folder"));
    dir_ = dir;
    try {
        write(buffer);
    } catch (...) {
        remove();
        throw;
    }
}

void SpooledInput::write(const std::string& buffer) {
    const bool sqlite = buffer.size() >= sizeof kSqliteHeader &&
                        std::memcmp(buffer.data(), kSqliteHeader, sizeof kSqliteHeader) == 0;
    path_ = dir_ + (sqlite ? "/stdin.db" : "/stdin.sql");

    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (!file) throw InputError(system_error("cannot write a temporary file"));
    const bool written = std::fwrite(buffer.data(), 1, buffer.size(), file) == buffer.size();
    if (std::fclose(file) != 0 || !written)
        throw InputError(system_error("cannot write a temporary file"));
}

SpooledInput::~SpooledInput() { remove(); }

void SpooledInput::remove() {
    if (!path_.empty()) ::unlink(path_.c_str());
    if (!dir_.empty()) ::rmdir(dir_.c_str());
    path_.clear();
    dir_.clear();
}

std::string database_path(const std::string& name, std::unique_ptr<SpooledInput>& input) {
    if (name != "-") return name;
    if (!input) input = std::make_unique<SpooledInput>();
    return input->path();
}

}  // namespace kqfmt
