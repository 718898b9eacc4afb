// The show and diff commands.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "commands/command_line.h"
#include "input/config_loader.h"
#include "report/output.h"

namespace kqfmt {

// Exit statuses: bad input, usage, a failed write or lack of memory give 2;
// a formatting call that raised an error gives 3.
constexpr int kExitTrouble = 2;
constexpr int kExitFormatError = 3;
// lint: an error found (or, with --strict, a warning).
constexpr int kExitFindings = 1;

// Runs show or diff as `line` says, writing to `out`: every input is
// checked before the first table is written; each table is loaded,
// formatted, written and flushed in turn. Returns 0, or kExitFormatError
// when a formatting call raised an error. Throws InputError for bad input
// and failed writes, std::bad_alloc when memory runs out.
int show_or_diff(const CommandLine& line, Output& out);

// Opens the database `name` (read from `path`: the file itself, or where
// standard input was spooled) into `db` and describes its configuration in
// `config`. Throws InputError naming the file for bad input, also for a
// database without any configuration table when `need_tables` is set.
void open_configuration(const std::string& name, const std::string& path,
                        std::unique_ptr<SqliteDb>& db, Configuration& config,
                        bool need_tables = true);

// The tables the command line names, or every configuration table in name
// order; throws InputError for a name the configuration lacks.
std::vector<std::string> requested_tables(const CommandLine& line, const Configuration& config);

// What the tool is doing, for the message when memory runs out: set
// before each step, already escaped, so that reporting needs no new text.
extern std::string g_doing;

}  // namespace kqfmt
