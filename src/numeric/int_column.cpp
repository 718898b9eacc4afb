// 32-bit integer columns with an integer format. The value is printed as a
// 32-bit integer, signed for type 9 and unsigned for type 8, whatever length
// modifier the specifier writes.
#include "core/log_lines.h"
#include "numeric/numeric_column.h"

namespace {

struct IntColumn {
    static constexpr const char* kName = "integer";
    static const kq::SpecifierSyntax& syntax() { return kq::kIntSyntax; }

    static bool supports(int type) { return type == KQ_TYPE_UINT32 || type == KQ_TYPE_INT32; }

    static void report_unsupported(int type) {
        KQ_DEBUG_LINE("Cannot generate a string representation of data type %d", type);
    }
    static bool decodes(int) { return false; }

    template <class Table>
    static kq::PrintValue read(kq::Formatter& formatter, Table* table, KWTABLE* live, long column,
                               long row, int type, UNIT_ENUM stored, UNIT_ENUM display) {
        DATA_TYPE_UNION value{};
        const uint32_t bits = kq::read_int32_cell(table, column, row, type);
        if (type == KQ_TYPE_UINT32) {
            value.ulVal = bits;
            if (kq::Formatter::converts(stored, display))
                formatter.getDatabaseValAfterUnitConversion(live, column, KQ_TYPE_UINT32, &value,
                                                            stored, display);
            return kq::PrintValue::of_unsigned(value.ulVal);
        }
        value.lVal = static_cast<int32_t>(bits);
        if (kq::Formatter::converts(stored, display))
            formatter.getDatabaseValAfterUnitConversion(live, column, KQ_TYPE_INT32, &value, stored,
                                                        display);
        return kq::PrintValue::of_signed(value.lVal);
    }
};

}  // namespace

void kq::Formatter::extractFormatDataForIntData(std::string format, KQ_TABLE_COPY* oldTable,
                                                KWTABLE* newTable, long column,
                                                KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells) {
    kq::format_numeric_column<IntColumn>(*this, format, oldTable, newTable, column, oldCells,
                                         newCells);
}
