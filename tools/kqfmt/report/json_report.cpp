// Writing the JSON report table by table, in the layout of to_json_text:
// objects and arrays that hold only scalars on one line, others with one
// member per line, indented two spaces per level.
#include "report/json_report.h"

#include <charconv>

#include "run/diff_status.h"
#include "text/json_text.h"

namespace kqfmt {
namespace {

// A new line indented for nesting level `depth`.
void newline(Output& out, int depth) {
    out << '\n' << std::string(static_cast<std::size_t>(depth) * 2, ' ');
}

void string_value(Output& out, std::string_view text) {
    out.append_with([text](std::string& gathered) { append_json_string(gathered, text); });
}

// "key": (the key is plain ASCII)
void key(Output& out, const char* name) { out << '"' << name << "\": "; }

// The cells of one view at nesting level `depth`; for diff (`table` given)
// each with the status of its line in requested column `column`.
void cells_json(Output& out, const ColumnText& cells, const std::vector<int32_t>& rows, int depth,
                const TableResult* table, std::size_t column) {
    if (cells.empty()) {
        out << "[]";
        return;
    }
    out << '[';
    // A cell's line is put together straight in the output's buffer: there
    // are as many as there are cells, and most of them are short.
    const std::string lead =
        "\n" + std::string(static_cast<std::size_t>(depth + 1) * 2, ' ') + "{\"row\": ";
    constexpr std::string_view kValue = ", \"value\": ";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        out.append_with([&](std::string& line) {
            if (i > 0) line += ',';
            line += lead;
            char digits[16];
            line.append(digits, std::to_chars(digits, digits + sizeof digits, rows[i]).ptr);
            line.append(kValue.data(), kValue.size());
            append_json_string(line, cells[i]);
            if (table != nullptr) {
                line += ", \"status\": \"";
                line += status_name(cell_status(line_pair(*table, column, i)));
                line += '"';
            }
            line += '}';
        });
    }
    newline(out, depth);
    out << ']';
}

// The old database's own text of a column: its cells of rows it has (the
// old view's rows: both read the same table of the old database).
void before_json(Output& out, const ColumnText& cells, const std::vector<int32_t>& rows,
                 int row_count, int depth) {
    out << '[';
    bool any = false;
    for (std::size_t i = 0; i < cells.size() && i < rows.size(); ++i) {
        if (rows[i] < 0 || rows[i] >= row_count) continue;
        if (any) out << ',';
        any = true;
        newline(out, depth + 1);
        out << "{\"row\": " << static_cast<long long>(rows[i]) << ", \"value\": ";
        string_value(out, cells[i]);
        out << '}';
    }
    if (any) newline(out, depth);
    out << ']';
}

void optional_text(Output& out, const std::optional<std::string>& text) {
    if (text)
        string_value(out, *text);
    else
        out << "null";
}

// Changes at nesting level `depth`, each an object on one line.
void changes_json(Output& out, const std::vector<FieldChange>& changes, int depth, bool catalogs) {
    if (changes.empty()) {
        out << "[]";
        return;
    }
    out << '[';
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (i > 0) out << ',';
        newline(out, depth + 1);
        out << '{';
        if (catalogs) {
            key(out, "table");
            string_value(out, changes[i].where);
            out << ", ";
            key(out, "name");
        } else {
            key(out, "column");
        }
        string_value(out, changes[i].name);
        out << ", ";
        key(out, "field");
        string_value(out, changes[i].field);
        out << ", ";
        key(out, "old");
        optional_text(out, changes[i].old_text);
        out << ", ";
        key(out, "new");
        optional_text(out, changes[i].new_text);
        out << '}';
    }
    newline(out, depth);
    out << ']';
}

void record_json(Output& out, const kqhost::LogRecord& record) {
    out << "{\"kind\": " << (record.sys ? "\"sys\"" : "\"debug\"")
        << ", \"severity\": " << static_cast<long long>(record.severity)
        << ", \"number\": " << static_cast<long long>(record.number) << ", \"file\": ";
    string_value(out, record.file);
    out << ", \"line\": " << std::to_string(record.line) << ", \"message\": ";
    string_value(out, record.message);
    out << '}';
}

}  // namespace

void json_report_start(Output& out) { out << "{\n  \"tables\": ["; }

void json_report_table(Output& out, const TableResult& table, bool first, bool diff) {
    const TableResult* status = diff ? &table : nullptr;
    if (!first) out << ',';
    newline(out, 2);
    out << '{';
    newline(out, 3);
    key(out, "table");
    string_value(out, table.table);
    out << ',';
    if (diff && table.presence != TablePresence::both) {
        newline(out, 3);
        key(out, "status");
        out << (table.presence == TablePresence::only_old ? "\"removed\"," : "\"added\",");
    }
    newline(out, 3);
    key(out, "columns");
    if (table.column_names.empty()) {
        out << "[]";
    } else {
        out << '[';
        for (std::size_t i = 0; i < table.column_names.size(); ++i) {
            if (i > 0) out << ',';
            newline(out, 4);
            out << '{';
            newline(out, 5);
            key(out, "column");
            out << static_cast<long long>(table.new_columns[i].column()) << ',';
            newline(out, 5);
            key(out, "name");
            string_value(out, table.column_names[i]);
            out << ',';
            newline(out, 5);
            key(out, "old");
            cells_json(out, table.old_columns[i], table.old_rows, 5, status, i);
            out << ',';
            newline(out, 5);
            key(out, "new");
            cells_json(out, table.new_columns[i], table.new_rows, 5, status, i);
            // A removed table's cells are all the old database's own text.
            const ColumnText* before =
                table.presence == TablePresence::only_old             ? &table.old_columns[i]
                : i < table.before.size() && !table.before[i].empty() ? &table.before[i]
                                                                      : nullptr;
            if (diff && before) {
                out << ',';
                newline(out, 5);
                key(out, "before");
                before_json(out, *before, table.old_rows, table.old_row_count, 5);
            }
            newline(out, 4);
            out << '}';
        }
        newline(out, 3);
        out << ']';
    }
    if (diff) {
        const DiffSummary summary = summarise(table);
        out << ',';
        newline(out, 3);
        key(out, "summary");
        out << "{\"cells_changed\": " << static_cast<long long>(summary.cells_changed)
            << ", \"rows_changed\": " << static_cast<long long>(summary.rows_changed)
            << ", \"rows_only_old\": " << static_cast<long long>(summary.rows_only_old)
            << ", \"rows_only_new\": " << static_cast<long long>(summary.rows_only_new)
            << ", \"cells_display_changed\": "
            << static_cast<long long>(summary.cells_display_changed)
            << ", \"definitions_changed\": " << static_cast<long long>(summary.definitions_changed)
            << '}';
        out << ',';
        newline(out, 3);
        key(out, "definitions");
        changes_json(out, table.definitions, 3, false);
    }
    if (table.error) {
        out << ',';
        newline(out, 3);
        key(out, "error");
        string_value(out, *table.error);
    }
    newline(out, 2);
    out << '}';
}

void json_report_end(Output& out, const std::vector<kqhost::LogRecord>& log, bool any_table,
                     const std::vector<FieldChange>* catalogs) {
    if (any_table) newline(out, 1);
    out << "],";
    if (catalogs) {
        newline(out, 1);
        key(out, "catalogs");
        changes_json(out, *catalogs, 1, true);
        out << ',';
    }
    newline(out, 1);
    key(out, "log");
    if (log.empty()) {
        out << "[]";
    } else {
        out << '[';
        for (std::size_t i = 0; i < log.size(); ++i) {
            if (i > 0) out << ',';
            newline(out, 2);
            record_json(out, log[i]);
        }
        newline(out, 1);
        out << ']';
    }
    out << "\n}\n";
}

}  // namespace kqfmt
