// The case in force of a trigger-dependency format for one row.
//
// A dependent column's format "@TRIGGER{[Case1]text1,[Case2]text2}" names
// the trigger column and its cases. The trigger column's own format gives
// each case name a value, written in parentheses somewhere after the name
// ("Case1(0),Case2(1)"). The first case, in textual order, whose value text
// equals the trigger column's value text in the row is in force.
#include "picklist/trigger_column.h"

#include <string_view>
#include <vector>

#include "core/first_occurrences.h"
#include "core/formatter.h"
#include "core/table_access.h"
#include "core/text_search.h"
#include "picklist/integer_names.h"

namespace kq {
namespace {

// The trigger column's value as text: signed decimal for 32-bit signed
// columns, the unsigned code for byte columns, the table's own text for
// every other type. The two number types compare as numbers: a case value
// matches exactly when it is the decimal text of the number.
bool shown_as_number(int type) { return type == KQ_TYPE_INT32 || type == KQ_TYPE_BYTE; }

template <class Table>
int32_t read_number(Table* table, int type, long column, long row) {
    return static_cast<int32_t>(read_int32_cell(table, column, row, type));
}

}  // namespace

// Metadata comes from the live table, and only when the format has both a
// "{" and a "["; without them no table is asked anything.
TriggerCases::TriggerCases(KWTABLE* live, const std::string& format) {
    const Pos brace = find_from(format, '{');
    Pos open = brace == kNone ? kNone : find_from(format, '[');
    if (open == kNone) {
        untouched_ = true;
        return;
    }
    // The name runs from just after the lead character up to the "{".
    const std::string triggerName = brace > 1 ? between(format, 1, brace) : std::string();
    // A trigger column the table does not know has no value that any case
    // could match.
    trigger_column_ = live->get_column_number(triggerName, false);
    if (trigger_column_ < 0) return;
    const std::string triggerFormat = live->get_us_format(trigger_column_);
    trigger_type_ = live->get_int_type(trigger_column_);
    numeric_ = shown_as_number(trigger_type_);

    // Every "[" "]" pair is a candidate case, also one inside a case's text;
    // a "[" without "]" ends the list.
    while (open != kNone) {
        const Pos close = find_from(format, ']', open + 1);
        if (close == kNone) break;
        cases_.push_back(Case{between(format, open + 1, close), false, std::string(), false, 0});
        open = find_from(format, '[', close);
    }
    // A name is looked up as plain text: its first occurrence counts, even
    // inside a longer name.
    std::vector<std::string_view> names;
    names.reserve(cases_.size());
    for (const Case& c : cases_) names.emplace_back(c.name);
    const std::vector<Pos> named = first_occurrences(triggerFormat, names);
    for (size_t i = 0; i < cases_.size(); ++i) {
        Case& c = cases_[i];
        const Pos valueOpen =
            named[i] == kNone ? kNone : find_from(triggerFormat, '(', named[i] + 1);
        if (valueOpen != kNone) {
            c.has_value = true;
            c.value =
                between(triggerFormat, valueOpen + 1, find_from(triggerFormat, ')', valueOpen + 1));
            c.has_number = is_ld_text(c.value, c.number);
            any_value_ = true;
        }
    }
    // Indexes from a value to the first case that has it, so that a row's
    // case is found without walking every case.
    for (size_t i = 0; i < cases_.size(); ++i) {
        const Case& c = cases_[i];
        if (numeric_ && c.has_number) by_number_.emplace(c.number, static_cast<int>(i));
        if (!numeric_ && c.has_value) by_text_.emplace(c.value, static_cast<int>(i));
    }
}

template <class Table>
int TriggerCases::find(Table* values, long row) {
    if (untouched_) return kUntouched;
    if (trigger_column_ < 0 || !any_value_) return kNoCase;
    if (numeric_) {
        const auto found =
            by_number_.find(read_number(values, trigger_type_, trigger_column_, row));
        return found == by_number_.end() ? kNoCase : found->second;
    }
    read_cell(values, trigger_column_, row, value_text_);
    const auto found = by_text_.find(value_text_);
    return found == by_text_.end() ? kNoCase : found->second;
}

int TriggerCases::case_in_force(KWTABLE* values, long row) { return find(values, row); }

int TriggerCases::case_in_force(KQ_TABLE_COPY* values, long row) { return find(values, row); }

std::string TriggerCases::value_text(KWTABLE* values, long row) {
    if (untouched_ || trigger_column_ < 0) return std::string();
    if (numeric_) return std::to_string(read_number(values, trigger_type_, trigger_column_, row));
    read_cell(values, trigger_column_, row, value_text_);
    return value_text_;
}

void TriggerCases::note_facts(Formatter& formatter, KWTABLE* live,
                              const std::string& format) const {
    if (untouched_) return;
    const Pos brace = find_from(format, '{');
    const std::string triggerName = brace > 1 ? between(format, 1, brace) : std::string();
    if (trigger_column_ < 0) {
        formatter.note("missing trigger column", -1, [&] { return triggerName; });
        return;
    }
    // The names the trigger column's own pick list shows, read by a
    // formatter without trace so that the list's own faults stay out of
    // this column's account.
    const std::string triggerFormat = live->get_us_format(trigger_column_);
    std::string names;
    Formatter reader(formatter.master_table());
    if (reader.check_if_static_picklist(triggerFormat) != 0) {
        std::string list;
        reader.extractStaticPickListString(triggerFormat, list);
        KQ_NAME_MAP map;
        reader.populatePrettyValFromStaticPickList(list, map);
        for (const auto& entry : map) names += (names.empty() ? "" : ", ") + entry.second;
    }
    if (names.empty()) {
        formatter.note("trigger without pick list", -1,
                       [&] { return triggerName + " (format \"" + triggerFormat + "\")"; });
        return;
    }
    for (const Case& c : cases_)
        if (!c.has_value)
            formatter.note("unknown case", -1,
                           [&] { return "[" + c.name + "] (" + triggerName + ": " + names + ")"; });
}

}  // namespace kq

namespace {

template <class Table>
void find_case_in_force(KWTABLE* live, Table* values, const std::string& format, long row,
                        std::string& caseName) {
    kq::TriggerCases cases(live, format);
    const int found = cases.case_in_force(values, row);
    if (found == kq::TriggerCases::kUntouched) return;
    if (found == kq::TriggerCases::kNoCase)
        caseName.clear();
    else
        caseName = cases.name(found);
}

}  // namespace

void kq::Formatter::getTriggerColVal(KWTABLE* newTable, KQ_TABLE_COPY* oldTable, std::string format,
                                     long row, std::string& caseName) {
    find_case_in_force(newTable, oldTable, format, row, caseName);
}

void kq::Formatter::getTriggerColVal(KWTABLE* newTable, std::string format, long row,
                                     std::string& caseName) {
    find_case_in_force(newTable, newTable, format, row, caseName);
}
