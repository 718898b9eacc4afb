// The text under which a stored value is looked up in a static pick list.
#pragma once

#include <cstdint>
#include <string>

#include "core/table_access.h"
#include "kq_units.h"

namespace kq {

// Reads (column, row) and writes its text into `out` by the live table's
// type code: signed and unsigned 32-bit values both as signed decimal (so
// all bits set reads -1), a byte as its unsigned code 0 to 255, anything
// else as the table's own string read.
template <class Table>
void stored_value_text(Table* table, long column, long row, int type, std::string& out) {
    switch (type) {
        case DT_INT32: {
            long value = 0;
            read_cell(table, column, row, value);
            out = ld_text(static_cast<int32_t>(value));
            break;
        }
        case DT_UINT32: {
            unsigned long value = 0;
            read_cell(table, column, row, value);
            out = ld_text(static_cast<int32_t>(static_cast<uint32_t>(value)));
            break;
        }
        case DT_BYTE: {
            char value = 0;
            read_cell(table, column, row, value);
            out = byte_text(value);
            break;
        }
        default: read_cell(table, column, row, out); break;
    }
}

}  // namespace kq
