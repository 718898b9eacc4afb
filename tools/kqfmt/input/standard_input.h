// A database given as "-": standard input spooled to a temporary file that
// the loader then opens like any other.
#pragma once

#include <string>

namespace kqfmt {

class SpooledInput {
public:
    // Reads standard input to the end into a new temporary file, named
    // with ".sql" unless the input starts with the SQLite file header.
    // Throws InputError when it cannot be read or written.
    SpooledInput();
    ~SpooledInput();
    SpooledInput(const SpooledInput&) = delete;
    SpooledInput& operator=(const SpooledInput&) = delete;

    const std::string& path() const { return path_; }

private:
    void write(const std::string& buffer);
    void remove();

    std::string dir_;
    std::string path_;
};

}  // namespace kqfmt
