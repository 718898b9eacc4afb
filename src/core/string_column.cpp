#include "core/string_column.h"

#include <string>

namespace kq {

void format_string_column(KQ_FORMAT_DATA& formatter, KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                          long column, KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells) {
    std::string selection;
    if (formatter.checkSystemVar(newTable, column, selection)) {
        formatter.getPrettyValFromSystemVar(oldTable, column, oldCells);
        formatter.getPrettyValFromSystemVar(newTable, column, newCells);
    } else {
        formatter.extractFormatDataFromOldAndNewTable(oldTable, newTable, column, oldCells,
                                                      newCells);
    }
}

}  // namespace kq
