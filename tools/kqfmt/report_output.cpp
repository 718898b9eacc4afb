// Choosing the report.
#include "report_output.h"

#include "csv_report.h"
#include "diff_status.h"
#include "grid_report.h"
#include "json_report.h"
#include "markdown_report.h"
#include "terminal.h"

namespace kqfmt {

bool write_report(std::ostream& out, std::ostream& err, const CommandLine& line,
                  const std::vector<TableResult>& tables,
                  const std::vector<kqhost::LogRecord>& log) {
    const bool diff = line.command == Command::diff;
    DiffSummary total;
    for (const TableResult& table : tables) total += summarise(table);

    if (line.stat) {
        for (const TableResult& table : tables)
            out << summary_line(table.table, summarise(table)) << '\n';
        out << summary_line("total", total) << '\n';
        return total.any();
    }

    std::vector<TableResult> cut;
    if (line.changed) {
        const bool columns_too = line.output == OutputFormat::grid;
        for (const TableResult& table : tables) cut.push_back(only_changed(table, columns_too));
    }
    const std::vector<TableResult>& shown = line.changed ? cut : tables;

    switch (line.output) {
        case OutputFormat::json: out << json_report(shown, log, diff); break;
        case OutputFormat::csv:
        case OutputFormat::tsv:
            write_delimited(out, err, shown,
                            line.output == OutputFormat::csv ? Delimited::csv : Delimited::tsv,
                            diff);
            break;
        case OutputFormat::markdown: write_markdown(out, shown); break;
        case OutputFormat::grid: {
            GridStyle style;
            style.colour = colour_wanted(line.colour);
            style.width = static_cast<std::size_t>(grid_width(line.width));
            write_grid(out, shown, style);
            break;
        }
    }
    return total.any();
}

}  // namespace kqfmt
