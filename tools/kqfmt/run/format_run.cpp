// Formatting one table through the library's public entry point.
#include "run/format_run.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <new>
#include <stdexcept>

#include "kq_host_table.h"
#include "kw_table.h"

namespace kqfmt {
namespace {

// The rows of one view's lines: the requested rows, or rows 0 to count - 1.
std::vector<int32_t> view_rows(const Request& request, int row_count) {
    if (request.rows) return *request.rows;
    std::vector<int32_t> rows(static_cast<std::size_t>(std::max(row_count, 0)));
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int32_t>(i);
    return rows;
}

// Sets the cell records of one column to `rows`, each holding `initial`.
// The records of the previous column are reused: a string keeps its
// buffer, so the usual short texts cost no allocation after the first
// column.
void reset_cells(KQ_CELL_LIST& cells, const std::vector<int32_t>& rows,
                 const std::string& initial) {
    cells.resize(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        cells[i].row = rows[i];
        if (initial.empty())
            cells[i].value.clear();
        else
            cells[i].value.assign(initial);
    }
}

ColumnText pack(int32_t column, const KQ_CELL_LIST& cells) {
    ColumnText text(column);
    text.append(cells.size(),
                [&cells](std::size_t i) -> const std::string& { return cells[i].value; });
    return text;
}

// Whether `cells` hold the texts of `text`, line by line.
bool same_text(const KQ_CELL_LIST& cells, const ColumnText& text) {
    if (cells.size() != text.size()) return false;
    for (std::size_t i = 0; i < cells.size(); ++i)
        if (cells[i].value != text[i]) return false;
    return true;
}

// A column that was not formatted: the initial text on every line.
ColumnText unformatted(int32_t column, std::size_t lines, const std::string& initial) {
    ColumnText text(column);
    text.append(lines, [&initial](std::size_t) -> const std::string& { return initial; });
    return text;
}

// The error of the call for `column`, in plain words, named by table and
// column. The library raises std::out_of_range for a column without a
// format string (on the general path or a numeric one).
std::string error_text(const kqhost::TableData& data, int column, const std::exception* error) {
    const kqhost::ColumnDef* def = data.column(column);
    const std::string name = data.name() + (def ? "." + def->name : std::string());
    if (dynamic_cast<const std::out_of_range*>(error) && def && def->us_format.empty() &&
        def->is_date_time == 0)
        return name +
               ": the column has no format string; kq_columns gives it one (kqfmt schema shows "
               "the table)";
    return name + ": the formatter raised an error" +
           (error ? std::string(" (") + error->what() + ")" : std::string());
}

}  // namespace

TableResult format_table(KQ_FORMAT_DATA& formatter, kqhost::LiveTable& live, kqhost::TableCopy& old,
                         const Request& request) {
    TableResult result;
    const kqhost::TableData& data = live.data();
    result.table = data.name();
    result.old_row_count = old.GetNumRows();
    result.new_row_count = live.get_stored_rows();
    for (int column : request.columns) {
        const kqhost::ColumnDef* def = data.column(column);
        result.column_names.push_back(def ? def->name : std::string());
    }
    if (request.columns.empty()) return result;
    result.old_rows = view_rows(request, result.old_row_count);
    result.new_rows = view_rows(request, result.new_row_count);
    result.old_columns.reserve(request.columns.size());
    result.new_columns.reserve(request.columns.size());

    // One column record per view, handed to the formatter column by column.
    std::vector<kq_formatted_col_data_struct> old_one(1), new_one(1);
    for (int column : request.columns) {
        if (result.error) {
            result.old_columns.push_back(
                unformatted(column, result.old_rows.size(), request.initial));
            result.new_columns.push_back(
                unformatted(column, result.new_rows.size(), request.initial));
            continue;
        }
        old_one[0].column = column;
        new_one[0].column = column;
        reset_cells(old_one[0].cells, result.old_rows, request.initial);
        reset_cells(new_one[0].cells, result.new_rows, request.initial);
        try {
            formatter.GetFormattedValue(&old, &live, old_one, new_one);
        } catch (const std::bad_alloc&) {
            throw;  // not the table's fault: reported as lack of memory
        } catch (const std::exception& e) {
            result.error = error_text(data, column, &e);
        } catch (...) {
            result.error = error_text(data, column, nullptr);
        }
        // Where both views show a column alike (as a rule in show, whose
        // views read the same table), its texts are held once.
        result.new_columns.push_back(pack(column, new_one[0].cells));
        if (same_text(old_one[0].cells, result.new_columns.back()))
            result.old_columns.push_back(result.new_columns.back());
        else
            result.old_columns.push_back(pack(column, old_one[0].cells));
    }
    return result;
}

}  // namespace kqfmt
