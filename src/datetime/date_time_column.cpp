// Date/time columns: 32-bit integer cells holding points in time or
// durations, converted to seconds and written by the platform's date/time
// formatter. Columns the table flags as date/time show the full date and
// time; the others show a time shaped by the format named in their format
// string, as in "__DATE_TIME__(HH:MM)".

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/formatter.h"
#include "core/log_lines.h"
#include "core/table_access.h"
#include "core/text_search.h"
#include "csys_date_time_format.h"
#include "kq_units.h"
#include "kw_table.h"

namespace kq {
namespace {

constexpr const char* kDateTimeMarker = "__DATE_TIME__";

// Room for the time format: longer texts are cut to this many bytes.
constexpr std::size_t kTimeFormatCapacity = 16;

// Reads one 32-bit cell of type 8 or 9 into the union member of that type.
template <class Table>
DATA_TYPE_UNION read_time_cell(Table* table, long column, int32_t row, int type) {
    DATA_TYPE_UNION value;
    const uint32_t bits = read_int32_cell(table, column, row, type);
    if (type == KQ_TYPE_UINT32)
        value.ulVal = bits;
    else
        value.lVal = static_cast<int32_t>(bits);
    return value;
}

// The seconds handed to the formatter: the same 32 bits as a signed value,
// so an unsigned value of 2^31 or more arrives negative, on every host.
long seconds_of(const DATA_TYPE_UNION& value, int type) {
    const int32_t bits = type == KQ_TYPE_UINT32 ? static_cast<int32_t>(value.ulVal) : value.lVal;
    return static_cast<long>(bits);
}

}  // namespace
}  // namespace kq

void kq::Formatter::extractFormattedDateTimeVal(std::string format, KQ_TABLE_COPY* oldTable,
                                                KWTABLE* newTable, long column,
                                                KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells) {
    CSysDateTimeFormat formatter;
    // The formatter is meant to get the registry of tables; without one the
    // call is skipped rather than handing over a reference to nothing.
    if (pMasterTable != nullptr) formatter.SetMasterClassPointer(*pMasterTable);

    const std::string units = newTable->get_units(static_cast<int>(column));
    const UNIT_ENUM storedUnit = GetUnitEnum(units.c_str());
    const int type = newTable->get_int_type(static_cast<int>(column));
    std::string timeFormat;
    getTimeFormat(format, timeFormat);
    const int isDateTime = newTable->get_is_date_time(static_cast<int>(column));
    note("renders", -1, [&] {
        return isDateTime ? std::string("date and time (GetDateTime)")
                          : "time of day \"" + timeFormat + "\" (GetTime; empty means HH:MM:SS)";
    });

    note_unit_conversion(-1, std::string(), storedUnit, units, UNIT_SECONDS, "s");
    if (type != KQ_TYPE_UINT32 && type != KQ_TYPE_INT32) {
        note("unprintable type", -1,
             [&] { return "type " + std::to_string(type) + ", date/time format"; });
        KQ_DEBUG_LINE("The data %d is not supported for extracting formatted date/time value",
                      type);
        return;
    }

    // Old cells read the snapshot, new cells the live table; the unit and
    // the flag always come from the live table.
    auto render = [&](auto* table, KQ_CELL_LIST& cells) {
        for (_kq_fomatted_cell_data_struct& cell : cells) {
            if (!kq::row_in_range(table, cell.row)) continue;
            DATA_TYPE_UNION value = kq::read_time_cell(table, column, cell.row, type);
            getDatabaseValAfterUnitConversion(newTable, column, type, &value, storedUnit,
                                              UNIT_SECONDS);
            const long seconds = kq::seconds_of(value, type);
            if (isDateTime)
                formatter.GetDateTime(seconds, cell.value);
            else
                formatter.GetTime(seconds, cell.value, 0, timeFormat);
        }
    };
    render(oldTable, oldCells);
    render(newTable, newCells);
}

void kq::Formatter::getTimeFormat(std::string format, std::string& timeFormat) {
    // The format sits in the first "(" after the marker and runs to the
    // next ")", or to the end of the string when none follows. Without the
    // marker, or without a "(" after it, the format is empty and the
    // platform's default shape applies.
    const kq::Pos marker = kq::find_from(format, kq::kDateTimeMarker);
    const kq::Pos open = marker == kq::kNone ? kq::kNone : kq::find_from(format, '(', marker);
    if (open == kq::kNone) {
        timeFormat.clear();
        return;
    }
    const std::string text = kq::between(format, open + 1, kq::find_from(format, ')', open));

    // A fixed buffer: at most the first 16 bytes are kept, and the text ends
    // at the first zero byte as a C string does.
    char buffer[kq::kTimeFormatCapacity + 1] = {0};
    const std::size_t kept =
        text.size() < kq::kTimeFormatCapacity ? text.size() : kq::kTimeFormatCapacity;
    for (std::size_t i = 0; i < kept; ++i)
        buffer[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    timeFormat.assign(buffer);
}
