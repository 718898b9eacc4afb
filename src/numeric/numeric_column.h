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
// Work that depends only on the format string is done once per call: a
// format that is no trigger dependency resolves to one specifier for every
// row; a trigger dependency resolves once per case (its unit as well), and
// only a specifier borrowed from another table is asked for again per row,
// since that repeats the other table's look-ups. Each distinct specifier is
// checked and split once (ParsedSpecifier).
//
// A Column policy supplies what differs:
//   static const SpecifierSyntax& syntax();
//   static bool supports(int type);
//   static void report_unsupported(int type);   // logs with its own line
//   static bool decodes(int type);              // pseudo-specifiers apply
//   template <class Table> static PrintValue read(KQ_FORMAT_DATA&, Table*,
//       KWTABLE* live, long column, long row, int type, UNIT_ENUM stored,
//       UNIT_ENUM display);
//     reads the cell and converts it to the display unit.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/table_access.h"
#include "kq_format_data.h"
#include "kq_units.h"
#include "numeric/format_units.h"
#include "numeric/pseudo_specifiers.h"
#include "numeric/specifier_printer.h"
#include "numeric/specifier_resolver.h"
#include "picklist/trigger_column.h"

namespace kq {

// True for the two pseudo-specifiers, which float values decode per value.
inline bool is_pseudo_specifier(const std::string& specifier) {
    return specifier == "%76g" || specifier == "%86g";
}

// What one case of a trigger dependency gives every row it is in force for.
struct CaseResult {
    bool done = false;  // worked out
    // Unit (only for formats naming units per case).
    bool unit_found = false;
    UNIT_ENUM unit = UNIT_NONE;
    std::string suffix;  // what the unit appends to a printed value
    // Specifier; not kept when it came from another table.
    bool remote = false;
    int resolved = 0;
    std::string specifier;
    ParsedSpecifier printer;
    bool pseudo = false;
};

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
    const std::string displayUnitText = unitPerRow ? std::string() : newTable->get_units_us(column);
    const UNIT_ENUM storedUnit = GetUnitEnum(storedUnitText.c_str());
    UNIT_ENUM displayUnit = GetUnitEnum(displayUnitText.c_str());
    if (!Column::supports(type)) {
        Column::report_unsupported(type);
        return;
    }
    const bool decodes = Column::decodes(type);

    // Row state that runs on from row to row: the specifier (and the printer
    // that holds it parsed) and the unit text. The specifier is the text
    // `current` points to: a case's or the format's own, kept for the call,
    // or `specifier` once a value has decoded it or it was borrowed.
    std::string specifier;
    const std::string* current = &specifier;
    ParsedSpecifier empty;
    const ParsedSpecifier* printer = &empty;
    bool pseudo = false;  // *current is "%76g" or "%86g"
    auto take = [&](const std::string& text, const ParsedSpecifier* parsed, bool isPseudo) {
        current = &text;
        printer = parsed;
        pseudo = isPseudo;
    };
    std::string firstSuffix;
    formatter.appendUnitsStringIfAny(displayUnit, displayUnitText, firstSuffix);
    const std::string* suffix = &firstSuffix;

    // A format that is no trigger dependency: one specifier for all rows,
    // resolved at the first formatted row.
    enum { kUnresolved, kNoSpecifier, kResolved } fixed = kUnresolved;
    std::string fixedSpecifier;
    ParsedSpecifier fixedPrinter;
    bool fixedPseudo = false;

    // A trigger dependency: the cases, and per case (the last slot stands
    // for "no case in force") what it gives.
    std::unique_ptr<TriggerCases> cases;
    std::vector<CaseResult> results;
    if (trigger) {
        cases = std::make_unique<TriggerCases>(newTable, format);
        results.resize(static_cast<size_t>(cases->size()) + 1);
    }
    const std::string noCase;
    ParsedSpecifier borrowed;  // a specifier from another table
    // What the pseudo-specifiers become, parsed at the first decoding.
    static const char* const kDecoded[3] = {"%.7g", "%.8g", "%g"};
    ParsedSpecifier decoded[3];
    bool decodedParsed = false;
    char sevenDigits[kSevenDigitBuffer];

    char text[2 * kPrintBufferSize];

    auto formatCells = [&](auto* table, KQ_CELL_LIST& cells) {
        if (table == nullptr) return;  // no snapshot: no old rows
        for (_kq_fomatted_cell_data_struct& cell : cells) {
            if (!row_in_range(table, cell.row)) continue;
            const long row = cell.row;

            if (trigger) {
                // Trigger values come from the live table, for old rows too.
                const int found = cases->case_in_force(newTable, row);
                const size_t slot = found >= 0 ? static_cast<size_t>(found) : results.size() - 1;
                const std::string& caseName = found >= 0 ? cases->name(found) : noCase;
                CaseResult& r = results[slot];
                if (!r.done) {
                    r.done = true;
                    std::string name;
                    if (unitPerRow && unit_named_for_case(format, caseName, name)) {
                        r.unit_found = true;
                        r.unit = GetUnitEnum(name.c_str());
                        // The name is handed on up to a NUL byte.
                        formatter.appendUnitsStringIfAny(r.unit, name.c_str(), r.suffix);
                    }
                    r.resolved =
                        resolve_specifier_for_case(formatter, Column::syntax(), format, caseName,
                                                   newTable, row, r.specifier, r.remote);
                    if (r.resolved && !r.remote) {
                        r.printer.set(r.specifier);
                        r.pseudo = is_pseudo_specifier(r.specifier);
                    }
                } else if (r.remote) {
                    r.resolved =
                        resolve_specifier_for_case(formatter, Column::syntax(), format, caseName,
                                                   newTable, row, r.specifier, r.remote);
                }
                if (r.unit_found) {
                    displayUnit = r.unit;
                    suffix = &r.suffix;
                }
                if (r.resolved && !r.remote) {
                    take(r.specifier, &r.printer, r.pseudo);
                } else if (r.resolved) {
                    // Borrowed anew for this row.
                    specifier.assign(r.specifier);
                    borrowed.set(specifier);
                    take(specifier, &borrowed, is_pseudo_specifier(specifier));
                }
            } else {
                if (fixed == kUnresolved) {
                    fixed = resolve_specifier(formatter, Column::syntax(), format, newTable, row,
                                              fixedSpecifier, 0)
                                ? kResolved
                                : kNoSpecifier;
                    fixedPrinter.set(fixedSpecifier);
                    fixedPseudo = is_pseudo_specifier(fixedSpecifier);
                }
                if (fixed == kResolved) take(fixedSpecifier, &fixedPrinter, fixedPseudo);
            }

            const PrintValue value = Column::read(formatter, table, newTable, column, row, type,
                                                  storedUnit, displayUnit);
            // "%76g" and "%86g" become a real specifier for this value, the
            // text the next row starts from. Deciding on "%.7g" has printed
            // the value with it already.
            std::size_t length = 0;
            bool printed = false;
            if (decodes && pseudo) {
                const char* real = decode_pseudo_specifier(static_cast<float>(value.d),
                                                           *current == "%86g", sevenDigits, length);
                if (!decodedParsed) {
                    for (int k = 0; k < 3; ++k) decoded[k].set(kDecoded[k]);
                    decodedParsed = true;
                }
                int k = 0;
                while (k < 2 && std::strcmp(real, kDecoded[k]) != 0) ++k;
                specifier.assign(real);
                current = &specifier;
                printer = &decoded[k];
                pseudo = false;
                if (length > 0) {
                    std::memcpy(text, sevenDigits, length);
                    text[length] = '\0';
                    printed = true;
                }
            }
            if (!printed) length = printer->print(value, text);

            // The printed value and the unit text, written in one go.
            if (length + suffix->size() <= sizeof text) {
                std::memcpy(text + length, suffix->data(), suffix->size());
                cell.value.assign(text, length + suffix->size());
            } else {
                cell.value.assign(text, length);
                cell.value.append(*suffix);
            }
        }
    };
    formatCells(oldTable, oldCells);
    formatCells(newTable, newCells);
}

}  // namespace kq
