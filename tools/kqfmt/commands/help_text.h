// The texts of kqfmt --help and kqfmt COMMAND --help.
#pragma once

#include <optional>
#include <string>

#include "commands/command_line.h"

namespace kqfmt {

// Help for one command, or the overview when none is given.
std::string help_text(std::optional<Command> command);

}  // namespace kqfmt
