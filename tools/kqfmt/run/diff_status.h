// What differs between the two views of a formatted table: a status per
// cell, a summary per table, and the table cut down to what differs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "run/format_run.h"

namespace kqfmt {

// display: the two views agree, but the old database showed the cell
// otherwise (a definition or catalog entry changed, not the value).
enum class CellStatus { same, changed, added, removed, display };

const char* status_name(CellStatus status);

// The cells of one line (the n-th line of each view; a view without that
// many lines gives none) and whether each lies inside its view's rows.
struct LinePair {
    std::optional<CellText> old_cell;
    std::optional<CellText> new_cell;
    // The old database's own text of the old cell, when it differs from the
    // old view somewhere in the column; else none.
    std::optional<CellText> before_cell;
    bool in_old = false;
    bool in_new = false;
};

// Number of lines of a table: the longer of the two views.
std::size_t line_count(const TableResult& table);

LinePair line_pair(const TableResult& table, std::size_t column, std::size_t line);

// A row only the live view has is added, one only the old view has is
// removed; otherwise the cell changed when the two values differ. A row
// asked for past both views' row counts compares the values too. A row
// both views have with equal values is display when the old database
// showed it otherwise than the new view does.
CellStatus cell_status(const LinePair& pair);

// Per requested column: whether every line shows one text, the same in
// both views and as the old database showed it, so that a report may take
// the new view's text for each line without comparing. True when the views
// hold the same rows of tables with one row count, share the column's text
// (as in show) and no before is kept for it.
std::vector<bool> alike_columns(const TableResult& table);

// The worst status of a line: removed or added when the row is in one view
// only, else changed when any cell changed, else display when any cell
// shows differently, else same.
CellStatus line_status(const TableResult& table, std::size_t line);

struct DiffSummary {
    long cells_changed = 0;  // cells of rows both views have
    long rows_changed = 0;   // rows both views have with a changed cell
    long rows_only_old = 0;
    long rows_only_new = 0;
    long cells_display_changed = 0;  // cells of rows both views have
    long definitions_changed = 0;    // column definitions and structure
    long tables_removed = 0;
    long tables_added = 0;
    long catalogs_changed = 0;  // catalog fields; counted in the total only

    bool any() const {
        return cells_changed + rows_only_old + rows_only_new + cells_display_changed +
                   definitions_changed + tables_removed + tables_added + catalogs_changed >
               0;
    }
    DiffSummary& operator+=(const DiffSummary& other);
};

DiffSummary summarise(const TableResult& table);

// The table with only the lines that differ and, when `columns` is set,
// only the columns with a cell that differs.
TableResult only_changed(const TableResult& table, bool columns);

// The lines that differ and up to `context` lines before and after each;
// `skipped` says how many unchanged lines were left out where. None when
// no line would be left out.
std::optional<TableResult> with_context(const TableResult& table, std::size_t context);

// "STREAMS  2 cells changed in 1 row, 0 rows only in old, 1 row only in new",
// then the display and definition counts that are not 0; a table in one
// database only starts "removed, " or "added, ". The `total` line adds the
// counts of tables removed and added and of catalog fields changed.
std::string summary_line(const std::string& name, const DiffSummary& summary, bool total = false);

}  // namespace kqfmt
