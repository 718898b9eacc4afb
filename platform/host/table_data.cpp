// Cell storage of host tables: values kept in the target's representation,
// conversions between storage classes done the way the configuration
// database loader and the target's reads define them.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "kq_host_table.h"
#include "kw_table.h"

namespace kqhost {
namespace {

// Storage representation of a type code: the five numeric codes are kept as
// numbers, every other code as text.
int representation(int type) {
    switch (type) {
        case 1:
        case 8:
        case 9:
        case 12:
        case 13: return type;
        default: return 15;
    }
}

// Truncates toward zero and keeps the low 32 bits; NaN and infinities give 0.
uint32_t wrap32(double value) {
    if (!std::isfinite(value)) return 0;
    double t = std::fmod(std::trunc(value), 4294967296.0);
    if (t < 0) t += 4294967296.0;
    return static_cast<uint32_t>(t);
}

uint32_t wrap32(long long value) { return static_cast<uint32_t>(static_cast<uint64_t>(value)); }

// Text of a real value as the configuration database renders one: 15
// significant digits, and ".0" on a value that would otherwise look integral.
std::string real_text(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    if (std::isfinite(value) && !std::strpbrk(buf, ".eE")) std::strcat(buf, ".0");
    return buf;
}

}  // namespace

TableData::TableData(std::string name) : name_(std::move(name)) {}

int TableData::add_column(const ColumnDef& def) {
    defs_.push_back(def);
    if (defs_.back().internal_name.empty()) defs_.back().internal_name = def.name;
    cells_.emplace_back(static_cast<size_t>(rows_));
    return static_cast<int>(defs_.size()) - 1;
}

const ColumnDef* TableData::column(int column) const {
    if (column < 0 || column >= column_count()) return nullptr;
    return &defs_[static_cast<size_t>(column)];
}

ColumnDef* TableData::column(int column) {
    if (column < 0 || column >= column_count()) return nullptr;
    return &defs_[static_cast<size_t>(column)];
}

void TableData::set_row_count(int rows) {
    rows_ = rows < 0 ? 0 : rows;
    for (auto& col : cells_) col.resize(static_cast<size_t>(rows_));
}

int TableData::append_row() {
    set_row_count(rows_ + 1);
    return rows_ - 1;
}

int TableData::stored_type(int column) const {
    const ColumnDef* def = this->column(column);
    return def ? representation(def->type) : 15;
}

const TableData::Cell* TableData::cell(int column, int row) const {
    if (column < 0 || column >= column_count() || row < 0 || row >= rows_) return nullptr;
    return &cells_[static_cast<size_t>(column)][static_cast<size_t>(row)];
}

TableData::Cell* TableData::cell(int column, int row) {
    return const_cast<Cell*>(static_cast<const TableData*>(this)->cell(column, row));
}

void TableData::store_integer(int column, int row, long long value) {
    Cell* c = cell(column, row);
    if (!c) return;
    switch (stored_type(column)) {
        case 1: c->num.byte = static_cast<uint8_t>(wrap32(value) & 0xFFu); break;
        case 8: c->num.u32 = wrap32(value); break;
        case 9: c->num.i32 = static_cast<int32_t>(wrap32(value)); break;
        case 12: c->num.f32 = static_cast<float>(value); break;
        case 13: c->num.f64 = static_cast<double>(value); break;
        default: c->text = std::to_string(value); break;
    }
}

void TableData::store_real(int column, int row, double value) {
    Cell* c = cell(column, row);
    if (!c) return;
    switch (stored_type(column)) {
        case 1: c->num.byte = static_cast<uint8_t>(wrap32(value) & 0xFFu); break;
        case 8: c->num.u32 = wrap32(value); break;
        case 9: c->num.i32 = static_cast<int32_t>(wrap32(value)); break;
        case 12: c->num.f32 = static_cast<float>(value); break;
        case 13: c->num.f64 = value; break;
        default: c->text = real_text(value); break;
    }
}

void TableData::store_text(int column, int row, const std::string& value) {
    Cell* c = cell(column, row);
    if (!c) return;
    switch (stored_type(column)) {
        case 1: c->num.byte = value.empty() ? 0 : static_cast<uint8_t>(value[0]); break;
        case 8: c->num.u32 = wrap32(std::strtoll(value.c_str(), nullptr, 10)); break;
        case 9:
            c->num.i32 = static_cast<int32_t>(wrap32(std::strtoll(value.c_str(), nullptr, 10)));
            break;
        case 12: c->num.f32 = static_cast<float>(std::strtod(value.c_str(), nullptr)); break;
        case 13: c->num.f64 = std::strtod(value.c_str(), nullptr); break;
        default: c->text = value; break;
    }
}

void TableData::store_null(int column, int row) {
    Cell* c = cell(column, row);
    if (!c) return;
    c->num = {};
    c->text.clear();
}

void TableData::read(int column, int row, std::string& out) const {
    const Cell* c = cell(column, row);
    if (!c) {
        out.clear();
        return;
    }
    char buf[64];
    switch (stored_type(column)) {
        case 1: std::snprintf(buf, sizeof buf, "%u", static_cast<unsigned>(c->num.byte)); break;
        case 8:
            std::snprintf(buf, sizeof buf, "%lu", static_cast<unsigned long>(c->num.u32));
            break;
        case 9: std::snprintf(buf, sizeof buf, "%ld", static_cast<long>(c->num.i32)); break;
        case 12: std::snprintf(buf, sizeof buf, "%g", static_cast<double>(c->num.f32)); break;
        case 13: std::snprintf(buf, sizeof buf, "%g", c->num.f64); break;
        default: out = c->text; return;
    }
    out = buf;
}

// Integer reads give the 32-bit value: sign-extended into long, zero-extended
// into unsigned long, as the target's 32-bit long would hold it.
void TableData::read(int column, int row, long& out) const {
    unsigned long u = 0;
    read(column, row, u);
    out = static_cast<int32_t>(static_cast<uint32_t>(u));
}

void TableData::read(int column, int row, unsigned long& out) const {
    const Cell* c = cell(column, row);
    if (!c) {
        out = 0;
        return;
    }
    switch (stored_type(column)) {
        case 1: out = c->num.byte; break;
        case 8: out = c->num.u32; break;
        case 9: out = static_cast<uint32_t>(c->num.i32); break;
        case 12: out = wrap32(static_cast<double>(c->num.f32)); break;
        case 13: out = wrap32(c->num.f64); break;
        default: out = wrap32(std::strtoll(c->text.c_str(), nullptr, 10)); break;
    }
}

void TableData::read(int column, int row, char& out) const {
    const Cell* c = cell(column, row);
    if (!c) {
        out = 0;
        return;
    }
    if (stored_type(column) == 15) {
        out = c->text.empty() ? 0 : c->text[0];
        return;
    }
    unsigned long u = 0;
    read(column, row, u);
    out = static_cast<char>(u & 0xFFu);
}

void TableData::read(int column, int row, double& out) const {
    const Cell* c = cell(column, row);
    if (!c) {
        out = 0;
        return;
    }
    switch (stored_type(column)) {
        case 1: out = c->num.byte; break;
        case 8: out = c->num.u32; break;
        case 9: out = c->num.i32; break;
        case 12: out = c->num.f32; break;
        case 13: out = c->num.f64; break;
        default: out = std::strtod(c->text.c_str(), nullptr); break;
    }
}

void TableData::read(int column, int row, float& out) const {
    const Cell* c = cell(column, row);
    if (!c) {
        out = 0;
        return;
    }
    switch (stored_type(column)) {
        case 1: out = c->num.byte; break;
        case 8: out = static_cast<float>(c->num.u32); break;
        case 9: out = static_cast<float>(c->num.i32); break;
        case 12: out = c->num.f32; break;
        case 13: out = static_cast<float>(c->num.f64); break;
        default: out = static_cast<float>(std::strtod(c->text.c_str(), nullptr)); break;
    }
}

int TableData::find_column(const std::string& name) const {
    for (size_t i = 0; i < defs_.size(); ++i)
        if (defs_[i].name == name) return static_cast<int>(i);
    return -1;
}

std::shared_ptr<TableData> TableData::clone() const { return std::make_shared<TableData>(*this); }

// ---- Registry ---------------------------------------------------------------

void MasterData::add_table(std::shared_ptr<LiveTable> table) {
    std::string name = table->data().name();
    tables_[name] = std::move(table);
}

void MasterData::add_table(std::shared_ptr<TableData> data) {
    add_table(std::make_shared<LiveTable>(std::move(data)));
}

LiveTable* MasterData::find(const std::string& name) const {
    auto it = tables_.find(name);
    return it == tables_.end() ? nullptr : it->second.get();
}

std::vector<std::string> MasterData::table_names() const {
    std::vector<std::string> names;
    for (const auto& entry : tables_) names.push_back(entry.first);
    return names;
}

void MasterData::define_sys_var(const std::string& name, const std::string& display) {
    sys_vars_[name] = display;
}

const std::string* MasterData::sys_var_display(const std::string& name) const {
    auto it = sys_vars_.find(name);
    return it == sys_vars_.end() ? nullptr : &it->second;
}

}  // namespace kqhost
