// Decisions that depend on where the output goes: colour and grid width.
#pragma once

#include <optional>

#include "commands/command_line.h"

namespace kqfmt {

// Whether to colour: always, never, or (auto) only when standard output is
// a terminal, TERM is not "dumb" and NO_COLOR is unset or empty. `term` and
// `no_color` are the environment's values, null when unset.
bool colour_wanted(ColourWhen when, bool stdout_is_terminal, const char* term,
                   const char* no_color);

// The same for this process: its standard output and environment.
bool colour_wanted(ColourWhen when);

// Width of the grid: `requested` when given; else the terminal's width when
// standard output is a terminal; else unlimited (0).
int grid_width(std::optional<int> requested);

}  // namespace kqfmt
