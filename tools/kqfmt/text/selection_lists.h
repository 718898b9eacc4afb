// The --rows and --columns lists of the command line. Pure functions: no
// I/O, no global state, and work and memory bounded for any input text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kqfmt {

// Most row numbers one --rows list may expand to. A slip such as
// "0-2000000000" is refused instead of allocating billions of cell records.
constexpr std::size_t kMaxRequestedRows = 100000;

// A parsed --rows list: the row numbers in the order written, each range
// expanded in ascending order. `error` is empty on success, otherwise a
// one-line reason and `rows` is empty.
struct RowList {
    std::vector<int32_t> rows;
    std::string error;
};

// Parses comma-separated items, each a row number N or an inclusive range
// A-B with A <= B; numbers are ASCII digits only, 0 to 2147483647.
RowList parse_row_list(std::string_view text);

// One item of a --columns list: a 0-based column number (an item of digits
// only) or a column name (any other non-empty text, taken verbatim).
struct ColumnItem {
    bool is_number = false;
    int32_t number = 0;
    std::string name;
};

// A parsed --columns list, in the order written; `error` as for RowList.
struct ColumnList {
    std::vector<ColumnItem> items;
    std::string error;
};

// Parses comma-separated column items. Empty items and numbers past
// 2147483647 are errors.
ColumnList parse_column_list(std::string_view text);

}  // namespace kqfmt
