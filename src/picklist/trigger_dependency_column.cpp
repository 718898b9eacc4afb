// Columns whose format string is a trigger dependency ("@COLUMN{...}") and
// that no numeric or date/time formatter took: the whole format string picks
// one family for both sides at once.
#include <string>

#include "core/column_classification.h"
#include "core/formatter.h"
#include "kw_table.h"

// The general path's chain decides: merged static pick lists, then remote
// pick lists, then string columns (system-variable names or plain values).
// A format that fits none, such as one whose only case is
// "__CLEAR_READ_ONLY__", leaves every cell as supplied.
void kq::Formatter::extractFormatDataFromTriggerDependencies(std::string format,
                                                             KQ_TABLE_COPY* oldTable,
                                                             KWTABLE* newTable, long column,
                                                             KQ_CELL_LIST& oldCells,
                                                             KQ_CELL_LIST& newCells) {
    const std::string selection = newTable->get_component_sel(static_cast<int>(column));
    const ColumnFacts facts{format, KQ_TYPE_STRING, 0, selection};
    const KQ_COLUMN_KIND family = classify_list_or_string(*this, facts, trace_);
    note("family", -1, [&] { return std::string(KQ_ColumnKindName(family)); });
    format_column(family, format, oldTable, newTable, column, oldCells, newCells, true);
}
