// The display unit a trigger-dependency format names for a row: the first
// "UNIT=name)" at or after the first occurrence of the case in force.
#include "core/format_units.h"

#include "core/formatter.h"
#include "core/text_search.h"
#include "kq_units.h"

namespace {
constexpr const char* kUnitKey = "UNIT=";
constexpr kq::Pos kUnitKeyLength = 5;
}  // namespace

bool kq::unit_named_for_case(const std::string& format, const std::string& caseName,
                             std::string& name) {
    // A plain search: the case name may also stand earlier than its "[...]".
    return unit_named_at(format, find_from(format, caseName), name);
}

bool kq::unit_named_at(const std::string& format, Pos caseAt, std::string& name) {
    if (caseAt == kNone) return false;
    const Pos key = find_from(format, kUnitKey, caseAt);
    if (key == kNone) return false;
    const Pos nameStart = key + kUnitKeyLength;
    const Pos nameEnd = find_from(format, ')', nameStart);
    name.assign(format, nameStart, nameEnd == kNone ? kNone : nameEnd - nameStart);
    return true;
}

// `unit` and `unitText` change only when a unit is found, so a row whose
// case names none keeps the caller's previous unit.
void kq::Formatter::getUsUnitFromtFormatString(std::string format, KWTABLE* table, long row,
                                               UNIT_ENUM* unit, std::string& unitText,
                                               std::string& work) {
    work.clear();
    getTriggerColVal(table, format, row, work);
    const std::string caseName = work;
    if (!kq::unit_named_for_case(format, caseName, work)) return;
    *unit = GetUnitEnum(work.c_str());
    unitText.assign(work.c_str());  // up to a NUL byte, as the name is handed on
}
