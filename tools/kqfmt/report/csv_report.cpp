// Writing CSV and TSV.
#include "report/csv_report.h"

#include <charconv>

#include "run/diff_status.h"
#include "text/utf8_text.h"

namespace kqfmt {

std::string csv_field(std::string_view value) {
    if (value.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(value);
    std::string field = "\"";
    for (char c : value) {
        if (c == '"') field += '"';
        field += c;
    }
    field += '"';
    return field;
}

std::string tsv_field(std::string_view value) {
    std::string field;
    field.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '\\': field += "\\\\"; break;
            case '\t': field += "\\t"; break;
            case '\n': field += "\\n"; break;
            case '\r': field += "\\r"; break;
            default: field += c;
        }
    }
    return field;
}

namespace {

// Fields that need no quoting or escaping are written as they are, without
// a copy.
bool plain_csv(std::string_view value) {
    return value.find_first_of(",\"\r\n") == std::string_view::npos;
}
bool plain_tsv(std::string_view value) {
    return value.find_first_of("\\\t\n\r") == std::string_view::npos;
}

class RecordWriter {
public:
    RecordWriter(Output& out, Delimited kind) : out_(out), kind_(kind) {}

    void field(std::string_view value) {
        if (!first_) out_ << (kind_ == Delimited::csv ? ',' : '\t');
        first_ = false;
        if (kind_ == Delimited::csv ? plain_csv(value) : plain_tsv(value))
            out_ << value;
        else
            out_ << (kind_ == Delimited::csv ? csv_field(value) : tsv_field(value));
    }
    void end() {
        out_ << (kind_ == Delimited::csv ? "\r\n" : "\n");
        first_ = true;
    }

private:
    Output& out_;
    Delimited kind_;
    bool first_ = true;
};

}  // namespace

void write_delimited_changes(Output& out, const std::vector<FieldChange>& changes, Delimited kind,
                             bool catalogs) {
    RecordWriter record(out, kind);
    record.field(catalogs ? "catalog" : "table");
    record.field(catalogs ? "name" : "column");
    for (const char* name : {"field", "old", "new"}) record.field(name);
    record.end();
    for (const FieldChange& change : changes) {
        record.field(change.where);
        record.field(change.name);
        record.field(change.field);
        record.field(change.old_text ? *change.old_text : std::string());
        record.field(change.new_text ? *change.new_text : std::string());
        record.end();
    }
}

void write_delimited_table(Output& out, std::ostream& err, const TableResult& table, Delimited kind,
                           bool diff) {
    if (diff && !table.definitions.empty()) {
        write_delimited_changes(out, table.definitions, kind, false);
        out << (kind == Delimited::csv ? "\r\n" : "\n");
    }
    RecordWriter record(out, kind);
    record.field("table");
    record.field("row");
    if (diff) record.field("status");
    const auto has_before = [&table](std::size_t c) {
        return c < table.before.size() && !table.before[c].empty();
    };
    for (std::size_t c = 0; c < table.column_names.size(); ++c) {
        const std::string& name = table.column_names[c];
        record.field(name);
        if (diff) record.field(name + " (old)");
        if (diff && has_before(c)) record.field(name + " (before)");
    }
    record.end();

    char digits[16];
    const std::size_t lines = line_count(table);
    for (std::size_t line = 0; line < lines; ++line) {
        const int32_t row =
            line < table.new_rows.size() ? table.new_rows[line] : table.old_rows[line];
        record.field(table.table);
        const auto end = std::to_chars(digits, digits + sizeof digits, row).ptr;
        record.field(std::string_view(digits, static_cast<std::size_t>(end - digits)));
        if (diff) record.field(status_name(line_status(table, line)));
        for (std::size_t c = 0; c < table.column_names.size(); ++c) {
            const LinePair pair = line_pair(table, c, line);
            const bool only_old = pair.in_old && !pair.in_new;
            record.field(pair.new_cell && !only_old ? std::string_view(pair.new_cell->value)
                                                    : std::string_view());
            if (diff) {
                const bool only_new = pair.in_new && !pair.in_old;
                record.field(pair.old_cell && !only_new ? std::string_view(pair.old_cell->value)
                                                        : std::string_view());
                if (has_before(c))
                    record.field(pair.before_cell && pair.in_old
                                     ? std::string_view(pair.before_cell->value)
                                     : std::string_view());
            }
        }
        record.end();
    }
    if (table.error)
        err << "kqfmt: table " << printable_text(table.table) << ": "
            << printable_text(*table.error) << '\n';
}

}  // namespace kqfmt
