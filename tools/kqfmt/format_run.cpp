// Formatting one table through the library's public entry point.
#include "format_run.h"

#include <exception>
#include <new>
#include <stdexcept>

#include "kq_host_table.h"
#include "kw_table.h"

namespace kqfmt {
namespace {

// The cell records of one view: the requested rows, or rows 0 to count - 1.
KQ_CELL_LIST make_cells(const Request& request, int row_count) {
    KQ_CELL_LIST cells;
    if (request.rows) {
        cells.reserve(request.rows->size());
        for (int32_t row : *request.rows) cells.push_back({row, request.initial});
    } else {
        cells.reserve(static_cast<std::size_t>(row_count));
        for (int32_t row = 0; row < row_count; ++row) cells.push_back({row, request.initial});
    }
    return cells;
}

// The error of a call in plain words. The library raises std::out_of_range
// for a column without a format string (on the general path or a numeric
// one); columns are formatted in request order, so the first such column is
// the one at fault.
std::string error_text(const kqhost::TableData& data, const Request& request,
                       const std::exception* error) {
    if (dynamic_cast<const std::out_of_range*>(error)) {
        for (int column : request.columns) {
            const kqhost::ColumnDef* def = data.column(column);
            if (def && def->us_format.empty() && def->is_date_time == 0)
                return data.name() + "." + def->name +
                       ": the column has no format string; kq_columns gives it one (kqfmt "
                       "schema shows the table)";
        }
    }
    return data.name() + ": the formatter raised an error" +
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

    result.old_columns.reserve(request.columns.size());
    result.new_columns.reserve(request.columns.size());
    for (int column : request.columns) {
        const kqhost::ColumnDef* def = data.column(column);
        result.column_names.push_back(def ? def->name : std::string());
        result.old_columns.push_back({column, make_cells(request, result.old_row_count)});
        result.new_columns.push_back({column, make_cells(request, result.new_row_count)});
    }

    try {
        formatter.GetFormattedValue(&old, &live, result.old_columns, result.new_columns);
    } catch (const std::bad_alloc&) {
        throw;  // not the table's fault: reported as lack of memory
    } catch (const std::exception& e) {
        result.error = error_text(data, request, &e);
    } catch (...) {
        result.error = error_text(data, request, nullptr);
    }
    return result;
}

}  // namespace kqfmt
