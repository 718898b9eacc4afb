// kqfmt lint, the checks: nothing here reads a format string. Each column is
// formatted by KQ_TraceFormattedValue with a log sink in place; the kind the
// library chose, the facts it noted while reading (missing tables, refused
// specifiers, values without a name, ...) and the records it logged become
// findings.
#include "run/lint_check.h"

#include <algorithm>
#include <exception>
#include <map>
#include <new>
#include <set>
#include <stdexcept>
#include <tuple>

#include "input/input_error.h"
#include "kq_format_trace.h"
#include "kq_host_log.h"
#include "kq_host_units.h"
#include "kw_table.h"
#include "text/utf8_text.h"

namespace kqfmt {
namespace {

std::string q(const std::string& text) { return "'" + printable_text(text) + "'"; }

// "an integer", "a float", ...
std::string a_kind(KQ_COLUMN_KIND kind) {
    const std::string name = KQ_ColumnKindName(kind);
    return (name.find_first_of("aeiou") == 0 ? "an " : "a ") + name;
}

// The parts of a "unit conversion" note: an optional "case [NAME]: "
// label, then "FROM -> TO".
struct Conversion {
    std::string label, from, to;
};
bool split_conversion(const std::string& text, Conversion& c) {
    std::string rest = text;
    if (rest.rfind("case [", 0) == 0) {
        const std::size_t end = rest.find("]: ");
        if (end == std::string::npos) return false;
        c.label = rest.substr(0, end + 1);
        rest.erase(0, end + 3);
    }
    const std::size_t arrow = rest.find(" -> ");
    if (arrow == std::string::npos) return false;
    c.from = rest.substr(0, arrow);
    c.to = rest.substr(arrow + 4);
    return true;
}

std::string quantity_of(const kqhost::UnitDef* unit) {
    return unit == nullptr || unit->quantity.empty() ? std::string("no quantity") : unit->quantity;
}

// What one note of the trace means for the engineer. Topics the lint does
// not know (the library's own account of what it read) give no finding.
bool explain_note(const KQ_TRACE_NOTE& note, Severity& severity, std::string& message,
                  const char*& rule) {
    const std::string& t = note.topic;
    const std::string& x = note.text;
    severity = Severity::error;
    if (t == "missing table") {
        rule = "remote-table-missing";
        message = "remote reference to table " + q(x) + ", which does not exist";
    } else if (t == "missing column") {
        rule = "remote-column-missing";
        message = "remote reference to column " + q(x) + ", which does not exist";
    } else if (t == "no remote reference") {
        rule = "remote-reference-unread";
        message = "the format " + q(x) +
                  " is taken for a remote pick list, but no reference is read from it (one "
                  "follows \"=\", as in Name=TABLE.column): the cells stay as they were";
    } else if (t == "missing label column") {
        rule = "label-column-missing";
        message = "label column " + q(x) + " does not exist: the names read empty";
    } else if (t == "remote row") {
        rule = "remote-row-missing";
        message = "remote reference " + q(x) + " names no existing table or row";
    } else if (t == "no display name") {
        rule = "value-unnamed";
        message = "stored value " + q(x) + " has no display name: the cell is left as it was";
    } else if (t == "unknown system variable") {
        rule = "system-variable-unknown";
        message = "system variable " + q(x) + " does not resolve to a display name";
    } else if (t == "unknown unit") {
        rule = "unit-unknown";
        message = "unit " + q(x) + " is not in the unit table: no unit text, no conversion";
    } else if (t == "refused specifier") {
        rule = "specifier-refused";
        message =
            "the specifier " + q(x) + " is refused as unsafe or malformed: the cells are empty";
    } else if (t == "no specifier") {
        rule = "specifier-missing";
        const bool per_case = !x.empty();
        severity = per_case ? Severity::warning : Severity::error;
        message = per_case ? "the format gives no specifier (" +
                                 printable_text(x.substr(0, x.size() - 2)) +
                                 "): the row prints with the previous row's specifier"
                           : "the format gives no specifier a numeric column can print with: "
                             "the cells are empty";
    } else if (t == "duplicate value") {
        rule = "pick-list-duplicate-value";
        severity = Severity::warning;
        message = "the pick list names a value again in " + q(x) + ": only its first name is shown";
    } else if (t == "duplicate name") {
        rule = "pick-list-duplicate-name";
        severity = Severity::warning;
        message = "the pick list gives the name " + printable_text(x) + " to more than one value";
    } else if (t == "empty value") {
        rule = "pick-list-empty-value";
        severity = Severity::warning;
        message = "the pick list names an empty value (name " + q(x) + ")";
    } else if (t == "empty name") {
        rule = "pick-list-empty-name";
        severity = Severity::warning;
        message = "the pick list gives value " + q(x) + " an empty name";
    } else if (t == "missing trigger column") {
        rule = "trigger-column-missing";
        message = "trigger column " + q(x) + " does not exist: no case is ever in force";
    } else if (t == "trigger without pick list") {
        rule = "trigger-without-pick-list";
        message = "trigger column " + printable_text(x) +
                  " has no pick list giving the cases values: no case is ever in force";
    } else if (t == "unknown case") {
        rule = "trigger-case-unknown";
        message = "case " + printable_text(x.substr(0, x.find(" ("))) +
                  " is no name of the trigger column's pick list " +
                  printable_text(x.substr(std::min(x.size(), x.find(" (") + 1))) +
                  ": it is never in force";
    } else if (t == "unused label column") {
        rule = "label-column-unused";
        message = "label column " + printable_text(x) + ", so the cells show the stored keys";
    } else if (t == "unused component selection") {
        rule = "component-selection-unused";
        severity = Severity::warning;
        message = "component selection " + printable_text(x);
    } else if (t == "unprintable type") {
        rule = "type-unprintable";
        message = "the format cannot print the column's values (" + printable_text(x) +
                  "): the cells stay as they were";
    } else if (t == "failed unit conversion") {
        // The library noted that the converter refuses the pair; the
        // catalog says what each unit measures.
        Conversion c;
        if (!split_conversion(x, c)) return false;
        const kqhost::UnitDef* from = kqhost::find_unit(c.from);
        const kqhost::UnitDef* to = kqhost::find_unit(c.to);
        rule = "unit-quantity-mismatch";
        message = (c.label.empty() ? "" : printable_text(c.label) + ": ") + "unit " + q(c.from) +
                  " (" + quantity_of(from) + ") cannot be converted to " + q(c.to) + " (" +
                  quantity_of(to) + "): the values are shown unconverted";
    } else {
        return false;
    }
    return true;
}

// The specifier rows without a case in force print with, from the trace.
std::string no_case_specifier(const KQ_FORMAT_TRACE& trace) {
    const std::string lead = "no case in force: ";
    for (const KQ_TRACE_NOTE& note : trace.notes)
        if (note.topic == "specifier" && note.text.rfind(lead, 0) == 0)
            return note.text.substr(lead.size());
    return std::string();
}

// Findings of one column, merged so that a fault repeated over many rows
// (or on both views) is one finding with its first row and a count.
class ColumnFindings {
public:
    ColumnFindings(const std::string& table, const std::string& column)
        : table_(table), column_(column) {}

    void add(Severity severity, long row, const std::string& message, const char* rule) {
        const auto key = std::make_pair(severity, message);
        const auto found = index_.find(key);
        if (found == index_.end()) {
            index_.emplace(key, findings_.size());
            findings_.push_back({table_, column_, severity, row, 0, message, rule});
            rows_.push_back({row});
            return;
        }
        // The same row from the old and the live view counts once.
        if (rows_[found->second].insert(row).second) ++findings_[found->second].more_rows;
    }

    std::vector<Finding>& findings() { return findings_; }

private:
    std::string table_, column_;
    std::map<std::pair<Severity, std::string>, std::size_t> index_;
    std::vector<Finding> findings_;
    std::vector<std::set<long>> rows_;
};

struct LoggedRecord {
    kqhost::LogRecord record;
    std::size_t notes_before;  // trace notes written before the record
};

void lint_column(Configuration& config, kqhost::LiveTable& live, kqhost::TableCopy& old, int column,
                 std::vector<Finding>& out) {
    const kqhost::TableData& data = live.data();
    const kqhost::ColumnDef& def = *data.column(column);
    ColumnFindings findings(data.name(), def.name);

    // Both views of every row, as show formats them.
    std::vector<kq_formatted_col_data_struct> oldColumns(1), newColumns(1);
    oldColumns[0].column = newColumns[0].column = column;
    for (int row = 0; row < old.GetNumRows(); ++row) oldColumns[0].cells.push_back({row, ""});
    for (int row = 0; row < live.get_stored_rows(); ++row) newColumns[0].cells.push_back({row, ""});

    KQ_FORMAT_TRACE trace;
    std::vector<LoggedRecord> log;
    std::string error;
    {
        kqhost::ScopedLogSink sink([&log, &trace](const kqhost::LogRecord& record) {
            log.push_back({record, trace.notes.size()});
        });
        try {
            KQ_TraceFormattedValue(&config.master, &old, &live, oldColumns, newColumns, trace);
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::out_of_range& e) {
            error = def.us_format.empty()
                        ? "the column has no format string; kq_columns gives it one"
                        : std::string("the formatter raised an error (") + e.what() + ")";
        } catch (const std::exception& e) {
            error = std::string("the formatter raised an error (") + e.what() + ")";
        }
    }
    if (!config.load_error->empty()) throw InputError(*config.load_error);
    if (!error.empty())
        findings.add(Severity::error, -1, message_text(error),
                     def.us_format.empty() ? "format-empty" : "formatter-error");

    const auto noted = [&trace](const char* topic) {
        for (const KQ_TRACE_NOTE& note : trace.notes)
            if (note.topic == topic) return true;
        return false;
    };
    if (error.empty() && trace.kind == KQ_COLUMN_KIND::NONE && !noted("unprintable type"))
        findings.add(
            Severity::error, -1,
            "no formatter accepts the format " + q(def.us_format) + ": the cells are left empty",
            "format-unrecognised");
    const bool numeric = trace.kind == KQ_COLUMN_KIND::FLOAT ||
                         trace.kind == KQ_COLUMN_KIND::INTEGER ||
                         trace.kind == KQ_COLUMN_KIND::DATE_TIME;
    // A remote reference may hand the column to the integer formatter,
    // which notes its specifier.
    const bool converting = numeric || noted("specifier") || noted("unit conversion") ||
                            noted("failed unit conversion");
    if (!converting && error.empty() && (!def.units.empty() || !def.units_us.empty()))
        findings.add(
            Severity::warning, -1,
            "units are set, but " + a_kind(trace.kind) + " column neither converts nor shows them",
            "units-ignored");
    if (def.is_date_time != 0 && error.empty() && trace.kind != KQ_COLUMN_KIND::DATE_TIME)
        findings.add(Severity::warning, -1,
                     "flagged as date/time, but the format makes it " + a_kind(trace.kind) +
                         " column: the flag is not read",
                     "date-time-flag-ignored");
    // The column's own component selection is read only by the test for
    // system-variable names, at the end of the general path.
    bool selection_read = false;
    for (const KQ_TRACE_STEP& step : trace.steps) selection_read |= step.test == "checkSystemVar";
    if (!def.component_sel.empty() && error.empty() && !selection_read)
        findings.add(Severity::warning, -1,
                     "component selection " + q(def.component_sel) +
                         " is not read: " + a_kind(trace.kind) + " column never asks for it",
                     "component-selection-unused");

    // A record written right after a note that is a finding of its own is
    // that finding's log line and is not repeated; a failed conversion
    // between quantities is reported once, as such.
    std::vector<bool> explained_by(trace.notes.size() + 1, false);
    bool quantity_mismatch = false;
    const std::string no_case = no_case_specifier(trace);
    for (std::size_t i = 0; i < trace.notes.size(); ++i) {
        Severity severity;
        std::string message;
        const char* rule = "";
        if (!explain_note(trace.notes[i], severity, message, rule)) continue;
        // A static list's fallback that finds no reference is no fault.
        if (trace.notes[i].topic == "no remote reference" &&
            trace.kind != KQ_COLUMN_KIND::REMOTE_PICK_LIST)
            continue;
        explained_by[i + 1] = true;
        quantity_mismatch |= trace.notes[i].topic == "failed unit conversion";
        const std::string& topic = trace.notes[i].topic;
        if (!no_case.empty() && topic == "unknown case")
            message += "; rows without a case in force print with " + printable_text(no_case);
        if (!no_case.empty() &&
            (topic == "missing trigger column" || topic == "trigger without pick list"))
            message += "; every row prints with " + printable_text(no_case);
        // A per-row reference that failed is reported once, for its row.
        const bool cause_of_row =
            i + 1 < trace.notes.size() && trace.notes[i + 1].topic == "remote row";
        if (!cause_of_row) findings.add(severity, trace.notes[i].row, message, rule);
    }
    for (const LoggedRecord& logged : log) {
        if (explained_by[logged.notes_before] && !logged.record.sys) continue;
        if (quantity_mismatch && logged.record.message == "Unit conversion failed") continue;
        findings.add(logged.record.sys ? Severity::error : Severity::warning, -1,
                     std::string("the library logs: ") + message_text(logged.record.message),
                     "library-log");
    }
    for (Finding& finding : findings.findings()) out.push_back(std::move(finding));
}

}  // namespace

std::vector<Finding> lint_table(Configuration& config, const std::string& table, int column) {
    const std::shared_ptr<kqhost::TableData>& data = config.tables.at(table);
    std::vector<int> columns;
    for (int c = 0; c < data->column_count(); ++c)
        if (column < 0 || c == column) columns.push_back(c);
    config.sources.at(table).load(*data, columns, std::nullopt);
    kqhost::LiveTable* live = config.master.data().find(table);
    kqhost::TableCopy old(data);
    std::vector<Finding> findings;
    for (int c : columns) lint_column(config, *live, old, c, findings);
    for (auto& entry : config.tables) entry.second->unload();
    return findings;
}

std::string finding_line(const Finding& f) {
    std::string line = printable_text(f.table) + "." + printable_text(f.column) + ": " +
                       (f.severity == Severity::error ? "error" : "warning") + ": ";
    if (f.row >= 0) line += "[row " + std::to_string(f.row) + "] ";
    line += f.message;
    if (f.more_rows > 0)
        line +=
            " (and " + std::to_string(f.more_rows) + " more row" + (f.more_rows == 1 ? ")" : "s)");
    return line + " [" + f.rule + "]";
}

}  // namespace kqfmt
