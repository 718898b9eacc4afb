// Cell storage of host tables: values kept in the target's representation,
// conversions between storage classes done the way the configuration
// database loader and the target's reads define them.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "kq_host_table.h"
#include "kw_table.h"

namespace kqhost {
namespace {

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
    values_.emplace_back();
    if (loader_) loaded_.push_back(Load::none);
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
    // Cells past the stored values read as 0 / ""; values of rows cut off
    // are dropped, so that growing again gives empty cells.
    size_t count = static_cast<size_t>(rows_);
    for (Values& v : values_) {
        if (v.sparse) {
            v.rows.erase(std::lower_bound(v.rows.begin(), v.rows.end(), rows_), v.rows.end());
            count = v.rows.size();
        }
        if (v.words.size() > count) v.words.resize(count);
        if (v.doubles.size() > count) v.doubles.resize(count);
        v.texts.truncate(count);
    }
}

int TableData::append_row() {
    set_row_count(rows_ + 1);
    return rows_ - 1;
}

// The slow part of ensure(): the column is not wholly stored.
void TableData::load(int column, int row) const {
    const size_t c = static_cast<size_t>(column);
    if (loaded_[c] == Load::some && sparse_slot(values_[c], row) != kNoSlot) return;
    // Marked before the call, so that a read made while loading cannot
    // start the same load again. The whole column comes in, dense.
    loaded_[c] = Load::all;
    auto& self = const_cast<TableData&>(*this);
    self.values_[c] = Values{};
    loader_(self, column);
}

size_t TableData::sparse_slot(const Values& v, int row) {
    const auto at = std::lower_bound(v.rows.begin(), v.rows.end(), row);
    return at != v.rows.end() && *at == row ? static_cast<size_t>(at - v.rows.begin()) : kNoSlot;
}

std::string_view TableData::text(int column, int row) const {
    ensure(column, row);
    const Values& v = values_[static_cast<size_t>(column)];
    return v.texts[slot(v, row)];
}

// A numeric vector grows at its first store: a dense column to the row
// count, a sparse one to the number of rows it holds.
void TableData::store_word(int column, int row, uint32_t word) {
    Values& v = values_[static_cast<size_t>(column)];
    const size_t at = slot(v, row);
    if (at == kNoSlot) return;
    if (v.words.size() <= at) v.words.resize(v.sparse ? v.rows.size() : size_t(rows_));
    v.words[at] = word;
}

void TableData::store_double(int column, int row, double value) {
    Values& v = values_[static_cast<size_t>(column)];
    const size_t at = slot(v, row);
    if (at == kNoSlot) return;
    if (v.doubles.size() <= at) v.doubles.resize(v.sparse ? v.rows.size() : size_t(rows_));
    v.doubles[at] = value;
}

void TableData::store_in_text(int column, int row, std::string_view text) {
    Values& v = values_[static_cast<size_t>(column)];
    const size_t at = slot(v, row);
    if (at != kNoSlot) v.texts.set(at, text);
}

namespace {

uint32_t float_word(float value) {
    uint32_t word;
    std::memcpy(&word, &value, sizeof word);
    return word;
}

}  // namespace

void TableData::store_integer(int column, int row, long long value) {
    if (!in_range(column, row)) return;
    switch (stored_type(column)) {
        case 1: store_word(column, row, wrap32(value) & 0xFFu); break;
        case 8:
        case 9: store_word(column, row, wrap32(value)); break;
        case 12: store_word(column, row, float_word(static_cast<float>(value))); break;
        case 13: store_double(column, row, static_cast<double>(value)); break;
        default: store_in_text(column, row, std::to_string(value)); break;
    }
}

void TableData::store_real(int column, int row, double value) {
    if (!in_range(column, row)) return;
    switch (stored_type(column)) {
        case 1: store_word(column, row, wrap32(value) & 0xFFu); break;
        case 8:
        case 9: store_word(column, row, wrap32(value)); break;
        case 12: store_word(column, row, float_word(static_cast<float>(value))); break;
        case 13: store_double(column, row, value); break;
        default: store_in_text(column, row, real_text(value)); break;
    }
}

void TableData::store_text(int column, int row, const std::string& value) {
    if (!in_range(column, row)) return;
    switch (stored_type(column)) {
        case 1: store_word(column, row, value.empty() ? 0u : static_cast<uint8_t>(value[0])); break;
        case 8:
        case 9: store_word(column, row, wrap32(std::strtoll(value.c_str(), nullptr, 10))); break;
        case 12:
            store_word(column, row,
                       float_word(static_cast<float>(std::strtod(value.c_str(), nullptr))));
            break;
        case 13: store_double(column, row, std::strtod(value.c_str(), nullptr)); break;
        default: store_in_text(column, row, value); break;
    }
}

void TableData::store_null(int column, int row) {
    if (!in_range(column, row)) return;
    Values& v = values_[static_cast<size_t>(column)];
    const size_t at = slot(v, row);
    if (at < v.words.size()) v.words[at] = 0;
    if (at < v.doubles.size()) v.doubles[at] = 0;
    if (at < v.texts.size()) v.texts.set(at, {});
}

void TableData::set_column_loader(ColumnLoader loader) {
    loader_ = std::move(loader);
    loaded_.assign(defs_.size(), Load::none);
}

void TableData::mark_loaded(int column) {
    if (!loader_ || column < 0 || column >= column_count()) return;
    loaded_[static_cast<size_t>(column)] = Load::all;
}

void TableData::hold_rows(int column, std::vector<int32_t> rows) {
    if (!loader_ || column < 0 || column >= column_count()) return;
    const size_t c = static_cast<size_t>(column);
    loaded_[c] = Load::some;
    values_[c] = Values{};
    values_[c].rows = std::move(rows);
    values_[c].sparse = true;
}

void TableData::unload() {
    if (!loader_) return;
    for (size_t c = 0; c < values_.size(); ++c) {
        values_[c] = Values{};
        loaded_[c] = Load::none;
    }
}

void TableData::read(int column, int row, std::string& out) const {
    if (!in_range(column, row)) {
        out.clear();
        return;
    }
    // Integers in decimal, as "%u", "%lu" and "%ld" print them; floats as "%g".
    char buf[64];
    const auto decimal = [&](auto value) {
        out.assign(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
    };
    switch (stored_type(column)) {
        case 1: decimal(static_cast<unsigned>(static_cast<uint8_t>(word(column, row)))); return;
        case 8: decimal(word(column, row)); return;
        case 9: decimal(static_cast<int32_t>(word(column, row))); return;
        case 12:
            std::snprintf(buf, sizeof buf, "%g", static_cast<double>(as_float(word(column, row))));
            break;
        case 13: std::snprintf(buf, sizeof buf, "%g", wide(column, row)); break;
        default: {
            const std::string_view t = text(column, row);
            out.assign(t.data(), t.size());
            return;
        }
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
    if (!in_range(column, row)) {
        out = 0;
        return;
    }
    switch (stored_type(column)) {
        case 1: out = static_cast<uint8_t>(word(column, row)); break;
        case 8: out = word(column, row); break;
        case 9: out = word(column, row); break;
        case 12: out = wrap32(static_cast<double>(as_float(word(column, row)))); break;
        case 13: out = wrap32(wide(column, row)); break;
        default:
            out = wrap32(std::strtoll(std::string(text(column, row)).c_str(), nullptr, 10));
            break;
    }
}

void TableData::read(int column, int row, char& out) const {
    if (!in_range(column, row)) {
        out = 0;
        return;
    }
    if (stored_type(column) == 15) {
        const std::string_view t = text(column, row);
        out = t.empty() ? 0 : t[0];
        return;
    }
    unsigned long u = 0;
    read(column, row, u);
    out = static_cast<char>(u & 0xFFu);
}

void TableData::read(int column, int row, double& out) const {
    if (!in_range(column, row)) {
        out = 0;
        return;
    }
    switch (stored_type(column)) {
        case 1: out = static_cast<uint8_t>(word(column, row)); break;
        case 8: out = word(column, row); break;
        case 9: out = static_cast<int32_t>(word(column, row)); break;
        case 12: out = as_float(word(column, row)); break;
        case 13: out = wide(column, row); break;
        default: out = std::strtod(std::string(text(column, row)).c_str(), nullptr); break;
    }
}

void TableData::read(int column, int row, float& out) const {
    if (!in_range(column, row)) {
        out = 0;
        return;
    }
    switch (stored_type(column)) {
        case 1: out = static_cast<uint8_t>(word(column, row)); break;
        case 8: out = static_cast<float>(word(column, row)); break;
        case 9: out = static_cast<float>(static_cast<int32_t>(word(column, row))); break;
        case 12: out = as_float(word(column, row)); break;
        case 13: out = static_cast<float>(wide(column, row)); break;
        default:
            out = static_cast<float>(std::strtod(std::string(text(column, row)).c_str(), nullptr));
            break;
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
    names.reserve(tables_.size());
    for (const auto& entry : tables_) names.push_back(entry.first);
    std::sort(names.begin(), names.end());
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
