// Static pick lists: "name(value)" entries written in a format string, the
// name map they give, and looking cells up in such a map.

#include "core/formatter.h"
#include "core/text_search.h"
#include "picklist/name_map_lookup.h"

namespace kq {
namespace {

// An entry after a separator is read only when at least this many
// characters follow the separator: one-character name, "(", one-character
// value, ")".
constexpr Pos kShortestEntry = 4;

}  // namespace
}  // namespace kq

// Entries are a name, "(", the value text up to the first ")", then exactly
// one separator character of any kind. Nothing is trimmed. A value keeps the
// first name it receives, also across calls into the same map.
void kq::Formatter::populatePrettyValFromStaticPickList(std::string pickList, KQ_NAME_MAP& names) {
    using namespace kq;
    Pos entry = 0;  // start of the entry being read
    Pos open = find_from(pickList, '(', entry);
    while (open != kNone) {
        const Pos close = find_from(pickList, ')', open);
        std::string name = between(pickList, entry, open);
        // try_emplace leaves `name` alone when the value is already named, so
        // the two names can still be compared; a new entry takes it over.
        const auto added = names.try_emplace(between(pickList, open + 1, close), std::move(name));
        // A value named again with another name shows the first name only.
        if (!added.second && added.first->second != name)
            note("duplicate value", -1,
                 [&] { return between(pickList, entry, close == kNone ? kNone : close + 1); });
        if (close == kNone) return;  // the value ran to the end of the text
        // Skip the ")" and one separator; stop when no full entry fits.
        entry = close + 2;
        if (entry >= pickList.size() || pickList.size() - entry < kShortestEntry) return;
        open = find_from(pickList, '(', entry);
    }
}

int kq::Formatter::getRowPrettyValFromMap(KQ_TABLE_COPY* table, long column, KQ_NAME_MAP& names,
                                          _kq_fomatted_cell_data_struct& cell) {
    std::string stored;
    return kq::name_cell_from_map(*this, table, column, names, cell, stored);
}

int kq::Formatter::getRowPrettyValFromMap(KWTABLE* table, long column, KQ_NAME_MAP& names,
                                          _kq_fomatted_cell_data_struct& cell) {
    std::string stored;
    return kq::name_cell_from_map(*this, table, column, names, cell, stored);
}

int kq::Formatter::getPrettyValFromMap(KQ_TABLE_COPY* table, long column, KQ_NAME_MAP& names,
                                       KQ_CELL_LIST& cells) {
    return kq::name_cells_from_map(*this, table, column, names, cells);
}

int kq::Formatter::getPrettyValFromMap(KWTABLE* table, long column, KQ_NAME_MAP& names,
                                       KQ_CELL_LIST& cells) {
    return kq::name_cells_from_map(*this, table, column, names, cells);
}
