// Columns shown as floating-point numbers: float and double columns, and
// 32-bit integer columns with a floating-point format. Integers and floats
// pass through single precision (nearest, ties to even) before conversion
// and printing, as the target does; doubles stay double.
#include "core/log_lines.h"
#include "numeric/numeric_column.h"

namespace {

struct FloatColumn {
    static constexpr const char* kName = "floating-point";
    static const kq::SpecifierSyntax& syntax() { return kq::kFloatSyntax; }

    static bool supports(int type) {
        return type == KQ_TYPE_UINT32 || type == KQ_TYPE_INT32 || type == KQ_TYPE_FLOAT ||
               type == KQ_TYPE_DOUBLE;
    }

    static void report_unsupported(int type) {
        KQ_DEBUG_LINE("Cannot generate a string representation of data type %d", type);
    }

    // "%76g" and "%86g" are decoded per value for float columns only.
    static bool decodes(int type) { return type == KQ_TYPE_FLOAT; }

    // The stored value as the float it is converted and printed as.
    template <class Table>
    static float read_as_float(Table* table, long column, long row, int type) {
        if (type == KQ_TYPE_INT32)
            return static_cast<float>(
                static_cast<int32_t>(kq::read_int32_cell(table, column, row, type)));
        if (type == KQ_TYPE_UINT32)
            return static_cast<float>(kq::read_int32_cell(table, column, row, type));
        float value = 0;
        kq::read_cell(table, column, row, value);
        return value;
    }

    template <class Table>
    static kq::PrintValue read(kq::Formatter& formatter, Table* table, KWTABLE* live, long column,
                               long row, int type, UNIT_ENUM stored, UNIT_ENUM display) {
        DATA_TYPE_UNION value{};
        if (type == KQ_TYPE_DOUBLE) {
            double stored_value = 0;
            kq::read_cell(table, column, row, stored_value);
            value.dVal = stored_value;
            if (kq::Formatter::converts(stored, display))
                formatter.getDatabaseValAfterUnitConversion(live, column, KQ_TYPE_DOUBLE, &value,
                                                            stored, display);
            return kq::PrintValue::of_double(value.dVal);
        }
        value.fVal = read_as_float(table, column, row, type);
        if (kq::Formatter::converts(stored, display))
            formatter.getDatabaseValAfterUnitConversion(live, column, KQ_TYPE_FLOAT, &value, stored,
                                                        display);
        return kq::PrintValue::of_double(static_cast<double>(value.fVal));
    }
};

}  // namespace

void kq::Formatter::extractFormatDataForFloatData(std::string format, KQ_TABLE_COPY* oldTable,
                                                  KWTABLE* newTable, long column,
                                                  KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells) {
    kq::format_numeric_column<FloatColumn>(*this, format, oldTable, newTable, column, oldCells,
                                           newCells);
}
