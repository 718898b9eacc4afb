// The review page of diff: one self-contained HTML file (inline style, no
// script, nothing fetched) written table by table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "diff_status.h"
#include "format_run.h"
#include "lint_check.h"
#include "output.h"

namespace kqfmt {

// `text` for HTML: printable_text of it (control bytes and bytes that are
// not UTF-8 written \xNN) with & < > " ' as character references, so
// that it reads as text in element content and in quoted attributes.
std::string html_text(std::string_view text);

// The head of the page: title, the "changed rows only" control and the
// lint findings of the new database (a list, when there are any).
void html_report_start(Output& out, const std::string& old_name, const std::string& new_name,
                       const std::vector<Finding>& findings);

// One table: its summary figures and its grid; a changed cell shows the old
// value struck out and the new one, a row only one view has is marked
// added or removed. Every row carries its status as a class, which the
// control uses to hide unchanged rows.
void html_report_table(Output& out, const TableResult& table);

// The end of the page, with the totals of all tables.
void html_report_end(Output& out, const DiffSummary& total, std::size_t tables);

}  // namespace kqfmt
