// One formatting request per table: the column lists built from the
// selection, one call of the formatter, and what came back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kq_format_data.h"
#include "kq_host_table.h"

namespace kqfmt {

// What to request from every table.
struct Request {
    std::vector<int> columns;                  // column numbers, in request order
    std::optional<std::vector<int32_t>> rows;  // same rows from both views; none: every row
    std::string initial;                       // value of every cell before the call
};

// The cells of one table after the call.
struct TableResult {
    std::string table;
    std::vector<std::string> column_names;  // one per requested column
    std::vector<kq_formatted_col_data_struct> old_columns;
    std::vector<kq_formatted_col_data_struct> new_columns;
    int old_row_count = 0;
    int new_row_count = 0;
    std::optional<std::string> error;  // set when the call raised an error
};

// Builds the column lists of `request` for both views, calls
// GetFormattedValue once and returns the cells. An exception from the call
// is caught: the cells keep what had been written and `error` holds its text.
TableResult format_table(KQ_FORMAT_DATA& formatter, kqhost::LiveTable& live, kqhost::TableCopy& old,
                         const Request& request);

}  // namespace kqfmt
