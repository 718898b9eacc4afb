// References whose table name holds the row number: one reference per
// requested row.
#pragma once

#include <string>

#include "core/formatter.h"

namespace kq {

// The 13-character marker that stands for the row number (from 1).
constexpr const char kRowNumberMarker[] = "[__ROW_NUM__]";

// For each old cell i: puts the cell's row + 1 in place of the marker at
// `marker` in `rowTemplate`, parses that reference into `names` and, when it
// brought names, names old cell i and new cell i (if there is one) and
// empties the map. Returns 1 when every row's reference parsed and every
// looked-up cell found a name, else 0.
int format_rows_from_template(kq::Formatter& formatter, KWTABLE* newTable, KQ_TABLE_COPY* oldTable,
                              long column, KQ_NAME_MAP& names, const std::string& rowTemplate,
                              unsigned int marker, KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells);

}  // namespace kq
