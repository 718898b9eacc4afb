// Writing the human view.
#include "grid_report.h"

#include <algorithm>
#include <string>

#include "utf8_text.h"

namespace kqfmt {
namespace {

const char* const kBold = "\x1b[1m";
const char* const kRed = "\x1b[31m";
const char* const kGreen = "\x1b[32m";
const char* const kReset = "\x1b[0m";
const char* const kArrow = " \xE2\x86\x92 ";  // " → "

// One grid cell: its width in characters and its text with colours.
struct GridCell {
    std::size_t width = 0;
    std::string text;
};

class CellBuilder {
public:
    explicit CellBuilder(const GridStyle& style) : style_(style) {}

    // Appends printable text, coloured when the style allows.
    CellBuilder& add(std::string_view raw, const char* colour = nullptr) {
        const std::string shown = printable_text(raw);
        cell_.width += display_width(shown);
        if (colour && style_.colour) {
            cell_.text += colour;
            cell_.text += shown;
            cell_.text += kReset;
        } else {
            cell_.text += shown;
        }
        return *this;
    }
    // Appends text the grid itself writes (markers), never escaped.
    CellBuilder& mark(std::string_view text, std::size_t width, const char* colour = nullptr) {
        cell_.width += width;
        if (colour && style_.colour)
            cell_.text.append(colour).append(text).append(kReset);
        else
            cell_.text.append(text);
        return *this;
    }
    GridCell done() { return std::move(cell_); }

private:
    const GridStyle& style_;
    GridCell cell_;
};

using CellRecord = _kq_fomatted_cell_data_struct;

bool inside(const CellRecord* cell, int row_count) {
    return cell && cell->row >= 0 && cell->row < row_count;
}

GridCell value_cell(const CellRecord* old_cell, const CellRecord* new_cell, bool in_old,
                    bool in_new, const GridStyle& style) {
    CellBuilder cell(style);
    if (in_old != in_new) {
        if (in_new) return cell.mark("+ ", 2, kGreen).add(new_cell->value).done();
        return cell.mark("- ", 2, kRed).add(old_cell->value).done();
    }
    // Both views have the row, or neither has (a row asked for past both
    // counts): compare what the two cells hold.
    if (old_cell && new_cell && old_cell->value != new_cell->value)
        return cell.add(old_cell->value, kRed).mark(kArrow, 3).add(new_cell->value, kGreen).done();
    return cell.add(new_cell ? new_cell->value : old_cell->value).done();
}

std::string plural(int count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// value_cell(...).width, without making the cell's text.
std::size_t value_width(const CellRecord* old_cell, const CellRecord* new_cell, bool in_old,
                        bool in_new) {
    if (in_old != in_new) return 2 + printable_width(in_new ? new_cell->value : old_cell->value);
    if (old_cell && new_cell && old_cell->value != new_cell->value)
        return printable_width(old_cell->value) + 3 + printable_width(new_cell->value);
    return printable_width(new_cell ? new_cell->value : old_cell->value);
}

// The cell of one line and requested column; line 0 is the header.
GridCell grid_cell(const TableResult& table, std::size_t line, std::size_t column,
                   std::size_t old_count, std::size_t new_count, const GridStyle& style) {
    if (line == 0)
        return CellBuilder(style)
            .add(column == 0 ? "row" : table.column_names[column - 1], kBold)
            .done();
    const std::size_t index = line - 1;
    const bool has_old = index < old_count;
    const bool has_new = index < new_count;
    if (column == 0) {
        const int32_t row =
            has_new ? table.new_columns[0].cells[index].row : table.old_columns[0].cells[index].row;
        return CellBuilder(style).add(std::to_string(row)).done();
    }
    const std::size_t c = column - 1;
    const CellRecord* old_cell = has_old ? &table.old_columns[c].cells[index] : nullptr;
    const CellRecord* new_cell = has_new ? &table.new_columns[c].cells[index] : nullptr;
    return value_cell(old_cell, new_cell, inside(old_cell, table.old_row_count),
                      inside(new_cell, table.new_row_count), style);
}

}  // namespace

void write_grid_table(Output& out, const TableResult& table, const GridStyle& style, bool first) {
    if (!first) out << '\n';
    CellBuilder title(style);
    title.add(table.table, kBold);
    out << title.done().text << "  ";
    if (table.old_row_count == table.new_row_count)
        out << plural(table.new_row_count, "row") << '\n';
    else
        out << "old " << plural(table.old_row_count, "row") << ", new "
            << plural(table.new_row_count, "row") << '\n';

    // Every column list of one view holds the same rows, so the first
    // column decides how many lines there are.
    const std::size_t old_count = table.old_columns.empty() ? 0 : table.old_columns[0].cells.size();
    const std::size_t new_count = table.new_columns.empty() ? 0 : table.new_columns[0].cells.size();
    const std::size_t lines = std::max(old_count, new_count) + 1;  // with the header
    const std::size_t columns = table.column_names.size() + 1;     // with the row number

    // Two passes, so that no line is held longer than it is written: the
    // widths first, then the lines.
    std::vector<std::size_t> widths(columns, 0);
    for (std::size_t line = 0; line < lines; ++line) {
        for (std::size_t c = 0; c < columns; ++c) {
            std::size_t width = 0;
            if (line == 0 || c == 0) {
                width = grid_cell(table, line, c, old_count, new_count, style).width;
            } else {
                const std::size_t index = line - 1;
                const CellRecord* old_cell =
                    index < old_count ? &table.old_columns[c - 1].cells[index] : nullptr;
                const CellRecord* new_cell =
                    index < new_count ? &table.new_columns[c - 1].cells[index] : nullptr;
                width = value_width(old_cell, new_cell, inside(old_cell, table.old_row_count),
                                    inside(new_cell, table.new_row_count));
            }
            widths[c] = std::max(widths[c], width);
        }
    }
    for (std::size_t line = 0; line < lines; ++line) {
        out << "  ";
        for (std::size_t c = 0; c < columns; ++c) {
            const GridCell cell = grid_cell(table, line, c, old_count, new_count, style);
            out << cell.text;
            if (c + 1 < columns) out << std::string(widths[c] - cell.width + 2, ' ');
        }
        out << '\n';
    }
    if (lines == 1) out << "  (no rows)\n";
    if (table.error)
        out << "  " << CellBuilder(style).add("error: " + *table.error, kRed).done().text << '\n';
}

}  // namespace kqfmt
