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
//   static constexpr const char* kName;         // "integer", "floating-point"
//   static const SpecifierSyntax& syntax();
//   static bool supports(int type);
//   static void report_unsupported(int type);   // logs with its own line
//   static bool decodes(int type);              // pseudo-specifiers apply
//   template <class Table> static PrintValue read(kq::Formatter&, Table*,
//       KWTABLE* live, long column, long row, int type, UNIT_ENUM stored,
//       UNIT_ENUM display);
//     reads the cell and converts it to the display unit.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/first_occurrences.h"
#include "core/format_units.h"
#include "core/formatter.h"
#include "core/table_access.h"
#include "kq_units.h"
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

// One numeric column's formatting for one call: the set-up, the row state
// that runs on from cell to cell, and one step per stage of a cell.
template <class Column>
class NumericColumnWalk {
public:
    NumericColumnWalk(Formatter& formatter, const std::string& format, KWTABLE* live, long column)
        : formatter_(formatter), format_(format), live_(live), column_(column) {}

    void run(KQ_TABLE_COPY* oldTable, KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells) {
        type_ = live_->get_int_type(column_);
        const std::string storedUnitText = live_->get_units(column_);
        // An empty format raises std::out_of_range here, before any cell.
        trigger_ = formatter_.check_trigger_dependency(format_) != 0;
        unitPerRow_ =
            trigger_ && formatter_.check_if_units_in_trigger_dependency_column(format_) != 0;
        // Until a row names its unit, the display unit is that of the empty
        // name: no unit.
        const std::string displayUnitText =
            unitPerRow_ ? std::string() : live_->get_units_us(column_);
        storedUnit_ = GetUnitEnum(storedUnitText.c_str());
        displayUnit_ = GetUnitEnum(displayUnitText.c_str());
        note_unknown_unit(storedUnit_, storedUnitText);
        note_unknown_unit(displayUnit_, displayUnitText);
        if (formatter_.trace() != nullptr) storedUnitText_ = storedUnitText;
        formatter_.note_unit_conversion(-1, std::string(), storedUnit_, storedUnitText,
                                        displayUnit_, displayUnitText);
        if (!Column::supports(type_)) {
            formatter_.note("unprintable type", -1, [&] {
                return "type " + std::to_string(type_) + ", " + Column::kName + " format";
            });
            Column::report_unsupported(type_);
            return;
        }
        decodes_ = Column::decodes(type_);
        formatter_.appendUnitsStringIfAny(displayUnit_, displayUnitText, firstSuffix_);
        if (trigger_) {
            cases_ = std::make_unique<TriggerCases>(live_, format_);
            results_.resize(static_cast<size_t>(cases_->size()) + 1);
            if (formatter_.trace() != nullptr) cases_->note_facts(formatter_, live_, format_);
        }
        format_cells(oldTable, oldCells);
        format_cells(live_, newCells);
    }

private:
    template <class Table>
    void format_cells(Table* table, KQ_CELL_LIST& cells) {
        if (table == nullptr) return;  // no snapshot: no old rows
        for (_kq_fomatted_cell_data_struct& cell : cells) {
            if (!row_in_range(table, cell.row)) continue;
            const long row = cell.row;
            if (trigger_)
                take_case_of_row(row);
            else
                take_fixed_specifier(row);
            const PrintValue value = Column::read(formatter_, table, live_, column_, row, type_,
                                                  storedUnit_, displayUnit_);
            std::size_t length = 0;
            if (!(decodes_ && pseudo_ && decode_pseudo(value, length)))
                length = printer_->print(value, text_);
            write_cell(cell, length);
        }
    }

    // A format that is no trigger dependency: one specifier for all rows,
    // resolved at the first formatted row.
    void take_fixed_specifier(long row) {
        if (fixed_ == kUnresolved) {
            fixed_ = resolve_specifier(formatter_, Column::syntax(), format_, live_, row,
                                       fixedSpecifier_, 0)
                         ? kResolved
                         : kNoSpecifier;
            fixedPrinter_.set(fixedSpecifier_);
            fixedPseudo_ = is_pseudo_specifier(fixedSpecifier_);
            note_specifier(row, fixed_ == kResolved, fixedSpecifier_);
        }
        if (fixed_ == kResolved) take(fixedSpecifier_, &fixedPrinter_, fixedPseudo_);
    }

    // A trigger dependency: the case in force for the row (trigger values
    // come from the live table, for old rows too) gives the unit and the
    // specifier, worked out once per case; the last slot stands for "no
    // case in force".
    void take_case_of_row(long row) {
        const int found = cases_->case_in_force(live_, row);
        const size_t slot = found >= 0 ? static_cast<size_t>(found) : results_.size() - 1;
        const std::string& caseName = found >= 0 ? cases_->name(found) : noCase_;
        CaseResult& r = results_[slot];
        if (formatter_.trace() != nullptr)
            formatter_.note("trigger value", row, [&] {
                return cases_->value_text(live_, row) + ": " +
                       (found >= 0 ? "case [" + caseName + "]" : std::string("no case in force"));
            });
        if (!r.done) {
            r.done = true;
            std::string name;
            const Pos caseAt = case_position(found, caseName);
            if (unitPerRow_ && unit_named_at(format_, caseAt, name)) {
                r.unit_found = true;
                r.unit = GetUnitEnum(name.c_str());
                note_unknown_unit(r.unit, name);
                // The name is handed on up to a NUL byte.
                formatter_.appendUnitsStringIfAny(r.unit, name.c_str(), r.suffix);
                formatter_.note("unit", row, [&] {
                    return case_label(&caseName, found >= 0) + "UNIT=" + name + " appends \"" +
                           r.suffix + "\"";
                });
                if (formatter_.trace() != nullptr)
                    formatter_.note_unit_conversion(row, case_label(&caseName, found >= 0),
                                                    storedUnit_, storedUnitText_, r.unit, name);
            }
            r.resolved = resolve_specifier_at_case(formatter_, Column::syntax(), format_, caseAt,
                                                   live_, row, r.specifier, r.remote);
            if (r.resolved && !r.remote) {
                r.printer.set(r.specifier);
                r.pseudo = is_pseudo_specifier(r.specifier);
            }
            note_specifier(row, r.resolved != 0, r.specifier, &caseName, found >= 0);
        } else if (r.remote) {
            r.resolved = resolve_specifier_at_case(formatter_, Column::syntax(), format_,
                                                   case_position(found, caseName), live_, row,
                                                   r.specifier, r.remote);
        }
        if (r.unit_found) {
            displayUnit_ = r.unit;
            suffix_ = &r.suffix;
        }
        if (r.resolved && !r.remote) {
            take(r.specifier, &r.printer, r.pseudo);
        } else if (r.resolved) {
            // Borrowed anew for this row.
            specifier_.assign(r.specifier);
            borrowed_.set(specifier_);
            take(specifier_, &borrowed_, is_pseudo_specifier(specifier_));
        }
    }

    // Where the case's name first stands in the format: its unit and its
    // specifier are looked for from there. After a few cases the names of
    // all cases are found in one pass over the format, not one search each.
    Pos case_position(int found, const std::string& caseName) {
        constexpr int kCasesSearchedAlone = 8;
        if (found >= 0 && casePositions_.empty() && ++casesSearched_ > kCasesSearchedAlone) {
            std::vector<std::string_view> names;
            names.reserve(static_cast<size_t>(cases_->size()));
            for (int i = 0; i < cases_->size(); ++i) names.emplace_back(cases_->name(i));
            casePositions_ = first_occurrences(format_, names);
        }
        if (found >= 0 && !casePositions_.empty())
            return casePositions_[static_cast<size_t>(found)];
        return find_from(format_, caseName);
    }

    // "%76g" and "%86g" become a real specifier for this value, the text
    // the next row starts from. Returns true when deciding on "%.7g" has
    // printed the value already (its `length` bytes are in text_).
    bool decode_pseudo(const PrintValue& value, std::size_t& length) {
        static const char* const kDecoded[3] = {"%.7g", "%.8g", "%g"};
        const char* real = decode_pseudo_specifier(static_cast<float>(value.d), *current_ == "%86g",
                                                   sevenDigits_, length);
        if (!decodedParsed_) {
            for (int k = 0; k < 3; ++k) decoded_[k].set(kDecoded[k]);
            decodedParsed_ = true;
        }
        int k = 0;
        while (k < 2 && std::strcmp(real, kDecoded[k]) != 0) ++k;
        specifier_.assign(real);
        current_ = &specifier_;
        printer_ = &decoded_[k];
        pseudo_ = false;
        if (length == 0) return false;
        std::memcpy(text_, sevenDigits_, length);
        text_[length] = '\0';
        return true;
    }

    // The printed value and the unit text, written in one go.
    void write_cell(_kq_fomatted_cell_data_struct& cell, std::size_t length) {
        if (suffix_->empty()) {  // the usual case: no unit text
            cell.value.assign(text_, length);
        } else if (length + suffix_->size() <= sizeof text_) {
            std::memcpy(text_ + length, suffix_->data(), suffix_->size());
            cell.value.assign(text_, length + suffix_->size());
        } else {
            cell.value.assign(text_, length);
            cell.value.append(*suffix_);
        }
    }

    void take(const std::string& text, const ParsedSpecifier* parsed, bool isPseudo) {
        current_ = &text;
        printer_ = parsed;
        pseudo_ = isPseudo;
    }

    void note_specifier(long row, bool resolved, const std::string& specifier,
                        const std::string* caseName = nullptr, bool caseFound = false) {
        formatter_.note("specifier", row, [&] {
            return case_label(caseName, caseFound) +
                   (resolved ? "\"" + specifier + "\""
                             : std::string("none (the previous row's specifier stays)"));
        });
        if (formatter_.trace() == nullptr) return;
        if (!resolved) {
            formatter_.note("no specifier", caseName != nullptr ? row : -1,
                            [&] { return case_label(caseName, caseFound); });
        } else {
            // The printer's own verdict: a specifier it refuses prints nothing.
            ParsedSpecifier check;
            check.set(specifier);
            if (!check.usable() && !is_pseudo_specifier(specifier))
                formatter_.note("refused specifier", caseName != nullptr ? row : -1,
                                [&] { return specifier; });
        }
    }

    // A unit name the unit table does not know shows no unit and converts
    // nothing.
    void note_unknown_unit(UNIT_ENUM unit, const std::string& name) {
        if (unit == UNIT_NONE && !name.empty())
            formatter_.note("unknown unit", -1, [&] { return name; });
    }

    static std::string case_label(const std::string* caseName, bool caseFound) {
        if (caseName == nullptr) return std::string();
        return caseFound ? "case [" + *caseName + "]: " : std::string("no case in force: ");
    }

    Formatter& formatter_;
    const std::string& format_;
    KWTABLE* live_;
    long column_;

    int type_ = 0;
    bool trigger_ = false;
    bool unitPerRow_ = false;
    bool decodes_ = false;
    UNIT_ENUM storedUnit_ = UNIT_NONE;
    UNIT_ENUM displayUnit_ = UNIT_NONE;
    std::string storedUnitText_;  // kept for a trace only

    // Row state that runs on from row to row: the specifier (the text
    // current_ points to: a case's or the format's own, kept for the call,
    // or specifier_ once a value has decoded it or it was borrowed), the
    // printer that holds it parsed, and the unit text.
    std::string specifier_;
    const std::string* current_ = &specifier_;
    ParsedSpecifier empty_;
    const ParsedSpecifier* printer_ = &empty_;
    bool pseudo_ = false;  // *current_ is "%76g" or "%86g"
    std::string firstSuffix_;
    const std::string* suffix_ = &firstSuffix_;

    enum { kUnresolved, kNoSpecifier, kResolved } fixed_ = kUnresolved;
    std::string fixedSpecifier_;
    ParsedSpecifier fixedPrinter_;
    bool fixedPseudo_ = false;

    std::unique_ptr<TriggerCases> cases_;
    std::vector<Pos> casePositions_;  // of every case name, once worked out
    int casesSearched_ = 0;
    std::vector<CaseResult> results_;
    const std::string noCase_;
    ParsedSpecifier borrowed_;  // a specifier from another table

    // What the pseudo-specifiers become, parsed at the first decoding.
    ParsedSpecifier decoded_[3];
    bool decodedParsed_ = false;
    char sevenDigits_[kSevenDigitBuffer];
    char text_[2 * kPrintBufferSize];
};

template <class Column>
void format_numeric_column(Formatter& formatter, const std::string& format, KQ_TABLE_COPY* oldTable,
                           KWTABLE* newTable, long column, KQ_CELL_LIST& oldCells,
                           KQ_CELL_LIST& newCells) {
    NumericColumnWalk<Column>(formatter, format, newTable, column)
        .run(oldTable, oldCells, newCells);
}

}  // namespace kq
