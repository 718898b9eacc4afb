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

// The name the list gives the stored value of `row`, or null. Integer
// columns are looked up by value (`by_value`), others by text (in `text`).
template <class Table>
const std::string* name_of_cell(Table* table, long column, int type, const KQ_NAME_MAP& names,
                                const IntegerNames* by_value, long row, std::string& text) {
    if (by_value != nullptr) return by_value->find(kq::stored_integer(table, column, row, type));
    kq::stored_value_text(table, column, row, type, text);
    const auto found = names.find(text);
    return found != names.end() ? &found->second : nullptr;
}

// Names the in-range cells of one side. A cell without a name keeps its
// value. Returns false when some in-range cell found no name.
template <class Table>
bool name_in_range_cells(Table* table, long column, int type, const KQ_NAME_MAP& names,
                         const IntegerNames* by_value, KQ_CELL_LIST& cells) {
    bool all_found = true;
    std::string text;  // one buffer for the whole side
    for (auto& cell : cells) {
        if (!kq::row_in_range(table, cell.row)) continue;
        const std::string* name =
            name_of_cell(table, column, type, names, by_value, cell.row, text);
        if (name != nullptr)
            cell.value = *name;
        else
            all_found = false;
    }
    return all_found;
}

// For a trace: the live rows whose stored value the list does not name (the
// cell keeps the value it had). Walks the cells again, so it runs only when a
// trace is wanted and no remote list takes over the misses.
void note_unnamed(kq::Formatter& formatter, KWTABLE* table, long column, int type,
                  const KQ_NAME_MAP& names, const IntegerNames* by_value,
                  const KQ_CELL_LIST& cells) {
    std::string text;
    for (const auto& cell : cells) {
        if (!kq::row_in_range(table, cell.row) ||
            name_of_cell(table, column, type, names, by_value, cell.row, text) != nullptr)
            continue;
        kq::stored_value_text(table, column, cell.row, type, text);
        formatter.note("no display name", cell.row, [&] { return text; });
    }
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
    else if (trace() != nullptr && !new_found)
        kq::note_unnamed(*this, newTable, column, type, names, byValuePtr, newCells);
}
