// Choosing the report and writing it table by table.
#include "report/report_output.h"

#include <iostream>
#include <optional>

#include "report/csv_report.h"
#include "report/grid_report.h"
#include "report/html_report.h"
#include "report/json_report.h"
#include "report/markdown_report.h"
#include "report/terminal.h"

namespace kqfmt {
namespace {

// The review page of a table with more lines than this keeps only the
// changed rows and this many rows around each, unless --context says.
constexpr std::size_t kLargeTableLines = 2000;
constexpr std::size_t kLargeTableContext = 3;

}  // namespace

ReportWriter::ReportWriter(Output& out, const CommandLine& line,
                           const std::vector<FieldChange>& catalogs)
    : out_(out), line_(line), diff_(line.command == Command::diff), catalogs_(catalogs) {
    total_.catalogs_changed = static_cast<long>(catalogs.size());
    if (line_.output == OutputFormat::json && !line_.stat) json_report_start(out_);
    if (catalogs.empty() || line_.stat) return;
    switch (line_.output) {
        case OutputFormat::csv:
        case OutputFormat::tsv:
            write_delimited_changes(
                out_, catalogs, line_.output == OutputFormat::csv ? Delimited::csv : Delimited::tsv,
                true);
            written_ = true;
            break;
        case OutputFormat::markdown:
            write_markdown_catalogs(out_, catalogs);
            written_ = true;
            break;
        case OutputFormat::grid: {
            GridStyle style;
            style.colour = colour_wanted(line_.colour);
            write_grid_catalogs(out_, catalogs, style);
            written_ = true;
            break;
        }
        default: break;  // JSON at the end, the review page in its head
    }
}

void ReportWriter::table(const TableResult& result) {
    // What differs matters to diff and to the options that ask about it;
    // a plain show spares the pass over every cell.
    const bool counts = diff_ || line_.stat || line_.changed || line_.exit_code;
    const DiffSummary summary = counts ? summarise(result) : DiffSummary();
    total_ += summary;
    ++tables_;
    // --changed leaves out a table without any change (but not its error).
    if (diff_ && line_.changed && !summary.any() && !result.error) return;
    const bool first = first_;
    first_ = false;
    const bool separate = written_;
    written_ = true;
    if (line_.stat) {
        out_ << summary_line(result.table, summary) << '\n';
        return;
    }
    std::optional<TableResult> cut;
    if (line_.changed) {
        cut = only_changed(result, line_.output == OutputFormat::grid);
    } else if (diff_ &&
               (line_.output == OutputFormat::grid || line_.output == OutputFormat::html)) {
        std::optional<std::size_t> context;
        if (line_.context)
            context = static_cast<std::size_t>(*line_.context);
        else if (line_.output == OutputFormat::html && line_count(result) > kLargeTableLines)
            context = kLargeTableContext;
        if (context) cut = with_context(result, *context);
    }
    const TableResult& shown = cut ? *cut : result;
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
            if (separate) out_ << (csv ? "\r\n" : "\n");
            write_delimited_table(out_, std::cerr, shown, csv ? Delimited::csv : Delimited::tsv,
                                  diff_);
            break;
        }
        case OutputFormat::markdown:
            if (separate) out_ << '\n';
            write_markdown_table(out_, shown);
            break;
        default: {
            if (separate) out_ << '\n';
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
        out_ << summary_line("total", total_, true) << '\n';
    else if (line_.output == OutputFormat::json)
        json_report_end(out_, log, !first_, diff_ ? &catalogs_ : nullptr);
    else if (line_.output == OutputFormat::html)
        html_report_end(out_, total_, tables_);
    return total_.any();
}

}  // namespace kqfmt
