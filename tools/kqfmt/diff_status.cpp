// Comparing the two views of a formatted table.
#include "diff_status.h"

#include <algorithm>

namespace kqfmt {
namespace {

std::string counted(long count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

bool inside(const _kq_fomatted_cell_data_struct* cell, int row_count) {
    return cell && cell->row >= 0 && cell->row < row_count;
}

}  // namespace

const char* status_name(CellStatus status) {
    switch (status) {
        case CellStatus::changed: return "changed";
        case CellStatus::added: return "added";
        case CellStatus::removed: return "removed";
        case CellStatus::same: break;
    }
    return "same";
}

std::size_t line_count(const TableResult& table) {
    const std::size_t old_count = table.old_columns.empty() ? 0 : table.old_columns[0].cells.size();
    const std::size_t new_count = table.new_columns.empty() ? 0 : table.new_columns[0].cells.size();
    return std::max(old_count, new_count);
}

LinePair line_pair(const TableResult& table, std::size_t column, std::size_t line) {
    LinePair pair;
    const KQ_CELL_LIST& old_cells = table.old_columns[column].cells;
    const KQ_CELL_LIST& new_cells = table.new_columns[column].cells;
    if (line < old_cells.size()) pair.old_cell = &old_cells[line];
    if (line < new_cells.size()) pair.new_cell = &new_cells[line];
    pair.in_old = inside(pair.old_cell, table.old_row_count);
    pair.in_new = inside(pair.new_cell, table.new_row_count);
    return pair;
}

CellStatus cell_status(const LinePair& pair) {
    if (pair.in_old != pair.in_new) return pair.in_new ? CellStatus::added : CellStatus::removed;
    if (pair.old_cell && pair.new_cell && pair.old_cell->value != pair.new_cell->value)
        return CellStatus::changed;
    return CellStatus::same;
}

CellStatus line_status(const TableResult& table, std::size_t line) {
    CellStatus worst = CellStatus::same;
    for (std::size_t c = 0; c < table.column_names.size(); ++c) {
        const CellStatus status = cell_status(line_pair(table, c, line));
        if (status == CellStatus::added || status == CellStatus::removed) return status;
        if (status == CellStatus::changed) worst = status;
    }
    return worst;
}

DiffSummary& DiffSummary::operator+=(const DiffSummary& other) {
    cells_changed += other.cells_changed;
    rows_changed += other.rows_changed;
    rows_only_old += other.rows_only_old;
    rows_only_new += other.rows_only_new;
    return *this;
}

DiffSummary summarise(const TableResult& table) {
    DiffSummary summary;
    const std::size_t lines = line_count(table);
    for (std::size_t line = 0; line < lines; ++line) {
        long changed = 0;
        CellStatus row = CellStatus::same;
        for (std::size_t c = 0; c < table.column_names.size(); ++c) {
            const CellStatus status = cell_status(line_pair(table, c, line));
            if (status == CellStatus::changed) ++changed;
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

TableResult only_changed(const TableResult& table, bool columns) {
    const std::size_t lines = line_count(table);
    std::vector<std::size_t> kept_lines;
    std::vector<bool> column_differs(table.column_names.size(), false);
    for (std::size_t line = 0; line < lines; ++line) {
        bool differs = false;
        for (std::size_t c = 0; c < table.column_names.size(); ++c) {
            if (cell_status(line_pair(table, c, line)) == CellStatus::same) continue;
            differs = true;
            column_differs[c] = true;
        }
        if (differs) kept_lines.push_back(line);
    }

    TableResult cut;
    cut.table = table.table;
    cut.old_row_count = table.old_row_count;
    cut.new_row_count = table.new_row_count;
    cut.error = table.error;
    for (std::size_t c = 0; c < table.column_names.size(); ++c) {
        if (columns && !column_differs[c]) continue;
        cut.column_names.push_back(table.column_names[c]);
        cut.old_columns.push_back({table.old_columns[c].column, {}});
        cut.new_columns.push_back({table.new_columns[c].column, {}});
        // Lines only one view has come after those both have, so keeping
        // the order keeps the two lists paired line by line.
        for (std::size_t line : kept_lines) {
            if (line < table.old_columns[c].cells.size())
                cut.old_columns.back().cells.push_back(table.old_columns[c].cells[line]);
            if (line < table.new_columns[c].cells.size())
                cut.new_columns.back().cells.push_back(table.new_columns[c].cells[line]);
        }
    }
    return cut;
}

std::string summary_line(const std::string& name, const DiffSummary& summary) {
    return name + "  " + counted(summary.cells_changed, "cell") + " changed in " +
           counted(summary.rows_changed, "row") + ", " + counted(summary.rows_only_old, "row") +
           " only in old, " + counted(summary.rows_only_new, "row") + " only in new";
}

}  // namespace kqfmt
