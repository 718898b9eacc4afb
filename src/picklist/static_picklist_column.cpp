// Columns whose format string is a static pick list: every requested cell
// shows the name the list gives its stored value. Values the list does not
// name are handed to the remote pick list formatter when the text also
// names a remote list, with the static names already in the shared map.

#include <optional>

#include "core/formatter.h"
#include "picklist/integer_names.h"
#include "picklist/stored_value_text.h"

namespace kq {
namespace {

// Names the in-range cells of one side. A cell without a name keeps its
// value. Returns false when some in-range cell found no name. Integer
// columns are looked up by value (`by_value`), others by text.
template <class Table>
bool name_in_range_cells(Table* table, long column, int type, const KQ_NAME_MAP& names,
                         const IntegerNames* by_value, KQ_CELL_LIST& cells) {
    bool all_found = true;
    std::string text;  // one buffer for the whole side
    for (auto& cell : cells) {
        if (!kq::row_in_range(table, cell.row)) continue;
        const std::string* name = nullptr;
        if (by_value != nullptr) {
            name = by_value->find(kq::stored_integer(table, column, cell.row, type));
        } else {
            kq::stored_value_text(table, column, cell.row, type, text);
            const auto found = names.find(text);
            if (found != names.end()) name = &found->second;
        }
        if (name != nullptr)
            cell.value = *name;
        else
            all_found = false;
    }
    return all_found;
}

}  // namespace
}  // namespace kq

void kq::Formatter::extractFormatDataFromStaticPickList(std::string pickList,
                                                        KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                                                        long column, KQ_CELL_LIST& oldCells,
                                                        KQ_CELL_LIST& newCells) {
    KQ_NAME_MAP names;
    populatePrettyValFromStaticPickList(pickList, names);
    note_pairs(pickList, names);
    const int type = newTable->get_int_type(static_cast<int>(column));
    std::optional<kq::IntegerNames> byValue;
    if (kq::has_integer_text(type) && !(oldCells.empty() && newCells.empty()))
        byValue.emplace(names);
    const kq::IntegerNames* byValuePtr = byValue ? &*byValue : nullptr;

    // Both sides are always walked; a miss on the old side does not spare
    // the new one.
    const bool old_found =
        kq::name_in_range_cells(oldTable, column, type, names, byValuePtr, oldCells);
    const bool new_found =
        kq::name_in_range_cells(newTable, column, type, names, byValuePtr, newCells);

    if (!(old_found && new_found) && check_if_remote_picklist(pickList))
        extractFormatDataFromRemotePicklistString(pickList, oldTable, newTable, column, oldCells,
                                                  newCells, names);
}
