// The review page of diff: one self-contained HTML file (inline style, no
// script, nothing fetched) written table by table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/output.h"
#include "run/diff_status.h"
#include "run/field_change.h"
#include "run/format_run.h"
#include "run/lint_check.h"

namespace kqfmt {

// `text` for HTML: printable_text of it (control bytes and bytes that are
// not UTF-8 written \xNN) with & < > " ' as character references, so
// that it reads as text in element content and in quoted attributes.
std::string html_text(std::string_view text);

// The head of the page: title, the "changed rows only" control, a legend
// of the cell marks, the lint findings of the new database and the catalog
// changes (each a list, when there are any).
void html_report_start(Output& out, const std::string& old_name, const std::string& new_name,
                       const std::vector<Finding>& findings,
                       const std::vector<FieldChange>& catalogs);

// One table: its summary figures, its definition changes and its grid; a
// changed cell shows the old value struck out and the new one, a cell with
// the same value that the old database showed otherwise "before ⇒ now" in
// its own colour, a row only one view has is marked added or removed, and
// rows left out by a cut to the changed rows are counted where they were.
// Every row carries its status as a class, which the control uses to hide
// unchanged rows.
void html_report_table(Output& out, const TableResult& table);

// The end of the page, with the totals of all tables.
void html_report_end(Output& out, const DiffSummary& total, std::size_t tables);

}  // namespace kqfmt
