// The show and diff commands.
#pragma once

#include <string>

#include "command_line.h"
#include "output.h"

namespace kqfmt {

// Exit statuses: bad input, usage, a failed write or lack of memory give 2;
// a formatting call that raised an error gives 3.
constexpr int kExitTrouble = 2;
constexpr int kExitFormatError = 3;

// Runs show or diff as `line` says, writing to `out`: every input is
// checked before the first table is written; each table is loaded,
// formatted, written and flushed in turn. Returns 0, or kExitFormatError
// when a formatting call raised an error. Throws InputError for bad input
// and failed writes, std::bad_alloc when memory runs out.
int show_or_diff(const CommandLine& line, Output& out);

// What the tool is doing, for the message when memory runs out: set
// before each step, already escaped, so that reporting needs no new text.
extern std::string g_doing;

}  // namespace kqfmt
