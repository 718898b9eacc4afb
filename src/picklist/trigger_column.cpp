// The case in force of a trigger-dependency format for one row.
//
// A dependent column's format "@TRIGGER{[Case1]text1,[Case2]text2}" names
// the trigger column and its cases. The trigger column's own format gives
// each case name a value, written in parentheses somewhere after the name
// ("Case1(0),Case2(1)"). The first case, in textual order, whose value text
// equals the trigger column's value text in the row is in force.
#include "core/table_access.h"
#include "core/text_search.h"
#include "kq_format_data.h"

namespace {

using kq::find_from;
using kq::kNone;
using kq::Pos;

// The trigger column's value as text: signed decimal for 32-bit signed
// columns, the unsigned code for byte columns, the table's own text for
// every other type.
template <class Table>
void read_value_text(Table* table, int type, long column, long row, std::string& text) {
    if (type == 9) {
        long value = 0;
        kq::read_cell(table, column, row, value);
        text = kq::ld_text(static_cast<int32_t>(value));
    } else if (type == 1) {
        char value = 0;
        kq::read_cell(table, column, row, value);
        text = kq::byte_text(value);
    } else {
        kq::read_cell(table, column, row, text);
    }
}

// True when the text between `open` and the next ")" of `s` (or the end)
// equals `value`.
bool value_in_parentheses_is(const std::string& s, Pos open, const std::string& value) {
    const Pos close = find_from(s, ')', open + 1);
    const Pos length = close == kNone ? kNone : close - (open + 1);
    return s.compare(open + 1, length, value) == 0;
}

// Metadata comes from the live table; the value is read from `values`, the
// live table or the snapshot.
template <class Table>
void find_case_in_force(KWTABLE* live, Table* values, const std::string& format, long row,
                        std::string& caseName) {
    const Pos brace = find_from(format, '{');
    if (brace == kNone) return;
    // The name runs from just after the lead character up to the "{".
    const std::string triggerName = brace > 1 ? kq::between(format, 1, brace) : std::string();

    Pos open = find_from(format, '[');
    if (open == kNone) return;

    // A trigger column the table does not know has no value that any case
    // could match.
    const int triggerColumn = live->get_column_number(triggerName, false);
    if (triggerColumn < 0) {
        caseName.clear();
        return;
    }
    const std::string triggerFormat = live->get_us_format(triggerColumn);
    const int triggerType = live->get_int_type(triggerColumn);
    std::string valueText;
    bool valueRead = false;

    while (true) {
        const Pos close = find_from(format, ']', open + 1);
        if (close == kNone) {
            caseName.clear();
            return;
        }
        caseName.assign(format, open + 1, close - (open + 1));

        const Pos named = find_from(triggerFormat, caseName);
        const Pos valueOpen = named == kNone ? kNone : find_from(triggerFormat, '(', named + 1);
        if (valueOpen != kNone) {
            if (!valueRead) {
                read_value_text(values, triggerType, triggerColumn, row, valueText);
                valueRead = true;
            }
            if (value_in_parentheses_is(triggerFormat, valueOpen, valueText)) return;
        }

        caseName.clear();
        open = find_from(format, '[', close);
        if (open == kNone) return;
    }
}

}  // namespace

void KQ_FORMAT_DATA::getTriggerColVal(KWTABLE* newTable, KQ_TABLE_COPY* oldTable,
                                      std::string format, long row, std::string& caseName) {
    find_case_in_force(newTable, oldTable, format, row, caseName);
}

void KQ_FORMAT_DATA::getTriggerColVal(KWTABLE* newTable, std::string format, long row,
                                      std::string& caseName) {
    find_case_in_force(newTable, newTable, format, row, caseName);
}
