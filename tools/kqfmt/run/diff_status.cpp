// Comparing the two views of a formatted table.
#include "run/diff_status.h"

#include <algorithm>

namespace kqfmt {
namespace {

std::string counted(long count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

bool inside(const std::optional<CellText>& cell, int row_count) {
    return cell && cell->row >= 0 && cell->row < row_count;
}

}  // namespace

const char* status_name(CellStatus status) {
    switch (status) {
        case CellStatus::changed: return "changed";
        case CellStatus::added: return "added";
        case CellStatus::removed: return "removed";
        case CellStatus::display: return "display";
        case CellStatus::same: break;
    }
    return "same";
}

std::size_t line_count(const TableResult& table) {
    return std::max(table.old_rows.size(), table.new_rows.size());
}

LinePair line_pair(const TableResult& table, std::size_t column, std::size_t line) {
    LinePair pair;
    if (line < table.old_rows.size())
        pair.old_cell = CellText{table.old_rows[line], table.old_columns[column][line]};
    if (line < table.new_rows.size())
        pair.new_cell = CellText{table.new_rows[line], table.new_columns[column][line]};
    if (column < table.before.size() && line < table.before[column].size())
        pair.before_cell = CellText{line < table.old_rows.size() ? table.old_rows[line] : -1,
                                    table.before[column][line]};
    pair.in_old = inside(pair.old_cell, table.old_row_count);
    pair.in_new = inside(pair.new_cell, table.new_row_count);
    return pair;
}

CellStatus cell_status(const LinePair& pair) {
    if (pair.in_old != pair.in_new) return pair.in_new ? CellStatus::added : CellStatus::removed;
    if (pair.old_cell && pair.new_cell && pair.old_cell->value != pair.new_cell->value)
        return CellStatus::changed;
    if (pair.in_old && pair.before_cell && pair.new_cell &&
        pair.before_cell->value != pair.new_cell->value)
        return CellStatus::display;
    return CellStatus::same;
}

std::vector<bool> alike_columns(const TableResult& table) {
    std::vector<bool> alike(table.column_names.size(), false);
    if (table.old_row_count != table.new_row_count || table.old_rows != table.new_rows)
        return alike;
    for (std::size_t c = 0; c < alike.size(); ++c)
        alike[c] = c < table.old_columns.size() && c < table.new_columns.size() &&
                   table.old_columns[c].shares(table.new_columns[c]) &&
                   table.new_columns[c].size() == table.new_rows.size() &&
                   (c >= table.before.size() || table.before[c].empty());
    return alike;
}

CellStatus line_status(const TableResult& table, std::size_t line) {
    CellStatus worst = CellStatus::same;
    for (std::size_t c = 0; c < table.column_names.size(); ++c) {
        const CellStatus status = cell_status(line_pair(table, c, line));
        if (status == CellStatus::added || status == CellStatus::removed) return status;
        if (status == CellStatus::changed ||
            (status == CellStatus::display && worst == CellStatus::same))
            worst = status;
    }
    return worst;
}

DiffSummary& DiffSummary::operator+=(const DiffSummary& other) {
    cells_changed += other.cells_changed;
    rows_changed += other.rows_changed;
    rows_only_old += other.rows_only_old;
    rows_only_new += other.rows_only_new;
    cells_display_changed += other.cells_display_changed;
    definitions_changed += other.definitions_changed;
    tables_removed += other.tables_removed;
    tables_added += other.tables_added;
    catalogs_changed += other.catalogs_changed;
    return *this;
}

DiffSummary summarise(const TableResult& table) {
    DiffSummary summary;
    summary.definitions_changed = static_cast<long>(table.definitions.size());
    summary.tables_removed = table.presence == TablePresence::only_old ? 1 : 0;
    summary.tables_added = table.presence == TablePresence::only_new ? 1 : 0;
    const std::size_t lines = line_count(table);
    for (std::size_t line = 0; line < lines; ++line) {
        long changed = 0;
        CellStatus row = CellStatus::same;
        for (std::size_t c = 0; c < table.column_names.size(); ++c) {
            const CellStatus status = cell_status(line_pair(table, c, line));
            if (status == CellStatus::changed) ++changed;
            if (status == CellStatus::display) ++summary.cells_display_changed;
            if (status == CellStatus::added || status == CellStatus::removed) row = status;
        }
        if (row == CellStatus::added) {
            ++summary.rows_only_new;
        } else if (row == CellStatus::removed) {
            ++summary.rows_only_old;
        } else if (changed > 0) {
            summary.cells_changed += changed;
            ++summary.rows_changed;
        }
    }
    return summary;
}

namespace {

// `table` cut down to `kept_lines` (in order) and the columns `kept_columns`
// says; the old database's own text goes along with its column.
TableResult cut_lines(const TableResult& table, const std::vector<std::size_t>& kept_lines,
                      const std::vector<bool>& kept_columns) {
    TableResult cut;
    cut.table = table.table;
    cut.old_row_count = table.old_row_count;
    cut.new_row_count = table.new_row_count;
    cut.error = table.error;
    cut.definitions = table.definitions;
    cut.presence = table.presence;
    // Lines only one view has come after those both have, so keeping the
    // order keeps the two views paired line by line.
    const auto keep_rows = [&kept_lines](const std::vector<int32_t>& rows) {
        std::vector<int32_t> kept;
        for (std::size_t line : kept_lines)
            if (line < rows.size()) kept.push_back(rows[line]);
        return kept;
    };
    const auto keep_text = [&kept_lines](const ColumnText& text) {
        ColumnText kept(text.column());
        for (std::size_t line : kept_lines)
            if (line < text.size()) kept.push_back(text[line]);
        return kept;
    };
    for (std::size_t c = 0; c < table.column_names.size(); ++c) {
        if (!kept_columns[c]) continue;
        cut.column_names.push_back(table.column_names[c]);
        cut.old_columns.push_back(keep_text(table.old_columns[c]));
        cut.new_columns.push_back(keep_text(table.new_columns[c]));
        cut.before.push_back(c < table.before.size() ? keep_text(table.before[c]) : ColumnText());
    }
    // A table without columns has no lines.
    if (!cut.column_names.empty()) {
        cut.old_rows = keep_rows(table.old_rows);
        cut.new_rows = keep_rows(table.new_rows);
    }
    return cut;
}

}  // namespace

TableResult only_changed(const TableResult& table, bool columns) {
    const std::size_t lines = line_count(table);
    std::vector<std::size_t> kept_lines;
    std::vector<bool> column_differs(table.column_names.size(), !columns);
    for (std::size_t line = 0; line < lines; ++line) {
        bool differs = false;
        for (std::size_t c = 0; c < table.column_names.size(); ++c) {
            if (cell_status(line_pair(table, c, line)) == CellStatus::same) continue;
            differs = true;
            column_differs[c] = true;
        }
        if (differs) kept_lines.push_back(line);
    }
    return cut_lines(table, kept_lines, column_differs);
}

std::optional<TableResult> with_context(const TableResult& table, std::size_t context) {
    const std::size_t lines = line_count(table);
    std::vector<std::size_t> kept_lines;
    std::vector<long> skipped(1, 0);
    std::size_t keep_until = 0;  // lines before this one are kept as context
    for (std::size_t line = 0; line < lines; ++line) {
        if (line_status(table, line) != CellStatus::same) {
            // Context before this line: up to `context` lines not yet kept.
            const std::size_t from = line - std::min<std::size_t>(context, line);
            const std::size_t start =
                kept_lines.empty() ? from : std::max(from, kept_lines.back() + 1);
            skipped.back() -= static_cast<long>(line - start);
            for (std::size_t at = start; at <= line; ++at) {
                kept_lines.push_back(at);
                skipped.push_back(0);
            }
            keep_until = line + context + 1;
        } else if (line < keep_until) {
            kept_lines.push_back(line);
            skipped.push_back(0);
        } else {
            ++skipped.back();
        }
    }
    if (kept_lines.size() == lines) return std::nullopt;
    TableResult cut =
        cut_lines(table, kept_lines, std::vector<bool>(table.column_names.size(), true));
    cut.skipped = std::move(skipped);
    return cut;
}

std::string summary_line(const std::string& name, const DiffSummary& summary, bool total) {
    std::string line = name + "  ";
    if (!total && summary.tables_removed > 0) line += "removed, ";
    if (!total && summary.tables_added > 0) line += "added, ";
    line += counted(summary.cells_changed, "cell") + " changed in " +
            counted(summary.rows_changed, "row") + ", " + counted(summary.rows_only_old, "row") +
            " only in old, " + counted(summary.rows_only_new, "row") + " only in new";
    const auto add = [&line](long count, const char* noun, const char* what) {
        if (count > 0) line += ", " + counted(count, noun) + " " + what;
    };
    add(summary.cells_display_changed, "cell", "shown differently");
    add(summary.definitions_changed, "definition", "changed");
    if (total) {
        add(summary.tables_removed, "table", "removed");
        add(summary.tables_added, "table", "added");
        add(summary.catalogs_changed, "catalog field", "changed");
    }
    return line;
}

}  // namespace kqfmt
