// What differs between two configurations apart from their values: the
// definitions and columns of a table, and the catalog entries.
#pragma once

#include <string>
#include <vector>

#include "input/config_loader.h"
#include "run/field_change.h"

namespace kqfmt {

// The table's columns compared by position (field "column", each side
// "NAME DECLARED-TYPE"), then each kq_columns field that differs, column by
// column in the new table's order and then the old-only columns. A column
// described on one side only has every field of its row listed. The table
// must exist in both configurations.
std::vector<FieldChange> definition_changes(const Configuration& old_config,
                                            const Configuration& new_config,
                                            const std::string& table);

// Every kq_units field (id, display, quantity, scale, offset) and every
// kq_sysvars display_name that differs, entries by name; an entry only one
// database defines has all its fields listed.
std::vector<FieldChange> catalog_changes(const Configuration& old_config,
                                         const Configuration& new_config);

// One change as a line of text: "temp: units_us degF → degC", for a
// catalog entry "kq_units degF: display °F → F"; a side without the field
// reads "(none)", an empty text "". Not escaped.
std::string change_text(const FieldChange& change, bool catalog);

// A number as the shortest decimal text that reads back as the same double.
std::string number_text(double value);

}  // namespace kqfmt
