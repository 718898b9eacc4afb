// The cases of a trigger-dependency format "@TRIGGER{[Case1]text1,...}" and
// the values the trigger column's own format gives them, worked out once so
// that the case in force of many rows costs one value read and a few
// comparisons per row.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class KWTABLE;
class KQ_TABLE_COPY;

namespace kq {

class Formatter;

class TriggerCases {
public:
    // Outcomes of case_in_force besides a case index.
    static constexpr int kUntouched = -2;  // no "{" or no "[": result left as it was
    static constexpr int kNoCase = -1;     // no case is in force: result empty

    // Reads the trigger column's number, format and type from the live table.
    TriggerCases(KWTABLE* live, const std::string& format);

    // The case in force for `row`, the trigger value read from `values` (the
    // live table or the snapshot): a case index, kNoCase or kUntouched.
    int case_in_force(KWTABLE* values, long row);
    int case_in_force(KQ_TABLE_COPY* values, long row);

    // For a trace: notes a trigger column the table lacks, a trigger column
    // whose format gives no case a value, and every case its format does
    // not name, with the names it does give.
    void note_facts(Formatter& formatter, KWTABLE* live, const std::string& format) const;
    // For a trace: the row's trigger value as the cases are compared with it.
    std::string value_text(KWTABLE* values, long row);

    int size() const { return static_cast<int>(cases_.size()); }
    const std::string& name(int index) const { return cases_[static_cast<size_t>(index)].name; }

private:
    struct Case {
        std::string name;   // between "[" and "]"
        bool has_value;     // the trigger format has "(" after the name
        std::string value;  // between that "(" and the next ")" (or the end)
        // For triggers shown as decimal numbers: whether `value` is such a
        // text, and its number.
        bool has_number;
        int32_t number;
    };
    template <class Table>
    int find(Table* values, long row);

    bool untouched_ = false;
    int trigger_column_ = -1;
    int trigger_type_ = 0;
    bool numeric_ = false;  // the trigger's value text is a decimal number
    bool any_value_ = false;
    std::vector<Case> cases_;  // in textual order, up to the first unmatched "["
    // The first case of each value (emplace keeps the first).
    std::unordered_map<int32_t, int> by_number_;
    std::unordered_map<std::string, int> by_text_;
    std::string value_text_;  // scratch: the row's trigger value as text
};

}  // namespace kq
