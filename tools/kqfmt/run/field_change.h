// One field that differs between the old and the new configuration.
#pragma once

#include <optional>
#include <string>

namespace kqfmt {

// A field of a column's definition (`where` is the table, `name` the
// column) or of a catalog entry (`where` is kq_units or kq_sysvars, `name`
// the entry). No text: that side does not have the definition or entry.
struct FieldChange {
    std::string where;
    std::string name;
    std::string field;
    std::optional<std::string> old_text;
    std::optional<std::string> new_text;
};

}  // namespace kqfmt
