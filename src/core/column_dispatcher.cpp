// The library's entry point: walks the requested columns and hands each to
// the formatter its type and format string select.
#include <string>

#include "core/add_row_markers.h"
#include "core/string_column.h"
#include "kq_format_data.h"
#include "kw_table.h"
#include "text_search.h"

using namespace kq;

namespace {

KQ_CELL_LIST& cells_at(std::vector<kq_formatted_col_data_struct>& columns, size_t i,
                       KQ_CELL_LIST& none) {
    return i < columns.size() ? columns[i].cells : none;
}

}  // namespace

int KQ_FORMAT_DATA::GetFormattedValue(KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                                      std::vector<kq_formatted_col_data_struct>& oldColumns,
                                      std::vector<kq_formatted_col_data_struct>& newColumns) {
    // A side without an entry at a position has no cells there.
    KQ_CELL_LIST noOld, noNew;
    for (size_t i = 0; i < oldColumns.size() || i < newColumns.size(); ++i) {
        const long column = i < oldColumns.size() ? oldColumns[i].column : newColumns[i].column;
        KQ_CELL_LIST& oldCells = cells_at(oldColumns, i, noOld);
        KQ_CELL_LIST& newCells = cells_at(newColumns, i, noNew);
        std::string format = newTable->get_us_format(static_cast<int>(column));
        const int type = newTable->get_int_type(static_cast<int>(column));

        if (type == 12 || type == 13) {
            extractFormatDataForFloatData(format, oldTable, newTable, column, oldCells, newCells);
            continue;
        }
        if (type == 8 || type == 9) {
            if (check_if_int(format)) {
                extractFormatDataForIntData(format, oldTable, newTable, column, oldCells, newCells);
                continue;
            }
            if (check_if_date_time(newTable, column, format)) {
                extractFormattedDateTimeVal(format, oldTable, newTable, column, oldCells, newCells);
                continue;
            }
            if (check_if_float(format)) {
                extractFormatDataForFloatData(format, oldTable, newTable, column, oldCells,
                                              newCells);
                continue;
            }
        }

        if (check_trigger_dependency(format)) {
            extractFormatDataFromTriggerDependencies(format, oldTable, newTable, column, oldCells,
                                                     newCells);
        } else if (check_if_static_picklist(format)) {
            remove_add_row_markers(format);
            std::string pickList;
            extractStaticPickListString(format, pickList);
            extractFormatDataFromStaticPickList(pickList, oldTable, newTable, column, oldCells,
                                                newCells);
        } else if (check_if_remote_picklist(format)) {
            extractFormatDataFromRemotePicklistString(format, oldTable, newTable, column, oldCells,
                                                      newCells);
        } else if (check_if_string_format(format)) {
            kq::format_string_column(*this, oldTable, newTable, column, oldCells, newCells);
        }
    }
    return 1;
}
