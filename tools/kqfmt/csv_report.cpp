// Writing CSV and TSV.
#include "csv_report.h"

#include "diff_status.h"
#include "utf8_text.h"

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

class RecordWriter {
public:
    RecordWriter(std::ostream& out, Delimited kind) : out_(out), kind_(kind) {}

    void field(std::string_view value) {
        if (!first_) out_ << (kind_ == Delimited::csv ? ',' : '\t');
        first_ = false;
        out_ << (kind_ == Delimited::csv ? csv_field(value) : tsv_field(value));
    }
    void end() {
        out_ << (kind_ == Delimited::csv ? "\r\n" : "\n");
        first_ = true;
    }

private:
    std::ostream& out_;
    Delimited kind_;
    bool first_ = true;
};

}  // namespace

void write_delimited(std::ostream& out, std::ostream& err, const std::vector<TableResult>& tables,
                     Delimited kind, bool diff) {
    RecordWriter record(out, kind);
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const TableResult& table = tables[t];
        if (t > 0) record.end();
        record.field("table");
        record.field("row");
        if (diff) record.field("status");
        for (const std::string& name : table.column_names) {
            record.field(name);
            if (diff) record.field(name + " (old)");
        }
        record.end();

        const std::size_t lines = line_count(table);
        for (std::size_t line = 0; line < lines; ++line) {
            const bool has_new =
                !table.new_columns.empty() && line < table.new_columns[0].cells.size();
            record.field(table.table);
            record.field(std::to_string(has_new ? table.new_columns[0].cells[line].row
                                                : table.old_columns[0].cells[line].row));
            if (diff) record.field(status_name(line_status(table, line)));
            for (std::size_t c = 0; c < table.column_names.size(); ++c) {
                const LinePair pair = line_pair(table, c, line);
                const bool only_old = pair.in_old && !pair.in_new;
                record.field(pair.new_cell && !only_old ? pair.new_cell->value : std::string());
                if (diff) {
                    const bool only_new = pair.in_new && !pair.in_old;
                    record.field(pair.old_cell && !only_new ? pair.old_cell->value : std::string());
                }
            }
            record.end();
        }
        if (table.error)
            err << "kqfmt: table " << printable_text(table.table) << ": "
                << printable_text(*table.error) << '\n';
    }
}

}  // namespace kqfmt
