// Writing Markdown tables.
#include "report/markdown_report.h"

#include "run/config_changes.h"
#include "run/diff_status.h"
#include "text/utf8_text.h"

namespace kqfmt {

std::string markdown_cell(std::string_view value) {
    std::string cell;
    for (char c : printable_text(value)) {
        if (c == '|') cell += '\\';
        cell += c;
    }
    return cell;
}

namespace {

std::string plural(int count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string cell_text(const LinePair& pair) {
    switch (cell_status(pair)) {
        case CellStatus::added: return "+ " + markdown_cell(pair.new_cell->value);
        case CellStatus::removed: return "- " + markdown_cell(pair.old_cell->value);
        case CellStatus::changed:
            return markdown_cell(pair.old_cell->value) + " \xE2\x86\x92 " +
                   markdown_cell(pair.new_cell->value);
        case CellStatus::display:
            return markdown_cell(pair.before_cell->value) + " \xE2\x87\x92 " +
                   markdown_cell(pair.new_cell->value);
        case CellStatus::same: break;
    }
    return markdown_cell(pair.new_cell ? pair.new_cell->value : pair.old_cell->value);
}

void change_list(Output& out, const std::vector<FieldChange>& changes, bool catalogs) {
    for (const FieldChange& change : changes)
        out << "- " << markdown_cell(change_text(change, catalogs)) << '\n';
    out << '\n';
}

}  // namespace

void write_markdown_catalogs(Output& out, const std::vector<FieldChange>& changes) {
    out << "## Catalogs\n\n" << plural(static_cast<int>(changes.size()), "field") << " changed\n\n";
    change_list(out, changes, true);
}

void write_markdown_table(Output& out, const TableResult& table) {
    out << "## " << markdown_cell(table.table) << "\n\n";
    if (table.presence == TablePresence::only_old)
        out << "removed, " << plural(table.old_row_count, "row") << "\n\n";
    else if (table.presence == TablePresence::only_new)
        out << "added, " << plural(table.new_row_count, "row") << "\n\n";
    else if (table.old_row_count == table.new_row_count)
        out << plural(table.new_row_count, "row") << "\n\n";
    else
        out << "old " << plural(table.old_row_count, "row") << ", new "
            << plural(table.new_row_count, "row") << "\n\n";
    if (!table.definitions.empty()) change_list(out, table.definitions, false);
    out << "| row |";
    for (const std::string& name : table.column_names) out << ' ' << markdown_cell(name) << " |";
    out << "\n|---:|";
    for (std::size_t c = 0; c < table.column_names.size(); ++c) out << "---|";
    out << '\n';
    const std::size_t lines = line_count(table);
    for (std::size_t line = 0; line < lines; ++line) {
        const bool has_new = line < table.new_rows.size();
        out << "| " << static_cast<long long>(has_new ? table.new_rows[line] : table.old_rows[line])
            << " |";
        for (std::size_t c = 0; c < table.column_names.size(); ++c)
            out << ' ' << cell_text(line_pair(table, c, line)) << " |";
        out << '\n';
    }
    if (table.error) out << "\n> error: " << markdown_cell(*table.error) << '\n';
}

}  // namespace kqfmt
