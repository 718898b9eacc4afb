// The text under which a stored value is looked up in a static pick list.
#pragma once

#include <cstdint>
#include <string>

#include "core/table_access.h"
#include "kq_units.h"

namespace kq {

// Types whose stored value is looked up by its decimal text.
inline bool has_integer_text(int type) {
    return type == KQ_TYPE_INT32 || type == KQ_TYPE_UINT32 || type == KQ_TYPE_BYTE;
}

// The stored value of (column, row) of such a type as the number its text
// shows: signed and unsigned 32-bit values both signed (so all bits set is
// -1), a byte as its unsigned code 0 to 255.
template <class Table>
int32_t stored_integer(Table* table, long column, long row, int type) {
    return static_cast<int32_t>(read_int32_cell(table, column, row, type));
}

// Reads (column, row) and writes its text into `out` by the live table's
// type code: the decimal text of stored_integer for the integer types,
// anything else as the table's own string read.
template <class Table>
void stored_value_text(Table* table, long column, long row, int type, std::string& out) {
    if (has_integer_text(type))
        ld_text(stored_integer(table, column, row, type), out);
    else
        read_cell(table, column, row, out);
}

}  // namespace kq
