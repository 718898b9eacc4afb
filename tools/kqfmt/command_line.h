// The kqfmt command line: a command, its databases and tables, and options
// that may stand anywhere on the line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "selection_lists.h"

namespace kqfmt {

enum class Command { show, diff, explain };

struct CommandLine {
    bool help = false;                // --help (or -h) anywhere
    std::optional<Command> command;   // set whenever the first word names one
    std::string old_db;               // diff: OLD
    std::string db;                   // show: DB; diff: NEW
    std::string format;               // explain: FORMAT
    int type = 15;                    // explain: --type CODE
    bool date_time = false;           // explain: --date-time
    std::vector<std::string> tables;  // in the order given; empty: every table
    std::optional<std::vector<ColumnItem>> columns;
    std::optional<std::vector<int32_t>> rows;
    std::string initial;
    bool debug = false;
    bool json = false;
};

// Parses the arguments after the program name. --type and --date-time
// belong to explain, --columns, --rows, --initial and --debug to show and
// diff; --json to all three. Options take their value as
// the next argument or after "=" (--rows=0-3); "--" ends the options; a
// repeated option keeps its last value. With --help nothing else is checked.
// Throws InputError for any usage error.
CommandLine parse_command_line(const std::vector<std::string>& args);

}  // namespace kqfmt
