// The display unit a trigger-dependency format names for a row: the first
// "UNIT=name)" at or after the first occurrence of the case in force.
#include "core/text_search.h"
#include "kq_format_data.h"
#include "kq_units.h"

namespace {
constexpr const char* kUnitKey = "UNIT=";
constexpr kq::Pos kUnitKeyLength = 5;
}  // namespace

// `unit` and `unitText` change only when a unit is found, so a row whose
// case names none keeps the caller's previous unit.
void KQ_FORMAT_DATA::getUsUnitFromtFormatString(std::string format, KWTABLE* table, long row,
                                                UNIT_ENUM* unit, std::string& unitText,
                                                std::string& work) {
    work.clear();
    getTriggerColVal(table, format, row, work);

    // A plain search: the case name may also stand earlier than its "[...]".
    const kq::Pos caseAt = kq::find_from(format, work);
    if (caseAt == kq::kNone) return;
    const kq::Pos key = kq::find_from(format, kUnitKey, caseAt);
    if (key == kq::kNone) return;
    const kq::Pos nameStart = key + kUnitKeyLength;
    const kq::Pos nameEnd = kq::find_from(format, ')', nameStart);
    work.assign(format, nameStart, nameEnd == kq::kNone ? kq::kNone : nameEnd - nameStart);

    *unit = GetUnitEnum(work.c_str());
    unitText.assign(work.c_str());  // up to a NUL byte, as the name is handed on
}
