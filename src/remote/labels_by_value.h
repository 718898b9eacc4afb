// Looking the cells of the live table up in a remote name map by their
// stored integer rather than by their text.
//
// The map is keyed by the text the table's string read gives a stored value.
// For a column stored as a byte or a 32-bit integer that text depends only
// on the stored value, so it is read and looked up once per distinct value
// of the call; the other cells of that value cost one integer read and one
// hash probe. Rows outside the table, whose string read gives the empty
// text rather than the text of a value, take the plain text lookup.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "core/formatter.h"
#include "core/table_access.h"
#include "picklist/name_map_lookup.h"

namespace kq {

class LabelsByValue {
public:
    // Worth building for lists of at least this many cells.
    static constexpr std::size_t kMinimumCells = 8;

    static bool applies(int type) {
        return type == KQ_TYPE_INT32 || type == KQ_TYPE_UINT32 || type == KQ_TYPE_BYTE;
    }

    LabelsByValue(Formatter& formatter, KWTABLE* table, long column, int type,
                  const KQ_NAME_MAP& names)
        : formatter_(formatter), table_(table), column_(column), type_(type), names_(names) {}

    // The same as name_cells_from_map on the live table: every cell in list
    // order, a miss logged and the cell kept. Returns 1 when every cell found
    // a name.
    int name_cells(KQ_CELL_LIST& cells) {
        int all_found = 1;
        for (auto& cell : cells) {
            if (cell.row < 0 || cell.row >= row_count(table_)) {
                if (!name_cell_from_map(formatter_, table_, column_, names_, cell, text_))
                    all_found = 0;
                continue;
            }
            const std::string* name =
                name_of(read_int32_cell(table_, column_, cell.row, type_), cell);
            if (name != nullptr) {
                cell.value = *name;
                continue;
            }
            // A miss goes the text way again, so that it is logged as before.
            name_cell_from_map(formatter_, table_, column_, names_, cell, text_);
            all_found = 0;
        }
        return all_found;
    }

private:
    // The name of a stored value (null when it has none), the text of the
    // value read and looked up on its first cell.
    const std::string* name_of(uint32_t value, const _kq_fomatted_cell_data_struct& cell) {
        const auto found = by_value_.find(value);
        if (found != by_value_.end()) return found->second;
        read_cell(table_, column_, cell.row, text_);
        const auto named = names_.find(text_);
        const std::string* name = named != names_.end() ? &named->second : nullptr;
        by_value_.emplace(value, name);
        return name;
    }

    Formatter& formatter_;
    KWTABLE* table_;
    long column_;
    int type_;
    const KQ_NAME_MAP& names_;
    std::unordered_map<uint32_t, const std::string*> by_value_;
    std::string text_;
};

}  // namespace kq
