// One formatting request per table: the column lists built from the
// selection, the formatter's calls, and what came back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kq_format_data.h"
#include "kq_host_table.h"
#include "run/column_text.h"
#include "run/field_change.h"

namespace kqfmt {

// What to request from every table.
struct Request {
    std::vector<int> columns;                  // column numbers, in request order
    std::optional<std::vector<int32_t>> rows;  // same rows from both views; none: every row
    std::string initial;                       // value of every cell before the call
};

// diff: whether a table is in both databases or in one of them only.
enum class TablePresence { both, only_old, only_new };

// The cells of one table after the call. Each view has one line per
// requested row (every row when none were requested): the row numbers of
// its lines, and one packed column per requested column with a text for
// every line.
struct TableResult {
    std::string table;
    std::vector<std::string> column_names;  // one per requested column
    std::vector<ColumnText> old_columns;
    std::vector<ColumnText> new_columns;
    std::vector<int32_t> old_rows;
    std::vector<int32_t> new_rows;
    int old_row_count = 0;
    int new_row_count = 0;
    std::optional<std::string> error;  // set when the call raised an error

    // diff only. Per requested column, the old cells as the old database
    // shows them by itself, kept only where that differs from the old view
    // in some row (an empty list: the old view's text is the old database's).
    std::vector<ColumnText> before;
    std::vector<FieldChange> definitions;  // column definitions and structure
    TablePresence presence = TablePresence::both;
    // After a cut to changed lines and their context: skipped[i] unchanged
    // lines were left out before line i, the last entry after the last line.
    // Empty when nothing was left out that way.
    std::vector<long> skipped;
};

// Formats the columns of `request` in both views and returns the cells. The
// formatter is called once per column, in request order: it formats each
// column by itself, so the strings and log records are those of one call
// for the whole request, while only one column's cell records are held at
// a time. An exception from a call is caught: that column's cells keep what
// had been written, later columns keep the initial text (as one call would
// leave them), and `error` holds its text.
TableResult format_table(KQ_FORMAT_DATA& formatter, kqhost::LiveTable& live, kqhost::TableCopy& old,
                         const Request& request);

}  // namespace kqfmt
