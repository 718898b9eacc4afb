// The platform's table classes on the host: thin views over TableData.
#include "kq_host_table.h"
#include "kw_table.h"

using kqhost::ColumnDef;

namespace {
const ColumnDef kNoColumn = [] {
    ColumnDef def;
    def.type = 0;
    return def;
}();

// Metadata of a column; a column out of range has empty texts, type 0 and
// no date/time flag.
const ColumnDef& meta(const kqhost::TableData& data, int column) {
    const ColumnDef* def = data.column(column);
    return def ? *def : kNoColumn;
}

// Snapshot coordinates are unsigned; anything past int range is out of range.
int as_index(unsigned long value) { return value > 0x7FFFFFFFul ? -1 : static_cast<int>(value); }
}  // namespace

// Every table the host hands out is one of its own classes.
static const kqhost::TableData& live(const KWTABLE* table) {
    return static_cast<const kqhost::LiveTable*>(table)->data();
}
static const kqhost::TableData& copy(const KQ_TABLE_COPY* table) {
    return static_cast<const kqhost::TableCopy*>(table)->data();
}

std::string KWTABLE::get_us_format(int column) { return meta(live(this), column).us_format; }
int KWTABLE::get_int_type(int column) { return meta(live(this), column).type; }
int KWTABLE::get_stored_rows() { return live(this).row_count(); }
std::string KWTABLE::get_units(int column) { return meta(live(this), column).units; }
std::string KWTABLE::get_units_us(int column) { return meta(live(this), column).units_us; }
int KWTABLE::get_is_date_time(int column) { return meta(live(this), column).is_date_time; }
std::string KWTABLE::get_label_col(int column) { return meta(live(this), column).label_col; }
std::string KWTABLE::get_component_sel(int column) {
    return meta(live(this), column).component_sel;
}
std::string KWTABLE::get_internal_name(int column) {
    return meta(live(this), column).internal_name;
}

int KWTABLE::get(int column, int row, std::string& value) {
    return live(this).read(column, row, value), 0;
}
int KWTABLE::get(int column, int row, long& value) {
    return live(this).read(column, row, value), 0;
}
int KWTABLE::get(int column, int row, unsigned long& value) {
    return live(this).read(column, row, value), 0;
}
int KWTABLE::get(int column, int row, char& value) {
    return live(this).read(column, row, value), 0;
}
int KWTABLE::get(int column, int row, float& value) {
    return live(this).read(column, row, value), 0;
}
int KWTABLE::get(int column, int row, double& value) {
    return live(this).read(column, row, value), 0;
}

int KWTABLE::get(std::string columnName, int row, std::string& value) {
    live(this).read(live(this).find_column(columnName), row, value);
    return 0;
}

int KWTABLE::get_column_number(std::string name, bool) { return live(this).find_column(name); }

// Host tables hold their rows from the start.
int KWTABLE::read_table_data() { return 0; }

int KQ_TABLE_COPY::GetNumRows() { return copy(this).row_count(); }

#define KQ_SNAPSHOT_GET(T)                                                      \
    int KQ_TABLE_COPY::Get(unsigned long column, unsigned long row, T& value) { \
        copy(this).read(as_index(column), as_index(row), value);                \
        return 0;                                                               \
    }
KQ_SNAPSHOT_GET(std::string)
KQ_SNAPSHOT_GET(long)
KQ_SNAPSHOT_GET(unsigned long)
KQ_SNAPSHOT_GET(char)
KQ_SNAPSHOT_GET(float)
KQ_SNAPSHOT_GET(double)
#undef KQ_SNAPSHOT_GET

KWTABLE* KW_MASTER_TABLE::get_class_pointer(const char* tableName) {
    return tableName ? static_cast<kqhost::MasterTable*>(this)->data().find(tableName) : nullptr;
}
