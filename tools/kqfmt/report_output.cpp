// Choosing the report and writing it table by table.
#include "report_output.h"

#include <iostream>

#include "csv_report.h"
#include "grid_report.h"
#include "html_report.h"
#include "json_report.h"
#include "markdown_report.h"
#include "terminal.h"

namespace kqfmt {

ReportWriter::ReportWriter(Output& out, const CommandLine& line)
    : out_(out), line_(line), diff_(line.command == Command::diff) {
    if (line_.output == OutputFormat::json && !line_.stat) json_report_start(out_);
}

void ReportWriter::table(const TableResult& result) {
    const DiffSummary summary = summarise(result);
    total_ += summary;
    ++tables_;
    const bool first = first_;
    first_ = false;
    if (line_.stat) {
        out_ << summary_line(result.table, summary) << '\n';
        return;
    }
    const TableResult cut =
        line_.changed ? only_changed(result, line_.output == OutputFormat::grid) : TableResult();
    const TableResult& shown = line_.changed ? cut : result;
    if (line_.output == OutputFormat::json) {
        json_report_table(out_, shown, first, diff_);
        return;
    }
    if (line_.output == OutputFormat::html) {
        html_report_table(out_, shown);
        return;
    }
    switch (line_.output) {
        case OutputFormat::csv:
        case OutputFormat::tsv: {
            const bool csv = line_.output == OutputFormat::csv;
            if (!first) out_ << (csv ? "\r\n" : "\n");
            write_delimited_table(out_, std::cerr, shown, csv ? Delimited::csv : Delimited::tsv,
                                  diff_);
            break;
        }
        case OutputFormat::markdown:
            if (!first) out_ << '\n';
            write_markdown_table(out_, shown);
            break;
        default: {
            if (!first) out_ << '\n';
            GridStyle style;
            style.colour = colour_wanted(line_.colour);
            style.width = static_cast<std::size_t>(grid_width(line_.width));
            write_grid_table(out_, shown, style);
            break;
        }
    }
}

bool ReportWriter::finish(const std::vector<kqhost::LogRecord>& log) {
    if (line_.stat)
        out_ << summary_line("total", total_) << '\n';
    else if (line_.output == OutputFormat::json)
        json_report_end(out_, log, !first_);
    else if (line_.output == OutputFormat::html)
        html_report_end(out_, total_, tables_);
    return total_.any();
}

}  // namespace kqfmt
