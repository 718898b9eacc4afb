// Pick lists of a trigger-dependency format "@COLUMN{[case]text,...}": the
// static lists of all cases are merged into one name map (the earlier case
// wins where two name the same value), whatever case is in force for a row.

#include <cstring>
#include <utility>
#include <vector>

#include "core/formatter.h"
#include "core/log_lines.h"
#include "core/table_access.h"
#include "core/text_search.h"
#include "picklist/name_map_lookup.h"

namespace kq {
namespace {

constexpr const char kClearReadOnly[] = "__CLEAR_READ_ONLY__";

bool is_clear_read_only(const std::string& format, kq::Pos from, kq::Pos to) {
    const kq::Pos n = std::strlen(kClearReadOnly);
    return to - from == n && format.compare(from, n, kClearReadOnly) == 0;
}

// The trigger column's name: the text after the lead "@" up to the "{".
std::string trigger_column_name(const std::string& format, kq::Pos brace) {
    return brace > 1 ? kq::between(format, 1, brace) : std::string();
}

void physical_text(kq::Formatter& fmt, KQ_TABLE_COPY* table, int type, std::string& text,
                   long column, unsigned int index, KQ_CELL_LIST& cells) {
    fmt.getDBptPhysicalValFromOldTable(table, type, text, column, index, cells);
}
void physical_text(kq::Formatter& fmt, KWTABLE* table, int type, std::string& text, long column,
                   unsigned int index, KQ_CELL_LIST& cells) {
    fmt.getDBptPhysicalValFromNewTable(table, type, text, column, index, cells);
}

// Names the in-range cells of one side through the plain-value reader.
// `text` is shared by every cell of the call. Returns true when some
// in-range cell found no name (its value is kept); with `unnamed` given,
// each such row and its stored text are kept there.
template <class Table>
bool name_cells_by_physical_value(kq::Formatter& fmt, Table* table, long column, int type,
                                  const KQ_NAME_MAP& names, std::string& text, KQ_CELL_LIST& cells,
                                  std::vector<std::pair<long, std::string>>* unnamed = nullptr) {
    bool missed = false;
    for (unsigned int i = 0; i < cells.size(); ++i) {
        if (!kq::row_in_range(table, cells[i].row)) continue;
        physical_text(fmt, table, type, text, column, i, cells);
        const auto found = names.find(text);
        if (found != names.end()) {
            cells[i].value = found->second;
        } else {
            missed = true;
            if (unnamed != nullptr) unnamed->emplace_back(cells[i].row, text);
        }
    }
    return missed;
}

}  // namespace
}  // namespace kq

// A case text runs from its "]" to the first "," after it, even one past the
// closing "}"; only when no "," follows at all does the "}" end it. A case
// with neither ends the parse.
void kq::Formatter::populatePrettyValFromTriggerDependencies(KWTABLE* /*table*/, std::string format,
                                                             KQ_NAME_MAP& names) {
    using namespace kq;
    const Pos brace = find_from(format, '{');
    if (brace == kNone) return;
    Pos open = find_from(format, '[');
    while (open != kNone) {
        const Pos close = find_from(format, ']', open + 1);
        if (close == kNone) return;
        Pos end = find_from(format, ',', close + 1);
        if (end == kNone) end = find_from(format, '}', close + 1);
        if (end == kNone) return;

        if (kq::is_clear_read_only(format, close + 1, end)) {
            KQ_DEBUG_LINE("__CLEAR_READ_ONLY__ found for column:%s",
                          kq::trigger_column_name(format, brace).c_str());
        } else {
            populatePrettyValFromStaticPickList(between(format, close + 1, end), names);
        }
        open = find_from(format, '[', end);
    }
}

int kq::Formatter::getPrettyValFromStaticPickList(KWTABLE* newTable, KQ_TABLE_COPY* oldTable,
                                                  int column, std::string format,
                                                  KQ_NAME_MAP& names, KQ_CELL_LIST& cells) {
    populatePrettyValFromTriggerDependencies(newTable, std::move(format), names);
    return kq::name_cells_from_map(*this, oldTable, column, names, cells);
}

int kq::Formatter::getPrettyValFromStaticPickList(KWTABLE* newTable, int column, std::string format,
                                                  KQ_NAME_MAP& names, KQ_CELL_LIST& cells) {
    populatePrettyValFromTriggerDependencies(newTable, std::move(format), names);
    return kq::name_cells_from_map(*this, newTable, column, names, cells);
}

// The old side is finished (remote fallback included) before any new cell
// is read; each side's fallback sees only that side's cells.
void kq::Formatter::extractFormatDataFromStaticPickListAvailableInTrigDep(
    std::string format, KQ_TABLE_COPY* oldTable, KWTABLE* newTable, long column,
    KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells) {
    KQ_NAME_MAP names;
    populatePrettyValFromTriggerDependencies(newTable, format, names);
    note_pairs(format, names);
    const int type = newTable->get_int_type(static_cast<int>(column));
    std::string text;

    if (kq::name_cells_by_physical_value(*this, oldTable, column, type, names, text, oldCells) &&
        check_if_remote_picklist(format)) {
        KQ_CELL_LIST none;
        extractFormatDataFromRemotePicklistString(format, oldTable, newTable, column, oldCells,
                                                  none);
    }
    // A trace keeps the live rows without a name, for when no remote list
    // takes them over.
    std::vector<std::pair<long, std::string>> unnamed;
    const bool newMissed = kq::name_cells_by_physical_value(
        *this, newTable, column, type, names, text, newCells, trace() ? &unnamed : nullptr);
    if (newMissed && check_if_remote_picklist(format)) {
        KQ_CELL_LIST none;
        extractFormatDataFromRemotePicklistString(format, oldTable, newTable, column, none,
                                                  newCells);
    } else {
        for (const auto& miss : unnamed)
            note("no display name", miss.first, [&] { return miss.second; });
    }
}
