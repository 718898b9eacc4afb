// Plain values: a cell's stored value as text, with no specifier, unit or
// pick list applied.
#include <type_traits>

#include "kq_format_data.h"
#include "kw_table.h"
#include "log_lines.h"
#include "table_access.h"

using namespace kq;

namespace {

// Renders the stored value of the cell at `index` into `text` by the
// column's type. An unsupported type leaves `text` as it was and logs.
template <class Table>
void physical_value(Table* table, int type, std::string& text, long column, unsigned int index,
                    KQ_CELL_LIST& cells) {
    const long row = cells[index].row;
    switch (type) {
        case 15: read_cell(table, column, row, text); break;
        case 9: {
            long value = 0;
            read_cell(table, column, row, value);
            ld_text(static_cast<int32_t>(value), text);
            break;
        }
        case 8: {
            unsigned long value = 0;
            read_cell(table, column, row, value);
            ld_text(static_cast<int32_t>(static_cast<uint32_t>(value)), text);
            break;
        }
        case 1: {
            char value = 0;
            read_cell(table, column, row, value);
            byte_text(value, text);
            break;
        }
        default:
            KQ_ERROR_LINE(2, 2, "Invalid Data type iType:%d of iColumn:%d", type,
                          static_cast<int>(column));
            break;
    }
}

// Writes the plain value of every in-range cell, one working text for all.
template <class Table>
void plain_values(KQ_FORMAT_DATA& self, Table* table, int type, long column, KQ_CELL_LIST& cells,
                  std::string& text) {
    for (unsigned int i = 0; i < cells.size(); ++i) {
        if (!row_in_range(table, cells[i].row)) continue;
        if constexpr (std::is_same_v<Table, KQ_TABLE_COPY>)
            self.getDBptPhysicalValFromOldTable(table, type, text, column, i, cells);
        else
            self.getDBptPhysicalValFromNewTable(table, type, text, column, i, cells);
        cells[i].value = text;
    }
}

}  // namespace

void KQ_FORMAT_DATA::extractFormatDataFromOldAndNewTable(KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                                                         long column, KQ_CELL_LIST& oldCells,
                                                         KQ_CELL_LIST& newCells) {
    const int type = newTable->get_int_type(static_cast<int>(column));
    std::string text;
    plain_values(*this, oldTable, type, column, oldCells, text);
    plain_values(*this, newTable, type, column, newCells, text);
}

void KQ_FORMAT_DATA::getDBptPhysicalValFromOldTable(KQ_TABLE_COPY* table, int type,
                                                    std::string& text, long column,
                                                    unsigned int index, KQ_CELL_LIST& cells) {
    physical_value(table, type, text, column, index, cells);
}

void KQ_FORMAT_DATA::getDBptPhysicalValFromNewTable(KWTABLE* table, int type, std::string& text,
                                                    long column, unsigned int index,
                                                    KQ_CELL_LIST& cells) {
    physical_value(table, type, text, column, index, cells);
}
