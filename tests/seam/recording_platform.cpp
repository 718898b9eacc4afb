// The recording platform: each operation appends one line to the call log,
// then answers from the plain tables. Units, system variables and the
// date/time service know nothing and say so.
#include "recording_platform.h"

#include <cstdlib>
#include <string>

#include "csys_date_time_format.h"
#include "kq_log.h"
#include "kq_units.h"
#include "kw_parse_sys_var.h"

unsigned char DebugLevel = 0;

namespace kqrec {

std::vector<std::string>& call_log() {
    static std::vector<std::string> log;
    return log;
}

}  // namespace kqrec

namespace {

using kqrec::call_log;

kqrec::Table& live(KWTABLE* table) { return *static_cast<kqrec::Table*>(table); }
kqrec::Snapshot& snapshot(KQ_TABLE_COPY* table) { return *static_cast<kqrec::Snapshot*>(table); }

void record(const std::string& table, const std::string& call) {
    call_log().push_back(table + "." + call);
}

const kqrec::Column* column_at(KWTABLE* table, long column) {
    const auto& columns = live(table).columns;
    return column >= 0 && static_cast<size_t>(column) < columns.size()
               ? &columns[static_cast<size_t>(column)]
               : nullptr;
}

// The text of a cell, empty out of range.
std::string live_cell(KWTABLE* table, int column, int row, const char* overload) {
    record(live(table).name,
           "get(" + std::to_string(column) + "," + std::to_string(row) + "," + overload + ")");
    const kqrec::Column* c = column_at(table, column);
    return c && row >= 0 && static_cast<size_t>(row) < c->cells.size()
               ? c->cells[static_cast<size_t>(row)]
               : std::string();
}

std::string old_cell(KQ_TABLE_COPY* table, unsigned long column, unsigned long row,
                     const char* overload) {
    const auto& cells = snapshot(table).cells;
    record(snapshot(table).name,
           "Get(" + std::to_string(column) + "," + std::to_string(row) + "," + overload + ")");
    return column < cells.size() && row < cells[column].size() ? cells[column][row] : std::string();
}

template <typename F>
std::string meta(KWTABLE* table, const char* call, int column, F field) {
    record(live(table).name, std::string(call) + "(" + std::to_string(column) + ")");
    const kqrec::Column* c = column_at(table, column);
    return c ? field(*c) : std::string();
}

}  // namespace

std::string KWTABLE::get_us_format(int column) {
    return meta(this, "get_us_format", column, [](const kqrec::Column& c) { return c.format; });
}
int KWTABLE::get_int_type(int column) {
    record(live(this).name, "get_int_type(" + std::to_string(column) + ")");
    const kqrec::Column* c = column_at(this, column);
    return c ? c->type : 0;
}
int KWTABLE::get_stored_rows() {
    record(live(this).name, "get_stored_rows");
    return live(this).columns.empty() ? 0 : static_cast<int>(live(this).columns[0].cells.size());
}
int KWTABLE::get(int column, int row, std::string& value) {
    value = live_cell(this, column, row, "string");
    return 0;
}
int KWTABLE::get(int column, int row, long& value) {
    value =
        static_cast<long>(std::strtol(live_cell(this, column, row, "long").c_str(), nullptr, 10));
    return 0;
}
int KWTABLE::get(int column, int row, unsigned long& value) {
    value = std::strtoul(live_cell(this, column, row, "unsigned long").c_str(), nullptr, 10);
    return 0;
}
int KWTABLE::get(int column, int row, char& value) {
    value = live_cell(this, column, row, "char").c_str()[0];
    return 0;
}
int KWTABLE::get(int column, int row, float& value) {
    value = std::strtof(live_cell(this, column, row, "float").c_str(), nullptr);
    return 0;
}
int KWTABLE::get(int column, int row, double& value) {
    value = std::strtod(live_cell(this, column, row, "double").c_str(), nullptr);
    return 0;
}
int KWTABLE::get(std::string columnName, int row, std::string& value) {
    record(live(this).name, "get(" + columnName + "," + std::to_string(row) + ",string)");
    value.clear();
    for (const kqrec::Column& c : live(this).columns)
        if (c.name == columnName) {
            if (row >= 0 && static_cast<size_t>(row) < c.cells.size())
                value = c.cells[static_cast<size_t>(row)];
            break;
        }
    return 0;
}
int KWTABLE::get_column_number(std::string name, bool flag) {
    record(live(this).name, "get_column_number(" + name + "," + (flag ? "true" : "false") + ")");
    const auto& columns = live(this).columns;
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == name) return static_cast<int>(i);
    return -1;
}
std::string KWTABLE::get_units(int column) {
    return meta(this, "get_units", column, [](const kqrec::Column&) { return std::string(); });
}
std::string KWTABLE::get_units_us(int column) {
    return meta(this, "get_units_us", column, [](const kqrec::Column&) { return std::string(); });
}
int KWTABLE::get_is_date_time(int column) {
    record(live(this).name, "get_is_date_time(" + std::to_string(column) + ")");
    return 0;
}
std::string KWTABLE::get_label_col(int column) {
    return meta(this, "get_label_col", column, [](const kqrec::Column& c) { return c.label_col; });
}
std::string KWTABLE::get_component_sel(int column) {
    return meta(this, "get_component_sel", column,
                [](const kqrec::Column&) { return std::string(); });
}
std::string KWTABLE::get_internal_name(int column) {
    return meta(this, "get_internal_name", column, [](const kqrec::Column& c) { return c.name; });
}
int KWTABLE::read_table_data() {
    record(live(this).name, "read_table_data");
    return 0;
}

int KQ_TABLE_COPY::GetNumRows() {
    record(snapshot(this).name, "GetNumRows");
    const auto& cells = snapshot(this).cells;
    return cells.empty() ? 0 : static_cast<int>(cells[0].size());
}
int KQ_TABLE_COPY::Get(unsigned long column, unsigned long row, std::string& value) {
    value = old_cell(this, column, row, "string");
    return 0;
}
int KQ_TABLE_COPY::Get(unsigned long column, unsigned long row, long& value) {
    value = std::strtol(old_cell(this, column, row, "long").c_str(), nullptr, 10);
    return 0;
}
int KQ_TABLE_COPY::Get(unsigned long column, unsigned long row, unsigned long& value) {
    value = std::strtoul(old_cell(this, column, row, "unsigned long").c_str(), nullptr, 10);
    return 0;
}
int KQ_TABLE_COPY::Get(unsigned long column, unsigned long row, char& value) {
    value = old_cell(this, column, row, "char").c_str()[0];
    return 0;
}
int KQ_TABLE_COPY::Get(unsigned long column, unsigned long row, float& value) {
    value = std::strtof(old_cell(this, column, row, "float").c_str(), nullptr);
    return 0;
}
int KQ_TABLE_COPY::Get(unsigned long column, unsigned long row, double& value) {
    value = std::strtod(old_cell(this, column, row, "double").c_str(), nullptr);
    return 0;
}

KWTABLE* KW_MASTER_TABLE::get_class_pointer(const char* tableName) {
    call_log().push_back(std::string("master.get_class_pointer(") + tableName + ")");
    const auto& tables = static_cast<kqrec::Master*>(this)->tables;
    const auto found = tables.find(tableName);
    return found == tables.end() ? nullptr : found->second;
}

UNIT_ENUM GetUnitEnum(const char* unitName) {
    call_log().push_back(std::string("units.GetUnitEnum(") + unitName + ")");
    return UNIT_NONE;
}
const char* getDisplayUnits(const char* unitName) {
    call_log().push_back(std::string("units.getDisplayUnits(") + unitName + ")");
    return unitName;
}
int ConvertUnits(UNIT_ENUM from, UNIT_ENUM to, data_type, DATA_TYPE_UNION*) {
    call_log().push_back("units.ConvertUnits(" + std::to_string(from) + "," + std::to_string(to) +
                         ")");
    return 1;
}

void DebugLog(ERR_SEVERITY_ENUM, ERR_NUM_ENUM, const char*, unsigned long, const char* format,
              ...) {
    call_log().push_back(std::string("log.DebugLog(") + format + ")");
}
void SysLog(ERR_SEVERITY_ENUM, ERR_NUM_ENUM, const char*, unsigned long, const char* format, ...) {
    call_log().push_back(std::string("log.SysLog(") + format + ")");
}

KW_PARSE_SYS_VAR::KW_PARSE_SYS_VAR(KW_MASTER_TABLE* master) : master_(master) {}
KW_PARSE_SYS_VAR::~KW_PARSE_SYS_VAR() = default;
int KW_PARSE_SYS_VAR::Get_Display_Name(std::string name, std::string&, std::string) {
    call_log().push_back("sysvar.Get_Display_Name(" + name + ")");
    return 0;
}

CSysDateTimeFormat::CSysDateTimeFormat() = default;
CSysDateTimeFormat::~CSysDateTimeFormat() = default;
void CSysDateTimeFormat::SetMasterClassPointer(KW_MASTER_TABLE& master) { master_ = &master; }
void CSysDateTimeFormat::GetDateTime(long value, std::string& out) {
    call_log().push_back("datetime.GetDateTime(" + std::to_string(value) + ")");
    out = std::to_string(value);
}
void CSysDateTimeFormat::GetTime(long value, std::string& out, char, std::string format) {
    call_log().push_back("datetime.GetTime(" + std::to_string(value) + "," + format + ")");
    out = std::to_string(value);
}
