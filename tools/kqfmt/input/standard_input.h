// A database given as "-": standard input spooled to a temporary file that
// the loader then opens like any other.
#pragma once

#include <memory>
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

// The file to open for the database named `name` on the command line: the
// name itself, or for "-" the file standard input is spooled into (made
// once, kept in `input`).
std::string database_path(const std::string& name, std::unique_ptr<SpooledInput>& input);

}  // namespace kqfmt
