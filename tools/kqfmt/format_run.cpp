// Formatting one table through the library's public entry point.
#include "format_run.h"

#include <exception>
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

}  // namespace

TableResult format_table(KQ_FORMAT_DATA& formatter, kqhost::LiveTable& live, kqhost::TableCopy& old,
                         const Request& request) {
    TableResult result;
    const kqhost::TableData& data = live.data();
    result.table = data.name();
    result.old_row_count = old.GetNumRows();
    result.new_row_count = live.get_stored_rows();

    const KQ_CELL_LIST old_cells = make_cells(request, result.old_row_count);
    const KQ_CELL_LIST new_cells = make_cells(request, result.new_row_count);
    for (int column : request.columns) {
        const kqhost::ColumnDef* def = data.column(column);
        result.column_names.push_back(def ? def->name : std::string());
        result.old_columns.push_back({column, old_cells});
        result.new_columns.push_back({column, new_cells});
    }

    try {
        formatter.GetFormattedValue(&old, &live, result.old_columns, result.new_columns);
    } catch (const std::out_of_range& e) {
        // The library's one error: a column without a format string.
        std::string empty;
        int count = 0;
        for (int column : request.columns) {
            const kqhost::ColumnDef* def = data.column(column);
            if (!def || !def->us_format.empty()) continue;
            empty += (count++ > 0 ? ", " : "") + def->name;
        }
        result.error = count == 0 ? std::string(e.what())
                                  : "table " + result.table +
                                        ": no format string (kq_columns.us_format) for column" +
                                        (count > 1 ? "s " : " ") + empty;
    } catch (const std::exception& e) {
        result.error = e.what();
    } catch (...) {
        result.error = "unknown error";
    }
    return result;
}

}  // namespace kqfmt
