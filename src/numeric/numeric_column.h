// The walk over the requested cells of one numeric column, shared by the
// floating-point and the integer formatter.
//
// Set-up once per call: data type, stored unit and display unit from the
// live table (or, for a trigger dependency naming "UNIT=", the display unit
// per row from the format). Then the old cells, then the new cells; a cell
// whose row is not below its table's row count is left as it is. Per
// formatted cell: display unit, specifier, read, unit conversion, print,
// unit text. Specifier and display unit run on from row to row, also from
// the last old cell into the first new cell, so a row that names none keeps
// the previous one.
//
// A Column policy supplies what differs:
//   static const SpecifierSyntax& syntax();
//   static bool supports(int type);
//   static void report_unsupported(int type);   // logs with its own line
//   template <class Table> static PrintValue read(KQ_FORMAT_DATA&, Table*,
//       KWTABLE* live, long column, long row, int type, UNIT_ENUM stored,
//       UNIT_ENUM display, std::string& specifier);
//     reads the cell, converts it to the display unit and may rewrite the
//     specifier for this value (pseudo-specifiers).
#pragma once

#include <string>

#include "core/table_access.h"
#include "kq_format_data.h"
#include "kq_units.h"
#include "numeric/specifier_printer.h"
#include "numeric/specifier_resolver.h"

namespace kq {

template <class Column>
void format_numeric_column(KQ_FORMAT_DATA& formatter, const std::string& format,
                           KQ_TABLE_COPY* oldTable, KWTABLE* newTable, long column,
                           KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells) {
    const int type = newTable->get_int_type(column);
    const std::string storedUnitText = newTable->get_units(column);
    // An empty format raises std::out_of_range here, before any cell.
    const bool trigger = formatter.check_trigger_dependency(format) != 0;
    const bool unitPerRow =
        trigger && formatter.check_if_units_in_trigger_dependency_column(format) != 0;
    // Until a row names its unit, the display unit is that of the empty
    // name: no unit.
    std::string displayUnitText = unitPerRow ? std::string() : newTable->get_units_us(column);
    const UNIT_ENUM storedUnit = GetUnitEnum(storedUnitText.c_str());
    UNIT_ENUM displayUnit = GetUnitEnum(displayUnitText.c_str());
    if (!Column::supports(type)) {
        Column::report_unsupported(type);
        return;
    }

    std::string specifier;   // the row's specifier; kept when a row resolves none
    std::string unitSuffix;  // what the display unit appends to a printed value
    formatter.appendUnitsStringIfAny(displayUnit, displayUnitText, unitSuffix);
    std::string work;

    // Only a trigger dependency makes the specifier depend on the row (its
    // case in force, the tables it borrows from); any other format resolves
    // to the same result for every row and is resolved once.
    std::string fixedSpecifier;
    enum { kUnresolved, kNoSpecifier, kResolved } fixed = kUnresolved;

    ParsedSpecifier printer;
    char text[kPrintBufferSize];

    auto formatCells = [&](auto* table, KQ_CELL_LIST& cells) {
        if (table == nullptr) return;  // no snapshot: no old rows
        for (_kq_fomatted_cell_data_struct& cell : cells) {
            if (!row_in_range(table, cell.row)) continue;
            const long row = cell.row;

            if (unitPerRow) {
                formatter.getUsUnitFromtFormatString(format, newTable, row, &displayUnit,
                                                     displayUnitText, work);
                unitSuffix.clear();
                formatter.appendUnitsStringIfAny(displayUnit, displayUnitText, unitSuffix);
            }

            if (trigger) {
                resolve_specifier(formatter, Column::syntax(), format, newTable, row, specifier, 0);
            } else {
                if (fixed == kUnresolved) {
                    fixed = resolve_specifier(formatter, Column::syntax(), format, newTable, row,
                                              fixedSpecifier, 0)
                                ? kResolved
                                : kNoSpecifier;
                }
                if (fixed == kResolved) specifier.assign(fixedSpecifier);
            }

            const PrintValue value = Column::read(formatter, table, newTable, column, row, type,
                                                  storedUnit, displayUnit, specifier);
            printer.set(specifier);
            const std::size_t length = printer.print(value, text);
            cell.value.reserve(length + unitSuffix.size());
            cell.value.assign(text, length);
            cell.value.append(unitSuffix);
        }
    };
    formatCells(oldTable, oldCells);
    formatCells(newTable, newCells);
}

}  // namespace kq
