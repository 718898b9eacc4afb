// Formatting one table through the library's public entry point.
#include "run/format_run.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <new>
#include <stdexcept>

#include "kq_host_table.h"
#include "kw_table.h"

namespace kqfmt {
namespace {

// The cell records of one view: the requested rows, or rows 0 to count - 1.
void fill_cells(KQ_CELL_LIST& cells, const Request& request, int row_count) {
    // Records start empty; copying the usual empty initial text into each
    // would cost a call per record.
    const auto add = [&cells, &request](int32_t row) {
        cells.emplace_back().row = row;
        if (!request.initial.empty()) cells.back().value = request.initial;
    };
    if (request.rows) {
        for (int32_t row : *request.rows) add(row);
    } else {
        for (int32_t row = 0; row < row_count; ++row) add(row);
    }
}

// Asks the kernel to back the cell records of a large table with huge pages
// before they are first written, which saves many of the page faults that
// are much of the time it takes to make them. The arrays are reserved one
// after the other, so they usually lie side by side; their hull is advised
// only when it holds little else. A 2 MiB block in which the allocator has
// already written its bookkeeping stays in small pages (about half of them
// for 100,000 rows). Only advice: where it is not supported nothing changes.
void advise_huge_pages(const TableResult& result) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    std::uintptr_t low = UINTPTR_MAX, high = 0, total = 0, arrays = 0;
    for (const auto* view : {&result.old_columns, &result.new_columns}) {
        for (const auto& column : *view) {
            const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(column.cells.data());
            const std::uintptr_t bytes = column.cells.capacity() * sizeof(KQ_CELL_LIST::value_type);
            if (bytes == 0) continue;
            low = std::min(low, begin);
            high = std::max(high, begin + bytes);
            total += bytes;
            ++arrays;
        }
    }
    // Side by side, the arrays leave at most a page of bookkeeping between.
    if (high <= low || high - low > total + 4096 * arrays) return;
    const std::uintptr_t first = (low + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t last = high & ~(kHuge - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)result;
#endif
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
    const auto count = [&request](int row_count) {
        return request.rows ? request.rows->size() : static_cast<std::size_t>(row_count);
    };
    for (int column : request.columns) {
        const kqhost::ColumnDef* def = data.column(column);
        result.column_names.push_back(def ? def->name : std::string());
        result.old_columns.push_back({column, {}});
        result.old_columns.back().cells.reserve(count(result.old_row_count));
        result.new_columns.push_back({column, {}});
        result.new_columns.back().cells.reserve(count(result.new_row_count));
    }
    advise_huge_pages(result);
    for (std::size_t i = 0; i < request.columns.size(); ++i) {
        fill_cells(result.old_columns[i].cells, request, result.old_row_count);
        fill_cells(result.new_columns[i].cells, request, result.new_row_count);
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
