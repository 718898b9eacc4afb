// A program built only against the installed headers: formats two columns of
// a two-row table through the shared library and prints the live view of
// each row, then explains one column with the trace extension, and uses the
// tolerant comparisons. Every declared public operation is called once.
#include <iostream>
#include <memory>
#include <vector>

#include "kq_float_compare.h"
#include "kq_format_data.h"
#include "kq_format_trace.h"
#include "kq_host_table.h"
#include "kw_table.h"

int main() {
    auto data = std::make_shared<kqhost::TableData>("STREAMS");
    kqhost::ColumnDef temperature;
    temperature.name = "temperature";
    temperature.type = KQ_TYPE_DOUBLE;
    temperature.us_format = "%.1f";
    temperature.units = "degC";
    temperature.units_us = "degF";
    kqhost::ColumnDef mode;
    mode.name = "mode";
    mode.type = KQ_TYPE_INT32;
    mode.us_format = "Off(0),On(1)";
    const int temperature_column = data->add_column(temperature);
    const int mode_column = data->add_column(mode);
    data->set_row_count(2);
    data->store_real(temperature_column, 0, 100.0);
    data->store_real(temperature_column, 1, -40.0);
    data->store_integer(mode_column, 0, 1);
    data->store_integer(mode_column, 1, 0);

    kqhost::MasterTable master;
    master.data().add_table(data);
    KWTABLE* live = master.get_class_pointer("STREAMS");
    kqhost::TableCopy previous(data->clone());
    std::vector<kq_formatted_col_data_struct> old_columns, new_columns;
    for (int column : {temperature_column, mode_column}) {
        kq_formatted_col_data_struct request;
        request.column = column;
        request.cells = {{0, ""}, {1, ""}};
        old_columns.push_back(request);
        new_columns.push_back(request);
    }

    KQ_FORMAT_DATA formatter;
    formatter.Set_master_table_pointer(&master);
    formatter.GetFormattedValue(&previous, live, old_columns, new_columns);
    for (std::size_t row = 0; row < 2; ++row)
        std::cout << "row " << row << ": " << new_columns[0].cells[row].value << " | "
                  << new_columns[1].cells[row].value << '\n';

    // A formatter given its master table at construction shows the same.
    KQ_FORMAT_DATA other(&master);
    std::vector<kq_formatted_col_data_struct> again_old = old_columns, again_new = new_columns;
    other.GetFormattedValue(&previous, live, again_old, again_new);
    if (again_new[1].cells[0].value != new_columns[1].cells[0].value) return 1;

    // Why the mode column shows names: the test that decided, by the library.
    std::vector<kq_formatted_col_data_struct> old_mode{{mode_column, {}}}, new_mode{{mode_column, {{0, ""}}}};
    KQ_FORMAT_TRACE trace;
    KQ_TraceFormattedValue(&master, &previous, live, old_mode, new_mode, trace);
    std::cout << "mode: " << KQ_ColumnKindName(trace.kind) << " by " << trace.steps.back().test
              << ": " << new_mode[0].cells[0].value << '\n';

    const bool compares =
        AreEqualFLOAT32(0.1f, 0.1f) && AreEqualFLOAT64(0.1, 0.1) && IsLessThanFLOAT32(1, 2) &&
        IsLessThanFLOAT64(1, 2) && IsGreaterThanFLOAT32(2, 1) && IsGreaterThanFLOAT64(2, 1) &&
        IsPositiveFLOAT32(1) && IsPositiveFLOAT64(1) && IsNonZeroFLOAT32(1) &&
        IsNonZeroFLOAT64(1) && IsZeroFLOAT32(0) && IsZeroFLOAT64(0) &&
        EnsureNonZeroFLOAT32(0) != 0 && EnsureNonZeroFLOAT64(0) != 0;
    std::cout << "comparisons: " << (compares ? "as expected" : "WRONG") << '\n';
    return compares ? 0 : 1;
}
