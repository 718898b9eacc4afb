// The progress line, drawn with a carriage return and "erase to the end of
// the line", so it leaves no trace in the terminal.
#include "report/progress.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "text/utf8_text.h"

namespace kqfmt::progress {
namespace {

using Clock = std::chrono::steady_clock;

struct State {
    bool enabled = false;
    bool shown = false;
    Clock::time_point start;
    Clock::time_point last_draw;
    std::chrono::milliseconds quiet{1000};  // how long a run goes without the line
    std::string table;                      // "NAME (i of n tables)", escaped
    const char* what = "";
    bool counting = false;  // rows_done reports this phase's rows
    int64_t rows = 0;
    int64_t done = 0;
    uint32_t calls = 0;
};

State& state() {
    static State s;
    return s;
}

// The line is cosmetic: a failed write to the terminal is not worth
// stopping a run for, so it is given up at the first error.
void write_all(const std::string& text) {
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(STDERR_FILENO, p, left);
        if (n <= 0) return;
        p += n;
        left -= static_cast<size_t>(n);
    }
}

// Draws the line when the run has lasted long enough and the last drawing
// is a tenth of a second old (or `now_anyway`).
void maybe_draw(bool now_anyway) {
    State& s = state();
    const Clock::time_point now = Clock::now();
    if (now - s.start < s.quiet) return;
    if (s.shown && !now_anyway && now - s.last_draw < std::chrono::milliseconds(100)) return;
    s.last_draw = now;
    s.shown = true;
    // Rows are counted as they are read; formatting and writing go by the
    // table's whole rows.
    const std::string rows = std::to_string(s.rows) + (s.rows == 1 ? " row" : " rows");
    write_all("\r\x1b[Kkqfmt: " + s.table + ": " + s.what +
              (s.counting ? ", " + std::to_string(s.done) + " of " + rows : " " + rows));
}

}  // namespace

void enable(bool wanted) {
    State& s = state();
    // Output written to the same terminal would land inside the line; there
    // the output shows the progress itself.
    s.enabled = wanted && ::isatty(STDERR_FILENO) == 1 && ::isatty(STDOUT_FILENO) != 1;
    s.start = Clock::now();
    // Tests shorten the quiet second so that a small run shows the line.
    if (const char* quiet = std::getenv("KQFMT_PROGRESS_AFTER_MS"))
        s.quiet = std::chrono::milliseconds(std::strtol(quiet, nullptr, 10));
}

void table(const std::string& name, int index, int tables, int64_t rows) {
    State& s = state();
    if (!s.enabled) return;
    s.table = message_text(name) + " (" + std::to_string(index) + " of " + std::to_string(tables) +
              (tables == 1 ? " table)" : " tables)");
    s.rows = rows;
    s.what = "reading";
    s.counting = true;  // the loader reports the rows it has read
    s.done = 0;
    s.calls = 0;
    maybe_draw(true);
}

void phase(const char* what) {
    State& s = state();
    if (!s.enabled) return;
    s.what = what;
    s.counting = false;
    s.done = 0;
    s.calls = 0;
    maybe_draw(true);
}

void rows_done(int64_t done) {
    State& s = state();
    if (!s.enabled || (++s.calls & 255u) != 0) return;
    s.counting = true;
    s.done = done;
    maybe_draw(false);
}

void clear() {
    State& s = state();
    if (!s.shown) return;
    s.shown = false;
    write_all("\r\x1b[K");
}

}  // namespace kqfmt::progress
