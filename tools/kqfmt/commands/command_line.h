// The kqfmt command line: a command, its databases and tables, and options
// that may stand anywhere on the line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "text/selection_lists.h"

namespace kqfmt {

enum class Command { show, diff, lint, explain, schema };

enum class OutputFormat { grid, json, csv, tsv, markdown, html };
enum class ColourWhen { automatic, always, never };

struct CommandLine {
    bool help = false;                // --help (or -h) anywhere
    bool version = false;             // --version anywhere (after --help)
    std::optional<Command> command;   // set whenever the first word names one
    std::string old_db;               // diff: OLD
    std::string db;                   // show: DB; diff: NEW
    std::string format;               // explain: FORMAT
    std::string column;               // explain DB TABLE COLUMN: COLUMN
    int type = 15;                    // explain: --type CODE
    bool date_time = false;           // explain: --date-time
    std::vector<std::string> tables;  // in the order given; empty: every table
    std::optional<std::vector<ColumnItem>> columns;
    std::optional<std::vector<int32_t>> rows;
    std::string initial;
    bool debug = false;
    bool json = false;                          // --json, or --format json
    OutputFormat output = OutputFormat::grid;   // --format F, --json
    ColourWhen colour = ColourWhen::automatic;  // --color=WHEN
    std::optional<int> width;                   // --width N
    bool exit_code = false;                     // diff: --exit-code
    bool changed = false;                       // diff: --changed
    bool stat = false;                          // diff: --stat
    bool no_progress = false;                   // show, diff, lint: --no-progress
    std::optional<int> context;                 // diff: --context N
    bool strict = false;                        // lint: --strict
    std::vector<std::string> ignore;            // lint: --ignore RULES
};

// Parses the arguments after the program name. --type and --date-time
// belong to explain, --columns, --rows, --initial, --color and --width to
// show and diff, --debug to show, diff and lint, --exit-code, --changed,
// --stat and --context to diff, --strict and --ignore to lint; --json and --format F to all of them
// (explain and lint: grid or json; html is for diff only). Options take their
// value as the next argument or after "=" (--rows=0-3); "--" ends the options; a repeated option
// keeps its last value. With --help nothing else is checked. Throws InputError for any usage error.
CommandLine parse_command_line(const std::vector<std::string>& args);

}  // namespace kqfmt
