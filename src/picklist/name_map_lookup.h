// Looking a cell's stored value up in a name map, shared by the snapshot and
// the live table so that both sides follow one rule.
#pragma once

#include <string>
#include <type_traits>

#include "core/formatter.h"
#include "core/log_lines.h"
#include "core/table_access.h"

namespace kq {

// A miss in the snapshot shows a single blank; a miss in the live table
// keeps whatever the cell held, so the operator still sees the raw value.
template <class Table>
constexpr bool blank_on_miss() {
    return std::is_same<Table, KQ_TABLE_COPY>::value;
}

// Reads the stored value of the cell's row as text (whatever the column's
// type) into `stored` and replaces the cell's value by the name the map
// gives it. Returns 1 when a name was found, 0 otherwise. The row is not
// checked against the row count: the table answers out-of-range reads
// with the empty text.
template <class Table>
int name_cell_from_map(Formatter& formatter, Table* table, long column, const KQ_NAME_MAP& names,
                       _kq_fomatted_cell_data_struct& cell, std::string& stored) {
    read_cell(table, column, cell.row, stored);
    const auto found = names.find(stored);
    if (found != names.end()) {
        cell.value = found->second;
        return 1;
    }
    // A trace names the live rows the map leaves as they were.
    if (!blank_on_miss<Table>())
        formatter.note("no display name", cell.row, [&] { return stored; });
    KQ_DEBUG_LINE("Failed to get pretty name for physical value: %s", stored.c_str());
    if (blank_on_miss<Table>()) cell.value = " ";
    return 0;
}

// Every cell of the list in order, without stopping at a miss. Returns 1
// when every cell found a name (also for an empty list).
template <class Table>
int name_cells_from_map(Formatter& formatter, Table* table, long column, const KQ_NAME_MAP& names,
                        KQ_CELL_LIST& cells) {
    std::string stored;  // one buffer for the whole list
    int all_found = 1;
    for (auto& cell : cells) {
        if (!name_cell_from_map(formatter, table, column, names, cell, stored)) all_found = 0;
    }
    return all_found;
}

}  // namespace kq
