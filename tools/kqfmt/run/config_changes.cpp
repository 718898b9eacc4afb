// Comparing the definitions and catalogs of two configurations.
#include "run/config_changes.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <optional>
#include <set>

namespace kqfmt {
namespace {

using Text = std::optional<std::string>;

void compare(std::vector<FieldChange>& changes, const std::string& where, const std::string& name,
             const char* field, const Text& old_text, const Text& new_text) {
    if (old_text != new_text) changes.push_back({where, name, field, old_text, new_text});
}

Text column_text(const kqhost::TableData& table, const std::vector<std::string>& declared,
                 std::size_t column) {
    if (column >= static_cast<std::size_t>(table.column_count())) return std::nullopt;
    const std::string& type = column < declared.size() ? declared[column] : std::string();
    const std::string& name = table.column(static_cast<int>(column))->name;
    return type.empty() ? name : name + " " + type;
}

const Configuration::Described* described(const Configuration& config, const std::string& table,
                                          const std::string& column) {
    const auto in_table = config.described.find(table);
    if (in_table == config.described.end()) return nullptr;
    const auto found = in_table->second.find(column);
    return found == in_table->second.end() ? nullptr : &found->second;
}

Text field_of(const Configuration::Described* fields, std::size_t i) {
    return fields && i < fields->size() ? (*fields)[i] : std::nullopt;
}

template <typename Entry, typename Fields>
void compare_catalog(std::vector<FieldChange>& changes, const char* catalog,
                     const std::map<std::string, Entry>& old_entries,
                     const std::map<std::string, Entry>& new_entries, Fields fields) {
    std::map<std::string, bool> names;
    for (const auto& entry : old_entries) names[entry.first] = true;
    for (const auto& entry : new_entries) names[entry.first] = true;
    for (const auto& name : names) {
        const auto o = old_entries.find(name.first);
        const auto n = new_entries.find(name.first);
        fields(changes, catalog, name.first, o == old_entries.end() ? nullptr : &o->second,
               n == new_entries.end() ? nullptr : &n->second);
    }
}

}  // namespace

std::string change_text(const FieldChange& change, bool catalog) {
    const auto side = [](const Text& text) {
        if (!text) return std::string("(none)");
        return text->empty() ? std::string("\"\"") : *text;
    };
    return (catalog ? change.where + " " : std::string()) + change.name + ": " + change.field +
           " " + side(change.old_text) + " \xE2\x86\x92 " + side(change.new_text);
}

std::string number_text(double value) {
    char text[40];
    for (int digits = 15; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

std::vector<FieldChange> definition_changes(const Configuration& old_config,
                                            const Configuration& new_config,
                                            const std::string& table) {
    std::vector<FieldChange> changes;
    const kqhost::TableData& old_table = *old_config.tables.at(table);
    const kqhost::TableData& new_table = *new_config.tables.at(table);
    const std::vector<std::string>& old_declared = old_config.declared_types.at(table);
    const std::vector<std::string>& new_declared = new_config.declared_types.at(table);
    const std::size_t count =
        static_cast<std::size_t>(std::max(old_table.column_count(), new_table.column_count()));
    for (std::size_t c = 0; c < count; ++c) {
        const Text old_text = column_text(old_table, old_declared, c);
        const Text new_text = column_text(new_table, new_declared, c);
        const kqhost::TableData& named = new_text ? new_table : old_table;
        compare(changes, table, named.column(static_cast<int>(c))->name, "column", old_text,
                new_text);
    }

    // Columns by name: the new table's in order, then those only the old has.
    std::vector<std::string> names;
    for (int c = 0; c < new_table.column_count(); ++c) names.push_back(new_table.column(c)->name);
    for (int c = 0; c < old_table.column_count(); ++c) names.push_back(old_table.column(c)->name);
    std::set<std::string> seen;
    for (const std::string& name : names) {
        if (!seen.insert(name).second) continue;  // a name is described once
        const Configuration::Described* o = described(old_config, table, name);
        const Configuration::Described* n = described(new_config, table, name);
        for (std::size_t i = 0; i < std::size(kColumnFields); ++i)
            compare(changes, table, name, kColumnFields[i], field_of(o, i), field_of(n, i));
    }
    return changes;
}

std::vector<FieldChange> catalog_changes(const Configuration& old_config,
                                         const Configuration& new_config) {
    std::vector<FieldChange> changes;
    compare_catalog(
        changes, "kq_units", old_config.units, new_config.units,
        [](std::vector<FieldChange>& out, const char* catalog, const std::string& name,
           const kqhost::UnitDef* o, const kqhost::UnitDef* n) {
            const auto text = [](const kqhost::UnitDef* unit, auto member) -> Text {
                if (!unit) return std::nullopt;
                return member(*unit);
            };
            const auto id = [](const kqhost::UnitDef& u) { return std::to_string(u.id); };
            const auto display = [](const kqhost::UnitDef& u) { return u.display; };
            const auto quantity = [](const kqhost::UnitDef& u) { return u.quantity; };
            const auto scale = [](const kqhost::UnitDef& u) { return number_text(u.scale); };
            const auto offset = [](const kqhost::UnitDef& u) { return number_text(u.offset); };
            compare(out, catalog, name, "id", text(o, id), text(n, id));
            compare(out, catalog, name, "display", text(o, display), text(n, display));
            compare(out, catalog, name, "quantity", text(o, quantity), text(n, quantity));
            compare(out, catalog, name, "scale", text(o, scale), text(n, scale));
            compare(out, catalog, name, "offset", text(o, offset), text(n, offset));
        });
    compare_catalog(changes, "kq_sysvars", old_config.sys_vars, new_config.sys_vars,
                    [](std::vector<FieldChange>& out, const char* catalog, const std::string& name,
                       const std::string* o, const std::string* n) {
                        compare(out, catalog, name, "display_name", o ? Text(*o) : std::nullopt,
                                n ? Text(*n) : std::nullopt);
                    });
    return changes;
}

}  // namespace kqfmt
