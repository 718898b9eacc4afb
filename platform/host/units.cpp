// Host unit catalog and conversion.
#include <atomic>
#include <cmath>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>

#include "kq_host_units.h"

namespace {

std::map<std::string, kqhost::UnitDef> built_in_units() {
    const kqhost::UnitDef defs[] = {
        {"degC", 10,
         "\xC2\xB0"
         "C",
         "temperature", 1.0, 273.15},
        {"degF", 11,
         "\xC2\xB0"
         "F",
         "temperature", 5.0 / 9.0, 459.67 * 5.0 / 9.0},
        {"K", 12, "K", "temperature", 1.0, 0.0},
        {"bar", 20, "bar", "pressure", 100000.0, 0.0},
        {"mbar", 21, "mbar", "pressure", 100.0, 0.0},
        {"kPa", 22, "kPa", "pressure", 1000.0, 0.0},
        {"psi", 23, "psi", "pressure", 6894.757293168, 0.0},
        {"h", 16, "h", "time", 3600.0, 0.0},
        {"min", 17, "min", "time", 60.0, 0.0},
        {"s", 18, "s", "time", 1.0, 0.0},
        {"ms", 19, "ms", "time", 0.001, 0.0},
        {"mm", 30, "mm", "length", 0.001, 0.0},
        {"in", 31, "in", "length", 0.0254, 0.0},
        {"m", 32, "m", "length", 1.0, 0.0},
        {"ml/min", 40, "ml/min", "flow", 1.0, 0.0},
        {"l/h", 41, "l/h", "flow", 1000.0 / 60.0, 0.0},
        {"%", 50, "%", "fraction", 1.0, 0.0},
        {"ppm", 51, "ppm", "fraction", 0.0001, 0.0},
    };
    std::map<std::string, kqhost::UnitDef> catalog;
    for (const auto& def : defs) catalog[def.name] = def;
    return catalog;
}

// The catalog is set up before formatting and only read during it.
std::map<std::string, kqhost::UnitDef>& catalog() {
    static std::map<std::string, kqhost::UnitDef> units = built_in_units();
    return units;
}

// The units by id, for the conversions of every formatted cell: where
// several share an id, the first by name. A change of the catalog marks it
// stale; the first look-up after makes it again, once for any number of
// changes (a configuration may define thousands of units).
using IdIndex = std::unordered_map<int, const kqhost::UnitDef*>;
IdIndex g_id_index;
std::atomic<bool> g_id_index_stale{true};
std::mutex g_id_index_mutex;

void mark_id_index_stale() { g_id_index_stale.store(true, std::memory_order_release); }

const IdIndex& id_index() {
    if (g_id_index_stale.load(std::memory_order_acquire)) {
        const std::lock_guard<std::mutex> lock(g_id_index_mutex);
        if (g_id_index_stale.load(std::memory_order_relaxed)) {
            g_id_index.clear();
            for (const auto& entry : catalog()) g_id_index.emplace(entry.second.id, &entry.second);
            g_id_index_stale.store(false, std::memory_order_release);
        }
    }
    return g_id_index;
}

const kqhost::UnitDef* by_name(const char* name) {
    if (!name) return nullptr;
    auto it = catalog().find(name);
    return it == catalog().end() ? nullptr : &it->second;
}

const kqhost::UnitDef* by_id(int id) {
    const IdIndex& index = id_index();
    const auto it = index.find(id);
    return it == index.end() ? nullptr : it->second;
}

// Rounds half away from zero and keeps the low 32 bits.
uint32_t round_wrap32(double value) {
    if (!std::isfinite(value)) return 0;
    double r = std::fmod(std::round(value), 4294967296.0);
    if (r < 0) r += 4294967296.0;
    return static_cast<uint32_t>(r);
}

}  // namespace

UNIT_ENUM GetUnitEnum(const char* unitName) {
    const kqhost::UnitDef* def = by_name(unitName);
    return static_cast<UNIT_ENUM>(def ? def->id : UNIT_NONE);
}

const char* getDisplayUnits(const char* unitName) {
    if (!unitName) return "";
    const kqhost::UnitDef* def = by_name(unitName);
    return def ? def->display.c_str() : unitName;
}

int ConvertUnits(UNIT_ENUM from, UNIT_ENUM to, data_type type, DATA_TYPE_UNION* value) {
    const kqhost::UnitDef* src = by_id(from);
    const kqhost::UnitDef* dst = by_id(to);
    if (!src || !dst || src->quantity != dst->quantity || !value) return 1;
    double x;
    switch (type) {
        case DT_UINT32: x = value->ulVal; break;
        case DT_INT32: x = value->lVal; break;
        case DT_FLOAT: x = value->fVal; break;
        case DT_DOUBLE: x = value->dVal; break;
        default: return 1;
    }
    const double si = x * src->scale + src->offset;
    const double y = (si - dst->offset) / dst->scale;
    switch (type) {
        case DT_UINT32: value->ulVal = round_wrap32(y); break;
        case DT_INT32: value->lVal = static_cast<int32_t>(round_wrap32(y)); break;
        case DT_FLOAT: value->fVal = static_cast<float>(y); break;
        default: value->dVal = y; break;
    }
    return 0;
}

namespace kqhost {

void define_unit(const UnitDef& unit) {
    catalog()[unit.name] = unit;
    mark_id_index_stale();
}

void reset_units() {
    catalog() = built_in_units();
    mark_id_index_stale();
}

const UnitDef* find_unit(const std::string& name) {
    const UnitDef* named = by_name(name.c_str());
    return named != nullptr ? by_id(named->id) : nullptr;
}

}  // namespace kqhost
