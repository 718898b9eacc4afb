// Fuzz target: the --rows and --columns lists of kqfmt's command line. The
// input is the list text, given to both parsers.
//
// Checks, from the parsers' contract:
//   - exactly one of "error" and a non-empty result;
//   - rows: never more than kMaxRequestedRows, each between 0 and
//     2147483647; an accepted list has only digits, "-" and ",";
//   - the number of rows is at least the number of items, and an item that
//     is a plain number gives that number at its place;
//   - columns: one item per comma-separated piece, in order; a number item is
//     a piece of digits only, a name item is the piece verbatim.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "text/selection_lists.h"

namespace {

std::vector<std::string_view> pieces(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        out.push_back(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) return out;
        start = comma + 1;
    }
}

bool digits_only(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// Value of a digits-only text without leading-zero trouble; -1 past 2^31-1.
long long value_of(std::string_view digits) {
    long long v = 0;
    for (char c : digits) {
        v = v * 10 + (c - '0');
        if (v > 2147483647LL) return -1;
    }
    return v;
}

void check_rows(std::string_view text) {
    const kqfmt::RowList list = kqfmt::parse_row_list(text);
    if (list.error.empty() == list.rows.empty()) std::abort();
    if (!list.error.empty()) return;
    if (list.rows.size() > kqfmt::kMaxRequestedRows) std::abort();
    for (int32_t row : list.rows)
        if (row < 0) std::abort();
    for (char c : text)
        if (!(c == ',' || c == '-' || (c >= '0' && c <= '9'))) std::abort();

    // Walk the items: a plain number stands at its own place; a range A-B
    // takes B - A + 1 places starting with A and ending with B.
    std::size_t at = 0;
    for (std::string_view item : pieces(text)) {
        const std::size_t dash = item.find('-');
        const long long first = value_of(item.substr(0, dash));
        const long long last =
            dash == std::string_view::npos ? first : value_of(item.substr(dash + 1));
        if (first < 0 || last < first) std::abort();
        const std::size_t count = static_cast<std::size_t>(last - first) + 1;
        if (at + count > list.rows.size()) std::abort();
        if (list.rows[at] != first || list.rows[at + count - 1] != last) std::abort();
        at += count;
    }
    if (at != list.rows.size()) std::abort();
}

void check_columns(std::string_view text) {
    const kqfmt::ColumnList list = kqfmt::parse_column_list(text);
    if (list.error.empty() == list.items.empty()) std::abort();
    if (!list.error.empty()) return;
    const std::vector<std::string_view> parts = pieces(text);
    if (parts.size() != list.items.size()) std::abort();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const kqfmt::ColumnItem& item = list.items[i];
        if (item.is_number != digits_only(parts[i])) std::abort();
        if (item.is_number ? item.number != value_of(parts[i]) : item.name != parts[i])
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check_rows(text);
    check_columns(text);
    return 0;
}
