// Configuration tables, their metadata and the catalogs, read from SQLite.
#include "input/config_loader.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <optional>

#include "input/input_error.h"
#include "input/lint_ignore_table.h"
#include "input/sqlite_db.h"
#include "kq_host_units.h"

namespace kqfmt {
namespace {

using kqhost::ColumnDef;
using kqhost::TableData;

bool has_prefix(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// All rows of a table in rowid order. The rowid is named by the first of
// its aliases that no column of the table shadows; a table without rowid
// (or with every alias taken) is read in SQLite's own order.
Statement select_all(SqliteDb& db, const std::string& table) {
    const std::string from = "SELECT * FROM " + quote_identifier(table);
    Statement plain = db.prepare(from);
    plain.set_context("table " + quoted(table));
    for (const char* alias : {"rowid", "_rowid_", "oid"}) {
        if (plain.find_column(alias) >= 0) continue;
        Statement ordered = db.try_prepare(from + " ORDER BY " + alias);
        if (!ordered.valid()) break;
        ordered.set_context("table " + quoted(table));
        return ordered;
    }
    return plain;
}

// A catalog field: absent when the catalog has no such column or the cell
// is NULL.
class Field {
public:
    Field(const Statement& rows, std::string_view column, const std::string& catalog)
        : rows_(rows),
          index_(rows.find_column(column)),
          column_(column),
          label_(catalog + "." + column_) {}

    bool present() const { return index_ >= 0 && !rows_.is_null(index_); }
    bool exists() const { return index_ >= 0; }
    const std::string& column() const { return column_; }

    std::optional<std::string> text() const {
        if (!present()) return std::nullopt;
        return rows_.text(index_);
    }

    // A 32-bit integer written as INTEGER, an integral REAL, or decimal text.
    std::optional<int> integer() const {
        if (!present()) return std::nullopt;
        long long value = 0;
        bool ok = false;
        if (rows_.is_integer(index_)) {
            value = rows_.integer(index_);
            ok = true;
        } else if (rows_.is_real(index_)) {
            const double real = rows_.real(index_);
            ok = std::trunc(real) == real && std::fabs(real) < 4294967296.0;
            if (ok) value = static_cast<long long>(real);
        } else {
            const std::string text = rows_.text(index_);
            char* end = nullptr;
            errno = 0;
            value = std::strtoll(text.c_str(), &end, 10);
            ok = !text.empty() && errno == 0 && end == text.c_str() + text.size();
        }
        if (!ok || value < INT32_MIN || value > INT32_MAX)
            throw InputError(label_ + " is not a 32-bit integer: " + quoted(rows_.text(index_)));
        return static_cast<int>(value);
    }

    // A number written as INTEGER, REAL or decimal text.
    std::optional<double> real() const {
        if (!present()) return std::nullopt;
        if (rows_.is_integer(index_) || rows_.is_real(index_)) return rows_.real(index_);
        const std::string text = rows_.text(index_);
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        if (text.empty() || end != text.c_str() + text.size())
            throw InputError(label_ + " is not a number: " + quoted(text));
        return value;
    }

private:
    const Statement& rows_;
    int index_;
    std::string column_;
    std::string label_;
};

// A table of the configuration before its rows are read.
struct PendingTable {
    std::string name;
    std::vector<ColumnDef> columns;
    std::vector<std::string> declared_types;
    std::map<std::string, std::size_t> column_index;  // first column of each name
};

PendingTable describe_table(SqliteDb& db, const std::string& name) {
    PendingTable table;
    table.name = name;
    Statement columns = db.prepare("SELECT * FROM " + quote_identifier(name));
    for (int i = 0; i < columns.column_count(); ++i) {
        ColumnDef def;
        def.name = columns.column_name(i);
        table.declared_types.push_back(columns.declared_type(i));
        def.type = type_from_declared(table.declared_types.back());
        table.column_index.emplace(def.name, table.columns.size());
        table.columns.push_back(std::move(def));
    }
    return table;
}

// Applies the rows of kq_columns, in rowid order; a later row describing
// the same column replaces the earlier one whole.
void apply_column_metadata(SqliteDb& db, std::vector<PendingTable>& tables, Configuration& config) {
    const std::string catalog = "kq_columns";
    Statement rows = select_all(db, catalog);
    const Field table_name(rows, "table_name", catalog);
    const Field column_name(rows, "column_name", catalog);
    for (const Field* required : {&table_name, &column_name})
        if (!required->exists())
            throw InputError(catalog + " has no column " + quoted(required->column()));
    const Field type(rows, "type", catalog), format(rows, "us_format", catalog),
        units(rows, "units", catalog), units_us(rows, "units_us", catalog),
        date_time(rows, "is_date_time", catalog), label(rows, "label_col", catalog),
        selection(rows, "component_sel", catalog), internal(rows, "internal_name", catalog);

    std::map<std::string, PendingTable*> by_name;
    for (PendingTable& table : tables) by_name.emplace(table.name, &table);

    while (rows.step()) {
        const std::optional<std::string> t = table_name.text();
        const std::optional<std::string> c = column_name.text();
        if (!t || !c) throw InputError(catalog + " has a row without table_name or column_name");
        const auto table_entry = by_name.find(*t);
        if (table_entry == by_name.end())
            throw InputError(catalog + " names unknown table " + quoted(*t));
        PendingTable& table = *table_entry->second;
        const auto column_entry = table.column_index.find(*c);
        if (column_entry == table.column_index.end())
            throw InputError(catalog + " names unknown column " + quoted(*t + "." + *c));
        const std::size_t index = column_entry->second;

        ColumnDef def;
        def.name = *c;
        def.type = type.integer().value_or(type_from_declared(table.declared_types[index]));
        def.us_format = format.text().value_or("");
        def.units = units.text().value_or("");
        def.units_us = units_us.text().value_or("");
        def.is_date_time = date_time.integer().value_or(0);
        def.label_col = label.text().value_or("");
        def.component_sel = selection.text().value_or("");
        def.internal_name = internal.text().value_or(*c);
        table.columns[index] = std::move(def);
        Configuration::Described& fields = config.described[*t][*c];
        fields.clear();
        for (const Field* field :
             {&type, &format, &units, &units_us, &date_time, &label, &selection, &internal})
            fields.push_back(field->text());
    }
}

void load_units(SqliteDb& db, Configuration& config) {
    const std::string catalog = "kq_units";
    Statement rows = select_all(db, catalog);
    const Field name(rows, "name", catalog), id(rows, "id", catalog),
        display(rows, "display", catalog), quantity(rows, "quantity", catalog),
        scale(rows, "scale", catalog), offset(rows, "offset", catalog);
    while (rows.step()) {
        kqhost::UnitDef unit;
        const std::optional<std::string> unit_name = name.text();
        if (!unit_name) throw InputError(catalog + " has a row without name");
        const std::optional<int> unit_id = id.integer();
        if (!unit_id) throw InputError(catalog + ": unit " + quoted(*unit_name) + " has no id");
        unit.name = *unit_name;
        unit.id = *unit_id;
        unit.display = display.text().value_or(unit.name);
        unit.quantity = quantity.text().value_or("");
        unit.scale = scale.real().value_or(1.0);
        unit.offset = offset.real().value_or(0.0);
        kqhost::define_unit(unit);
        config.units[unit.name] = std::move(unit);
    }
}

void load_sys_vars(SqliteDb& db, Configuration& config) {
    const std::string catalog = "kq_sysvars";
    Statement rows = select_all(db, catalog);
    const Field name(rows, "name", catalog), display(rows, "display_name", catalog);
    while (rows.step()) {
        const std::optional<std::string> var = name.text();
        if (!var) throw InputError(catalog + " has a row without name");
        const std::string shown = display.text().value_or(*var);
        config.master.data().define_sys_var(*var, shown);
        config.sys_vars[*var] = shown;
    }
}

}  // namespace

const char* const kColumnFields[8] = {"type",          "us_format",    "units",
                                      "units_us",      "is_date_time", "label_col",
                                      "component_sel", "internal_name"};

void use_units(const Configuration& config) {
    kqhost::reset_units();
    for (const auto& entry : config.units) kqhost::define_unit(entry.second);
}

bool is_configuration_table(std::string_view name) {
    return !has_prefix(name, "kq_") && !has_prefix(name, "sqlite_");
}

int type_from_declared(std::string_view declared) {
    std::string upper(declared);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const auto holds = [&](const char* word) { return upper.find(word) != std::string::npos; };
    if (holds("INT")) return 9;
    if (holds("REAL") || holds("DOUB")) return 13;
    if (holds("FLOA")) return 12;
    return 15;
}

void load_configuration(SqliteDb& db, Configuration& config) {
    const std::vector<std::string> names = db.table_names();
    const auto has_table = [&](const std::string& name) {
        return std::binary_search(names.begin(), names.end(), name);
    };

    std::vector<PendingTable> pending;
    for (const std::string& name : names)
        if (is_configuration_table(name)) pending.push_back(describe_table(db, name));
    // Metadata first: the type codes decide how the values are stored.
    if (has_table("kq_columns")) apply_column_metadata(db, pending, config);

    // Values stay in the database until a column is read.
    for (PendingTable& table : pending) {
        auto data = std::make_shared<TableData>(table.name);
        std::vector<std::string> names;
        std::vector<int> positions;
        for (const ColumnDef& def : table.columns) {
            positions.push_back(data->add_column(def));
            names.push_back(def.name);
        }
        config.sources.emplace(table.name, attach_loader(*data, db, table.name, std::move(names),
                                                         std::move(positions), config.load_error));
        config.master.data().add_table(std::make_shared<kqhost::LiveTable>(data));
        config.tables[table.name] = std::move(data);
        config.declared_types[table.name] = std::move(table.declared_types);
    }

    if (has_table("kq_units")) load_units(db, config);
    if (has_table("kq_sysvars")) load_sys_vars(db, config);
    if (has_table("kq_lint_ignore")) config.lint_ignore = read_lint_ignore(db);
}

OldView load_old_view(SqliteDb& old_db, const std::vector<std::string>& old_tables,
                      const TableData& live, const std::shared_ptr<std::string>& error) {
    OldView view;
    view.data = std::make_shared<TableData>(live.name());
    for (int c = 0; c < live.column_count(); ++c) view.data->add_column(*live.column(c));
    if (!std::binary_search(old_tables.begin(), old_tables.end(), live.name())) return view;
    const PendingTable old = describe_table(old_db, live.name());
    std::vector<std::string> names;
    for (const ColumnDef& def : old.columns) names.push_back(def.name);
    std::vector<int> positions;
    for (int c = 0; c < live.column_count(); ++c)
        positions.push_back(static_cast<std::size_t>(c) < names.size() ? c : -1);
    view.source = attach_loader(*view.data, old_db, live.name(), std::move(names),
                                std::move(positions), error);
    return view;
}

}  // namespace kqfmt
