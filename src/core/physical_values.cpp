// Plain values: a cell's stored value as text, with no specifier, unit or
// pick list applied.
#include <type_traits>

#include "core/formatter.h"
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
        case KQ_TYPE_STRING: read_cell(table, column, row, text); break;
        case KQ_TYPE_INT32:
        case KQ_TYPE_UINT32:
        case KQ_TYPE_BYTE:
            // "%ld" shows both 32-bit types signed; a byte shows its code.
            ld_text(static_cast<int32_t>(read_int32_cell(table, column, row, type)), text);
            break;
        default:
            KQ_ERROR_LINE(2, 2, "Invalid Data type iType:%d of iColumn:%d", type,
                          static_cast<int>(column));
            break;
    }
}

// Writes the plain value of every in-range cell, one working text for all.
template <class Table>
void plain_values(kq::Formatter& self, Table* table, int type, long column, KQ_CELL_LIST& cells,
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

void kq::Formatter::extractFormatDataFromOldAndNewTable(KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                                                        long column, KQ_CELL_LIST& oldCells,
                                                        KQ_CELL_LIST& newCells) {
    const int type = newTable->get_int_type(static_cast<int>(column));
    std::string text;
    plain_values(*this, oldTable, type, column, oldCells, text);
    plain_values(*this, newTable, type, column, newCells, text);
}

void kq::Formatter::getDBptPhysicalValFromOldTable(KQ_TABLE_COPY* table, int type,
                                                   std::string& text, long column,
                                                   unsigned int index, KQ_CELL_LIST& cells) {
    physical_value(table, type, text, column, index, cells);
}

void kq::Formatter::getDBptPhysicalValFromNewTable(KWTABLE* table, int type, std::string& text,
                                                   long column, unsigned int index,
                                                   KQ_CELL_LIST& cells) {
    physical_value(table, type, text, column, index, cells);
}
