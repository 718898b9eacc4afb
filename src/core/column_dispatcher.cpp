// The library's entry point: walks the requested columns and hands each to
// the formatter its classification selects.
#include <string>

#include "core/add_row_markers.h"
#include "core/column_classification.h"
#include "core/formatter.h"
#include "kw_table.h"

namespace kq {
namespace {

KQ_CELL_LIST& cells_at(std::vector<kq_formatted_col_data_struct>& columns, size_t i,
                       KQ_CELL_LIST& none) {
    return i < columns.size() ? columns[i].cells : none;
}

}  // namespace

void Formatter::format_column(KQ_COLUMN_KIND kind, std::string& format, KQ_TABLE_COPY* oldTable,
                              KWTABLE* newTable, long column, KQ_CELL_LIST& oldCells,
                              KQ_CELL_LIST& newCells, bool inTriggerDependency) {
    switch (kind) {
        case KQ_COLUMN_KIND::FLOAT:
            extractFormatDataForFloatData(format, oldTable, newTable, column, oldCells, newCells);
            break;
        case KQ_COLUMN_KIND::INTEGER:
            extractFormatDataForIntData(format, oldTable, newTable, column, oldCells, newCells);
            break;
        case KQ_COLUMN_KIND::DATE_TIME:
            extractFormattedDateTimeVal(format, oldTable, newTable, column, oldCells, newCells);
            break;
        case KQ_COLUMN_KIND::TRIGGER_DEPENDENCY:
            extractFormatDataFromTriggerDependencies(format, oldTable, newTable, column, oldCells,
                                                     newCells);
            break;
        case KQ_COLUMN_KIND::STATIC_PICK_LIST:
            if (inTriggerDependency) {
                // The cases' lists merged into one, with the remote fallback.
                extractFormatDataFromStaticPickListAvailableInTrigDep(format, oldTable, newTable,
                                                                      column, oldCells, newCells);
            } else {
                remove_add_row_markers(format);
                std::string pickList;
                extractStaticPickListString(format, pickList);
                extractFormatDataFromStaticPickList(pickList, oldTable, newTable, column, oldCells,
                                                    newCells);
            }
            break;
        case KQ_COLUMN_KIND::REMOTE_PICK_LIST:
            extractFormatDataFromRemotePicklistString(format, oldTable, newTable, column, oldCells,
                                                      newCells);
            break;
        case KQ_COLUMN_KIND::SYSTEM_VARIABLE:
            getPrettyValFromSystemVar(oldTable, column, oldCells);
            getPrettyValFromSystemVar(newTable, column, newCells);
            break;
        case KQ_COLUMN_KIND::PLAIN_VALUE:
            extractFormatDataFromOldAndNewTable(oldTable, newTable, column, oldCells, newCells);
            break;
        case KQ_COLUMN_KIND::NONE: break;  // the cells keep their values
    }
}

int Formatter::GetFormattedValue(KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                                 std::vector<kq_formatted_col_data_struct>& oldColumns,
                                 std::vector<kq_formatted_col_data_struct>& newColumns) {
    // A side without an entry at a position has no cells there.
    KQ_CELL_LIST noOld, noNew;
    for (size_t i = 0; i < oldColumns.size() || i < newColumns.size(); ++i) {
        const long column = i < oldColumns.size() ? oldColumns[i].column : newColumns[i].column;
        const int c = static_cast<int>(column);
        std::string format = newTable->get_us_format(c);
        const std::string selection = newTable->get_component_sel(c);
        const ColumnFacts facts{format, newTable->get_int_type(c), newTable->get_is_date_time(c),
                                selection};
        const KQ_COLUMN_KIND kind = classify_column(*this, facts, trace_);
        if (trace_ != nullptr) {
            trace_->kind = kind;
            trace_->formatter = formatter_name(kind);
            // A numeric format that no numeric formatter took: the column's
            // type sent it down the general path, where nothing prints it.
            if (kind == KQ_COLUMN_KIND::NONE && (check_if_int(format) || check_if_float(format)))
                note("unprintable type", -1,
                     [&] { return "type " + std::to_string(facts.type) + ", numeric format"; });
        }
        format_column(kind, format, oldTable, newTable, column, cells_at(oldColumns, i, noOld),
                      cells_at(newColumns, i, noNew), false);
    }
    return 1;
}

}  // namespace kq
