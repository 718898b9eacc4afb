// Runs the built kqfmt (through the emulator when cross-compiling) and
// captures what it prints.
#pragma once

#include <string>
#include <vector>

namespace kqtool {

struct ToolResult {
    int status = -1;  // exit status; -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

// Runs kqfmt with these arguments.
ToolResult run_kqfmt(const std::vector<std::string>& args);

// The same with standard input read from `input_path` (empty: /dev/null)
// and `environment` entries ("NAME=VALUE") added to the tool's environment.
ToolResult run_kqfmt(const std::vector<std::string>& args, const std::string& input_path,
                     const std::vector<std::string>& environment);

// Paths of the test fixtures and of the shipped examples.
std::string fixture(const std::string& name);
std::string example(const std::string& name);

}  // namespace kqtool
