// String columns: shown by system-variable display names when the column
// has a component selection, otherwise as plain values.
#pragma once

#include "kq_format_data.h"

namespace kq {

// Old cells first, then new cells, in both branches.
void format_string_column(KQ_FORMAT_DATA& formatter, KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                          long column, KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells);

}  // namespace kq
