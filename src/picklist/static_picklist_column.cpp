// Columns whose format string is a static pick list: every requested cell
// shows the name the list gives its stored value. Values the list does not
// name are handed to the remote pick list formatter when the text also
// names a remote list, with the static names already in the shared map.

#include "kq_format_data.h"
#include "picklist/stored_value_text.h"

namespace kq {
namespace {

// Names the in-range cells of one side. A cell without a name keeps its
// value. Returns false when some in-range cell found no name.
template <class Table>
bool name_in_range_cells(Table* table, long column, int type, const KQ_NAME_MAP& names,
                         KQ_CELL_LIST& cells) {
    bool all_found = true;
    std::string text;  // one buffer for the whole side
    for (auto& cell : cells) {
        if (!kq::row_in_range(table, cell.row)) continue;
        kq::stored_value_text(table, column, cell.row, type, text);
        const auto found = names.find(text);
        if (found != names.end())
            cell.value = found->second;
        else
            all_found = false;
    }
    return all_found;
}

}  // namespace
}  // namespace kq

void KQ_FORMAT_DATA::extractFormatDataFromStaticPickList(std::string pickList,
                                                         KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                                                         long column, KQ_CELL_LIST& oldCells,
                                                         KQ_CELL_LIST& newCells) {
    KQ_NAME_MAP names;
    populatePrettyValFromStaticPickList(pickList, names);
    const int type = newTable->get_int_type(static_cast<int>(column));

    // Both sides are always walked; a miss on the old side does not spare
    // the new one.
    const bool old_found = kq::name_in_range_cells(oldTable, column, type, names, oldCells);
    const bool new_found = kq::name_in_range_cells(newTable, column, type, names, newCells);

    if (!(old_found && new_found) && check_if_remote_picklist(pickList))
        extractFormatDataFromRemotePicklistString(pickList, oldTable, newTable, column, oldCells,
                                                  newCells, names);
}
