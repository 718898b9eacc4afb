// The host platform's unit catalog: the built-in units, and the entries a
// configuration database adds or replaces.
#pragma once

#include <string>

#include "kq_units.h"

namespace kqhost {

// One catalog entry: si = x * scale + offset.
struct UnitDef {
    std::string name;
    int id = 0;
    std::string display;
    std::string quantity;
    double scale = 1.0;
    double offset = 0.0;
};

// Adds a unit, or replaces the entry with the same name.
void define_unit(const UnitDef& unit);

// Restores the built-in catalog.
void reset_units();

// The entry a conversion from or to the unit of this name uses (the first
// entry with the named unit's id); null for a name the catalog lacks.
const UnitDef* find_unit(const std::string& name);

}  // namespace kqhost
