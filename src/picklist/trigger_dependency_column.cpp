// Columns whose format string is a trigger dependency ("@COLUMN{...}") and
// that no numeric or date/time formatter took: the whole format string picks
// one family for both sides at once.

#include <string>

#include "core/string_column.h"
#include "kq_format_data.h"

// The first family that fits decides: merged static pick lists, then remote
// pick lists, then string columns (system-variable names or plain values).
// A format that fits none, such as one whose only case is
// "__CLEAR_READ_ONLY__", leaves every cell as supplied.
void KQ_FORMAT_DATA::extractFormatDataFromTriggerDependencies(std::string format,
                                                              KQ_TABLE_COPY* oldTable,
                                                              KWTABLE* newTable, long column,
                                                              KQ_CELL_LIST& oldCells,
                                                              KQ_CELL_LIST& newCells) {
    if (check_if_static_picklist(format)) {
        extractFormatDataFromStaticPickListAvailableInTrigDep(format, oldTable, newTable, column,
                                                              oldCells, newCells);
    } else if (check_if_remote_picklist(format)) {
        extractFormatDataFromRemotePicklistString(format, oldTable, newTable, column, oldCells,
                                                  newCells);
    } else if (check_if_string_format(format)) {
        kq::format_string_column(*this, oldTable, newTable, column, oldCells, newCells);
    }
}
