// The lint command: configuration problems of a database, one per line.
#pragma once

#include "commands/command_line.h"
#include "report/output.h"

namespace kqfmt {

// Checks the tables `line` names (every configuration table when none) and
// writes one line per finding and a summary line, or with --format json a
// list of findings. Returns 0, or kExitFindings when an error was found
// (with --strict also a warning). Throws InputError for bad input.
int lint_command(const CommandLine& line, Output& out);

}  // namespace kqfmt
