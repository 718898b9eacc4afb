// Parsing of the --rows and --columns lists.
#include "text/selection_lists.h"

#include <limits>

namespace kqfmt {
namespace {

constexpr int64_t kMaxNumber = std::numeric_limits<int32_t>::max();

bool all_digits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// Value of a digits-only text, or -1 when it exceeds kMaxNumber.
int64_t digits_value(std::string_view digits) {
    int64_t value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > kMaxNumber) return -1;
    }
    return value;
}

// Calls `item(text)` for every comma-separated item; stops at the first
// item for which it returns false.
template <typename Fn>
void for_each_item(std::string_view text, Fn item) {
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view piece = text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (!item(piece) || comma == std::string_view::npos) return;
        start = comma + 1;
    }
}

// The item in quotes, control bytes written as \xNN so that an error stays
// on one line.
std::string quoted(std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "'";
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out + "'";
}

}  // namespace

RowList parse_row_list(std::string_view text) {
    RowList result;
    if (text.empty()) {
        result.error = "empty row list";
        return result;
    }
    for_each_item(text, [&](std::string_view item) {
        const std::size_t dash = item.find('-');
        const std::string_view first = item.substr(0, dash);
        const std::string_view last =
            dash == std::string_view::npos ? first : item.substr(dash + 1);
        if (!all_digits(first) || !all_digits(last)) {
            result.error = quoted(item) + " is not a row number or a range A-B";
            return false;
        }
        const int64_t a = digits_value(first);
        const int64_t b = digits_value(last);
        if (a < 0 || b < 0) {
            result.error = quoted(item) + " holds a row number past 2147483647";
            return false;
        }
        if (a > b) {
            result.error = "range " + quoted(item) + " ends before it starts";
            return false;
        }
        if (static_cast<uint64_t>(b - a) + 1 > kMaxRequestedRows - result.rows.size()) {
            result.error = "more than " + std::to_string(kMaxRequestedRows) + " rows requested";
            return false;
        }
        for (int64_t row = a; row <= b; ++row) result.rows.push_back(static_cast<int32_t>(row));
        return true;
    });
    if (!result.error.empty()) result.rows.clear();
    return result;
}

ColumnList parse_column_list(std::string_view text) {
    ColumnList result;
    if (text.empty()) {
        result.error = "empty column list";
        return result;
    }
    for_each_item(text, [&](std::string_view item) {
        ColumnItem column;
        if (item.empty()) {
            result.error = "empty item in column list";
            return false;
        }
        if (all_digits(item)) {
            const int64_t number = digits_value(item);
            if (number < 0) {
                result.error = "column number " + quoted(item) + " is past 2147483647";
                return false;
            }
            column.is_number = true;
            column.number = static_cast<int32_t>(number);
        } else {
            column.name = std::string(item);
        }
        result.items.push_back(std::move(column));
        return true;
    });
    if (!result.error.empty()) result.items.clear();
    return result;
}

}  // namespace kqfmt
