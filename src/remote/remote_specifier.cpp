// A numeric format borrowed from a column of another table.
//
// Inside a trigger dependency a case may name "TABLE.column" (between the
// case's "]" and the closing "}") instead of writing a specifier; the
// column's own format is then used. In a format marked "__remoterow__", a
// column name holding "#" stands for the float pseudo-specifier "%76g".
#include "core/formatter.h"
#include "core/log_lines.h"
#include "core/text_search.h"
#include "kw_table.h"

namespace {
constexpr const char* kRemoteRowPseudoSpecifier = "%76g";
}

int kq::Formatter::getRemoteFormatSpecifier(std::string formatString, std::string& remoteFormat) {
    using kq::kNone;
    const kq::Pos dot = kq::find_from(formatString, '.');
    if (dot == kNone) return 1;
    const kq::Pos bracket = kq::last_at_or_before(formatString, ']', dot);
    if (bracket == kNone) return 1;

    const std::string tableName = kq::between(formatString, bracket + 1, dot);
    const std::string columnName =
        kq::between(formatString, dot + 1, kq::find_from(formatString, '}', dot + 1));

    if (kq::contains(formatString, "__remoterow__") && kq::contains(columnName, '#')) {
        remoteFormat = kRemoteRowPseudoSpecifier;
        return 1;
    }

    // Without a master table no table can be found.
    KWTABLE* table =
        pMasterTable != nullptr ? pMasterTable->get_class_pointer(tableName.c_str()) : nullptr;
    note("borrows from", -1, [&] { return tableName + "." + columnName; });
    if (table == nullptr) {
        note("missing table", -1, [&] { return tableName; });
        KQ_DEBUG_LINE("Cannot get class pointer for table named: %s", tableName.c_str());
        return 0;
    }
    table->read_table_data();
    const int column = table->get_column_number(columnName, true);
    if (column < 0) {
        note("missing column", -1, [&] { return tableName + "." + columnName; });
        return 0;
    }
    remoteFormat = table->get_us_format(column);
    note("borrowed format", -1, [&] { return tableName + "." + columnName + ": " + remoteFormat; });
    return 1;
}
