// Uniform reads of the two table kinds, so that formatters walk old and new
// cells with one piece of code. Column first, row second, as the tables take
// them.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>

#include "kq_format_data.h"
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

// The one reader of 32-bit integer and byte cells by type code: the 32 bits
// the table holds, read through `unsigned long` for type 8, `long` for type
// 9 and `char` for a byte (its code, 0 to 255). Callers choose how to see
// the bits (signed, unsigned, as a number to convert); the width never
// depends on the host's `long`.
template <class Table>
inline uint32_t read_int32_cell(Table* table, long column, long row, int type) {
    if (type == KQ_TYPE_UINT32) {
        unsigned long value = 0;
        read_cell(table, column, row, value);
        return static_cast<uint32_t>(value);
    }
    if (type == KQ_TYPE_INT32) {
        long value = 0;
        read_cell(table, column, row, value);
        return static_cast<uint32_t>(static_cast<int32_t>(value));
    }
    char value = 0;
    read_cell(table, column, row, value);
    return static_cast<unsigned char>(value);
}

// The 32-bit value as "%ld" prints it on the target: signed decimal, so an
// unsigned value of 2^31 or more shows negative. Written into `out`, whose
// storage is reused; the same text as printf gives, without its cost.
inline void ld_text(int32_t value, std::string& out) {
    char buf[12];  // "-2147483648"
    const std::to_chars_result end = std::to_chars(buf, buf + sizeof buf, value);
    out.assign(buf, end.ptr);
}
inline std::string ld_text(int32_t value) {
    std::string out;
    ld_text(value, out);
    return out;
}
}  // namespace kq
