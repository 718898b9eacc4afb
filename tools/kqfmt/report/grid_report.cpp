// Writing the human view.
#include "report/grid_report.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

#include "run/config_changes.h"
#include "run/diff_status.h"
#include "text/utf8_text.h"

namespace kqfmt {
namespace {

const char* const kBold = "\x1b[1m";
const char* const kRed = "\x1b[31m";
const char* const kGreen = "\x1b[32m";
const char* const kCyan = "\x1b[36m";
const char* const kReset = "\x1b[0m";
const char* const kArrow = " \xE2\x86\x92 ";         // " → "
const char* const kDisplayArrow = " \xE2\x87\x92 ";  // " ⇒ "

// Builds one grid cell's text, with colours, into a buffer that is reused
// from cell to cell, and counts its width in display columns.
class CellBuilder {
public:
    explicit CellBuilder(const GridStyle& style) : style_(style) {}

    // Starts a new cell.
    CellBuilder& start() {
        text_.clear();
        width_ = 0;
        return *this;
    }
    // Appends printable text, coloured when the style allows.
    CellBuilder& add(std::string_view raw, const char* colour = nullptr) {
        const bool coloured = colour && style_.colour;
        if (coloured) text_ += colour;
        width_ += append_printable(text_, raw);
        if (coloured) text_ += kReset;
        return *this;
    }
    // Appends text the grid itself writes (markers), never escaped.
    CellBuilder& mark(std::string_view text, std::size_t width, const char* colour = nullptr) {
        width_ += width;
        if (colour && style_.colour)
            text_.append(colour).append(text).append(kReset);
        else
            text_.append(text);
        return *this;
    }
    const std::string& text() const { return text_; }
    std::size_t width() const { return width_; }

private:
    const GridStyle& style_;
    std::string text_;
    std::size_t width_ = 0;
};

void value_cell(CellBuilder& cell, const LinePair& pair) {
    const std::optional<CellText>& old_cell = pair.old_cell;
    const std::optional<CellText>& new_cell = pair.new_cell;
    const bool in_old = pair.in_old, in_new = pair.in_new;
    cell.start();
    if (in_old != in_new) {
        if (in_new)
            cell.mark("+ ", 2, kGreen).add(new_cell->value);
        else
            cell.mark("- ", 2, kRed).add(old_cell->value);
        return;
    }
    // Both views have the row, or neither has (a row asked for past both
    // counts): compare what the two cells hold.
    if (old_cell && new_cell && old_cell->value != new_cell->value)
        cell.add(old_cell->value, kRed).mark(kArrow, 3).add(new_cell->value, kGreen);
    else if (cell_status(pair) == CellStatus::display)
        cell.add(pair.before_cell->value, kCyan).mark(kDisplayArrow, 3).add(new_cell->value, kCyan);
    else
        cell.add(new_cell ? new_cell->value : old_cell->value);
}

std::string plural(int count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// Narrows the widest columns, one display column at a time, until a line
// (two blanks of indent, two between columns) fits in `limit`, or every
// column is down to 4.
void fit_widths(std::vector<std::size_t>& widths, std::size_t limit) {
    const std::size_t minimum = 4;
    std::size_t total = 2 * widths.size();
    for (std::size_t width : widths) total += width;
    while (total > limit) {
        const auto widest = std::max_element(widths.begin(), widths.end());
        if (*widest <= minimum) return;
        --*widest;
        --total;
    }
}

// One line of the grid as it is put together: bytes copied in, blanks
// added, with no more than a bounds check per piece (a large table has
// millions of pieces).
class LineBuffer {
public:
    std::size_t size() const { return used_; }
    std::string_view view() const { return std::string_view(bytes_.data(), used_); }
    void clear() { used_ = 0; }
    void cut(std::size_t size) { used_ = size; }
    void put(std::string_view text) {
        if (!text.empty()) std::memcpy(room(text.size()), text.data(), text.size());
        used_ += text.size();
    }
    void blanks(std::size_t count) {
        std::memset(room(count), ' ', count);
        used_ += count;
    }

private:
    char* room(std::size_t more) {
        if (used_ + more > bytes_.size()) bytes_.resize(std::max(2 * bytes_.size(), used_ + more));
        return bytes_.data() + used_;
    }
    std::vector<char> bytes_;
    std::size_t used_ = 0;
};

// The grid is written in two passes over the cells: the first finds each
// column's width, the second builds each line again and writes it, so the
// table's text is never held whole. A column whose lines both views show
// alike (every column of show) takes each line's text as it is, without
// comparing views; when its text is plain as well, its width is known
// without a look at a line and its cells are copied as they are.
class TableGrid {
public:
    TableGrid(const TableResult& table, const GridStyle& style)
        : table_(table),
          old_count_(table.old_rows.size()),
          new_count_(table.new_rows.size()),
          alike_(alike_columns(table)),
          cell_(style) {}

    std::size_t lines() const { return std::max(old_count_, new_count_); }
    std::size_t columns() const { return table_.column_names.size() + 1; }

    // The widest cell of grid column c (0: the row numbers), header included.
    std::size_t width(std::size_t c) {
        std::size_t widest = cell(0, c).width();
        if (c == 0) {
            char digits[16];
            for (std::size_t at = 0; at < lines(); ++at)
                widest = std::max(widest, row_number(at, digits).size());
        } else if (const ColumnText* text = alike_text(c)) {
            if (text->plain()) return std::max(widest, text->longest());
            for (std::size_t at = 0; at < text->size(); ++at)
                widest = std::max(widest, printable_width((*text)[at]));
        } else {
            for (std::size_t line = 1; line <= lines(); ++line)
                widest = std::max(widest, cell(line, c).width());
        }
        return widest;
    }

    // Appends the cell of grid column c on a line (0: the header, then one
    // per requested row) to `text`, padded with blanks to `width` when
    // `pad`, or cut to it when wider.
    void append(LineBuffer& text, std::size_t line, std::size_t c, std::size_t width, bool pad) {
        const std::size_t start = text.size();
        std::size_t used = 0;
        const ColumnText* alike = line > 0 ? alike_text(c) : nullptr;
        if (line > 0 && c == 0) {
            char digits[16];
            const std::string_view number = row_number(line - 1, digits);
            text.put(number);
            used = number.size();
        } else if (alike && alike->plain()) {
            const std::string_view value = (*alike)[line - 1];
            text.put(value);
            used = value.size();
        } else if (alike) {
            scratch_.clear();
            used = append_printable(scratch_, (*alike)[line - 1]);
            text.put(scratch_);
        } else {
            const CellBuilder& built = cell(line, c);
            text.put(built.text());
            used = built.width();
        }
        if (used > width) {
            scratch_ = cut_to_width(text.view().substr(start), width);
            text.cut(start);
            text.put(scratch_);
            used = width;
        }
        if (pad) text.blanks(width - used);
    }

private:
    // The row number of the line after the header `at`, written in `digits`.
    std::string_view row_number(std::size_t at, char (&digits)[16]) const {
        const int32_t row = at < new_count_ ? table_.new_rows[at] : table_.old_rows[at];
        return std::string_view(
            digits, static_cast<std::size_t>(
                        std::to_chars(digits, digits + sizeof digits, row).ptr - digits));
    }

    // The new view's text of grid column c when every line shows it.
    const ColumnText* alike_text(std::size_t c) const {
        return c > 0 && alike_[c - 1] ? &table_.new_columns[c - 1] : nullptr;
    }

    // Builds the cell of grid column c on a line: the header of any column,
    // past it those of the value columns (c > 0).
    const CellBuilder& cell(std::size_t line, std::size_t c) {
        cell_.start();
        if (line == 0) return cell_.add(c == 0 ? "row" : table_.column_names[c - 1], kBold);
        const std::size_t at = line - 1;
        if (const ColumnText* text = alike_text(c)) return cell_.add((*text)[at]);
        value_cell(cell_, line_pair(table_, c - 1, at));
        return cell_;
    }

    const TableResult& table_;
    std::size_t old_count_;
    std::size_t new_count_;
    std::vector<bool> alike_;
    CellBuilder cell_;
    std::string scratch_;  // a cell's escaped or cut text
};

// "  … 95 unchanged rows" where a cut to the changed rows left some out.
void skipped_line(Output& out, const TableResult& table, std::size_t at) {
    if (at < table.skipped.size() && table.skipped[at] > 0)
        out << "  \xE2\x80\xA6 " << plural(static_cast<int>(table.skipped[at]), "unchanged row")
            << '\n';
}

}  // namespace

void write_grid_catalogs(Output& out, const std::vector<FieldChange>& changes,
                         const GridStyle& style) {
    CellBuilder line(style);
    out << line.add("catalogs", kBold).text() << "  "
        << plural(static_cast<int>(changes.size()), "field") << " changed\n";
    for (const FieldChange& change : changes)
        out << "  " << line.start().add(change_text(change, true), kCyan).text() << '\n';
}

void write_grid_table(Output& out, const TableResult& table, const GridStyle& style) {
    CellBuilder title(style);
    out << title.add(table.table, kBold).text() << "  ";
    if (table.presence == TablePresence::only_old)
        out << "removed, " << plural(table.old_row_count, "row") << '\n';
    else if (table.presence == TablePresence::only_new)
        out << "added, " << plural(table.new_row_count, "row") << '\n';
    else if (table.old_row_count == table.new_row_count)
        out << plural(table.new_row_count, "row") << '\n';
    else
        out << "old " << plural(table.old_row_count, "row") << ", new "
            << plural(table.new_row_count, "row") << '\n';
    for (const FieldChange& change : table.definitions)
        out << "  " << title.start().add(change_text(change, false), kCyan).text() << '\n';

    TableGrid grid(table, style);
    const std::size_t lines = grid.lines() + 1;
    std::vector<std::size_t> widths(grid.columns(), 0);
    for (std::size_t c = 0; c < widths.size(); ++c) widths[c] = grid.width(c);
    if (style.width > 0) fit_widths(widths, style.width);

    LineBuffer text;  // one line, reused
    for (std::size_t line = 0; line < lines; ++line) {
        if (line > 0) skipped_line(out, table, line - 1);
        text.clear();
        text.blanks(2);
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const bool last = c + 1 == widths.size();
            grid.append(text, line, c, widths[c], !last);
            if (!last) text.blanks(2);
        }
        text.put("\n");
        out << text.view();
    }
    skipped_line(out, table, lines - 1);
    if (lines == 1 && table.skipped.empty()) out << "  (no rows)\n";
    if (table.error)
        out << "  " << title.start().add("error: " + *table.error, kRed).text() << '\n';
}

}  // namespace kqfmt
