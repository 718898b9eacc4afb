// Unit conversion of a raw numeric value and the unit text after a printed
// value. Unit 2 means "no unit": nothing is converted and nothing appended.
#include "core/formatter.h"
#include "core/log_lines.h"
#include "kq_units.h"

namespace {

// Types the platform's converter accepts: the further numeric types 4 to 7,
// the 32-bit integers and the two floating-point types.
bool convertible_type(int type) {
    return (type >= KQ_TYPE_OTHER_NUMERIC_FIRST && type <= KQ_TYPE_INT32) ||
           type == KQ_TYPE_FLOAT || type == KQ_TYPE_DOUBLE;
}

}  // namespace

// The table and column are not needed; callers pass them for symmetry with
// the other readers. The value is converted in place in the union member of
// `type`. After a failed conversion the caller goes on with whatever the
// converter left there.
void kq::Formatter::getDatabaseValAfterUnitConversion(KWTABLE* /*table*/, long /*column*/, int type,
                                                      DATA_TYPE_UNION* value, UNIT_ENUM from,
                                                      UNIT_ENUM to) {
    if (!converts(from, to)) return;
    if (!convertible_type(type)) {
        KQ_DEBUG_LINE("Unit conversion not possible for data type %d", type);
        return;
    }
    if (ConvertUnits(from, to, static_cast<data_type>(type), value) != 0) {
        KQ_ERROR_LINE(0, 0, "Unit conversion failed");
    }
}

// The converter is asked once with a scratch value; nothing is logged.
void kq::Formatter::note_unit_conversion(long row, const std::string& label, UNIT_ENUM from,
                                         const std::string& fromName, UNIT_ENUM to,
                                         const std::string& toName) {
    if (trace_ == nullptr || !converts(from, to)) return;
    DATA_TYPE_UNION probe{};
    probe.dVal = 1.0;
    const bool fails = ConvertUnits(from, to, DT_DOUBLE, &probe) != 0;
    note(fails ? "failed unit conversion" : "unit conversion", row,
         [&] { return label + fromName + " -> " + toName; });
}

// The unit value only decides whether anything is appended; the text comes
// from the unit's name.
void kq::Formatter::appendUnitsStringIfAny(UNIT_ENUM unit, std::string unitName,
                                           std::string& text) {
    if (unit == UNIT_NONE) return;
    text += ' ';
    text += getDisplayUnits(unitName.c_str());
}
