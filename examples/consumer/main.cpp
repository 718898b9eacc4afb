// Formats two columns of a two-row table through the installed library and
// prints one line per row: the live view of each cell.
#include <iostream>
#include <memory>
#include <vector>

#include "kq_format_data.h"
#include "kq_host_table.h"
#include "kw_table.h"

int main() {
    auto data = std::make_shared<kqhost::TableData>("STREAMS");
    kqhost::ColumnDef temperature;
    temperature.name = "temperature";
    temperature.type = 13;
    temperature.us_format = "%.1f";
    temperature.units = "degC";
    temperature.units_us = "degF";
    kqhost::ColumnDef mode;
    mode.name = "mode";
    mode.type = 9;
    mode.us_format = "Off(0),On(1)";
    const int temperature_column = data->add_column(temperature);
    const int mode_column = data->add_column(mode);
    data->set_row_count(2);
    data->store_real(temperature_column, 0, 100.0);
    data->store_real(temperature_column, 1, -40.0);
    data->store_integer(mode_column, 0, 1);
    data->store_integer(mode_column, 1, 0);

    kqhost::LiveTable live(data);
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
    formatter.GetFormattedValue(&previous, &live, old_columns, new_columns);
    for (std::size_t row = 0; row < 2; ++row)
        std::cout << "row " << row << ": " << new_columns[0].cells[row].value << " | "
                  << new_columns[1].cells[row].value << '\n';
    return 0;
}
