// Uniform reads of the two table kinds, so that formatters walk old and new
// cells with one piece of code. Column first, row second, as the tables take
// them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "kw_table.h"

namespace kq {

inline int row_count(KQ_TABLE_COPY* table) { return table->GetNumRows(); }
inline int row_count(KWTABLE* table) { return table->get_stored_rows(); }

// A cell is read only when its row lies below the table's row count, asked
// afresh for every cell; rows compare as signed numbers.
template <class Table>
inline bool row_in_range(Table* table, int32_t row) {
    return row < row_count(table);
}

template <class T>
inline void read_cell(KQ_TABLE_COPY* table, long column, long row, T& value) {
    table->Get(static_cast<unsigned long>(column), static_cast<unsigned long>(row), value);
}
template <class T>
inline void read_cell(KWTABLE* table, long column, long row, T& value) {
    table->get(static_cast<int>(column), static_cast<int>(row), value);
}

// The 32-bit value as "%ld" prints it on the target: signed decimal, so an
// unsigned value of 2^31 or more shows negative.
inline std::string ld_text(int32_t value) {
    char buf[20] = {0};
    std::snprintf(buf, sizeof buf, "%ld", static_cast<long>(value));
    return buf;
}
// "%d" of a byte taken as unsigned: 0 to 255.
inline std::string byte_text(char value) {
    char buf[20] = {0};
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(static_cast<unsigned char>(value)));
    return buf;
}

}  // namespace kq
