// The progress line of long runs: one line on standard error saying which
// table is being worked on, what is being done and how many of its rows are
// done, rewritten in place and erased at the end. It appears only when
// standard error is a terminal and standard output is not, the run has
// lasted about a second and --no-progress was not given; never in a pipe or
// a file.
#pragma once

#include <cstdint>
#include <string>

namespace kqfmt::progress {

// Turns the line on for this run when `wanted` and the terminals allow it.
// The run's clock starts here.
void enable(bool wanted);

// Starts table `index` (from 1) of `tables`, with `rows` rows.
void table(const std::string& name, int index, int tables, int64_t rows);

// What is being done with the current table ("reading", "formatting",
// "writing"); the row count starts again at 0.
void phase(const char* what);

// `done` rows of the current table are done. Cheap enough to call per row:
// it looks at the clock only every few hundred calls.
void rows_done(int64_t done);

// Erases the line if it is shown, before anything else goes to standard
// error and at the end of the run.
void clear();

}  // namespace kqfmt::progress
