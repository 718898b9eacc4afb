// Runs the built kqfmt (through the emulator when cross-compiling) and
// captures what it prints.
#pragma once

#include <string>
#include <vector>

namespace kqtool {

struct ToolResult {
    int status = -1;   // exit status; -1 when the tool did not exit normally
    int signal = 0;    // the signal that ended it, if one did
    long peak_kb = 0;  // peak resident memory
    std::string out;
    std::string err;
};

// Where the tool's standard output goes.
enum class Stdout {
    captured,     // a file, read back into ToolResult::out
    full_device,  // /dev/full: every write fails
    closed,       // no descriptor 1 at all
    closed_pipe,  // a pipe whose reading end is already closed, SIGPIPE ignored
};

// Where the tool's standard error goes; read back into ToolResult::err.
enum class Stderr { file, terminal, pipe };

struct RunOptions {
    Stdout stdout_to = Stdout::captured;
    long memory_limit_mb = 0;              // address-space limit of the tool; 0: none
    std::string input_path;                // standard input; empty: /dev/null
    std::vector<std::string> environment;  // "NAME=VALUE" entries added
    Stderr stderr_to = Stderr::file;
};

// Runs kqfmt with these arguments.
ToolResult run_kqfmt(const std::vector<std::string>& args, const RunOptions& options = {});

// True when the tool runs directly on this machine, without an emulator
// or sanitizers, so that its memory can be limited and measured.
bool tool_runs_plain();

// The same with standard input read from `input_path` (empty: /dev/null)
// and `environment` entries ("NAME=VALUE") added to the tool's environment.
ToolResult run_kqfmt(const std::vector<std::string>& args, const std::string& input_path,
                     const std::vector<std::string>& environment);

// Paths of the test fixtures and of the shipped examples.
std::string fixture(const std::string& name);
std::string example(const std::string& name);

}  // namespace kqtool
