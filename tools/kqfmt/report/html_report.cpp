// Writing the review page. The page needs no script: the "changed rows
// only" control is a checkbox whose state a CSS rule reads, and the same
// rule applies when the page is opened with "#changed" in its address, so a
// link can open it filtered. A content security policy forbids scripts and
// any fetch, so even a value that slipped past the escaping could not run.
#include "report/html_report.h"

#include <sstream>

#include "text/utf8_text.h"

namespace kqfmt {
namespace {

const char* const kStyle = R"(
:root { --ink: #1d2330; --muted: #5b6475; --line: #d5d9e0; --head: #eef1f5;
        --old: #fde8e8; --old-ink: #9b1c1c; --new: #e3f6e8; --new-ink: #14632d; }
body { font: 14px/1.45 system-ui, sans-serif; color: var(--ink); margin: 1.5em 2em; }
h1 { font-size: 1.4em; margin: 0 0 .2em; }
h2 { font-size: 1.15em; margin: 1.6em 0 .3em; }
.sources { color: var(--muted); margin: 0 0 1em; }
.sources code { color: var(--ink); }
.control { display: inline-block; padding: .3em .7em; border: 1px solid var(--line);
           border-radius: 4px; background: var(--head); cursor: pointer; }
.findings { border-left: 4px solid #c27803; background: #fff8e6; padding: .5em 1em;
            margin: 1em 0; }
.findings h2 { margin-top: .2em; }
.findings li.error b { color: var(--old-ink); }
.findings li.warning b { color: #8a5300; }
.summary { margin: .2em 0 .5em; color: var(--muted); }
.summary b { color: var(--ink); }
.grid { overflow-x: auto; }
table { border-collapse: collapse; margin-bottom: .5em; }
th, td { border: 1px solid var(--line); padding: .2em .6em; text-align: left;
         vertical-align: top; white-space: pre-wrap; max-width: 22em; }
th { background: var(--head); }
td.row { color: var(--muted); text-align: right; }
del { background: var(--old); color: var(--old-ink); }
ins { background: var(--new); color: var(--new-ink); text-decoration: none; }
td.changed { background: #fffbea; }
td.display { background: #e8f0fe; }
.before { color: #1a4fa0; text-decoration: line-through dotted; }
.shown { color: #1a4fa0; font-weight: 600; }
tr.skipped td { color: var(--muted); font-style: italic; text-align: center; }
.legend { color: var(--muted); margin: .6em 0; }
.legend span { margin-right: 1.2em; }
.definitions, .catalogs { border-left: 4px solid #1a4fa0; background: #f1f5fd; padding: .3em 1em;
                          margin: .5em 0; }
.definitions h3, .catalogs h2 { font-size: 1em; margin: .3em 0; }
.definitions ul, .catalogs ul { margin: .2em 0 .4em; padding-left: 1.2em; }
tr.added td { background: var(--new); }
tr.removed td { background: var(--old); }
.mark { font-weight: bold; }
.table-error { color: var(--old-ink); font-weight: bold; }
#changed-only:checked ~ main tr.same, #changed:target ~ main tr.same,
#changed-only:checked ~ main tr.skipped, #changed:target ~ main tr.skipped { display: none; }
#changed-only { margin-right: .4em; }
footer { margin-top: 2em; color: var(--muted); }
@page { size: A4 landscape; margin: 12mm; }
@media print {
  body { margin: 0; font-size: 9pt; }
  th, td { padding: .1em .3em; max-width: none; overflow-wrap: anywhere; }
  table { max-width: 100%; }
  #changed-only, .control { display: none; }
  .grid { overflow: visible; }
  table { page-break-inside: auto; }
  tr { page-break-inside: avoid; }
  thead { display: table-header-group; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
}
)";

std::string counted(long count, const char* noun) {
    return "<b>" + std::to_string(count) + "</b> " + noun + (count == 1 ? "" : "s");
}

// The anchor of a table's section; names are escaped, not reduced, so two
// tables never share one.
std::string section_id(const std::string& table) { return "table-" + html_text(table); }

void write_cell(std::ostringstream& text, const LinePair& pair) {
    const CellStatus status = cell_status(pair);
    const std::string old_value = pair.old_cell ? html_text(pair.old_cell->value) : "";
    const std::string new_value = pair.new_cell ? html_text(pair.new_cell->value) : "";
    switch (status) {
        case CellStatus::changed:
            text << "<td class=\"changed\"><del>" << old_value << "</del> → <ins>" << new_value
                 << "</ins></td>";
            break;
        case CellStatus::added: text << "<td><ins>" << new_value << "</ins></td>"; break;
        case CellStatus::removed: text << "<td><del>" << old_value << "</del></td>"; break;
        case CellStatus::display:
            text << "<td class=\"display\"><span class=\"before\">"
                 << html_text(pair.before_cell->value) << "</span> ⇒ <span class=\"shown\">"
                 << new_value << "</span></td>";
            break;
        case CellStatus::same: text << "<td>" << new_value << "</td>"; break;
    }
}

std::string side(const std::optional<std::string>& text) {
    return text ? "<code>" + html_text(*text) + "</code>" : "<i>none</i>";
}

// One change as a list item: "name field old → new".
void change_item(std::ostringstream& text, const FieldChange& change, bool catalog) {
    text << "<li>";
    if (catalog) text << html_text(change.where) << " ";
    text << "<b>" << html_text(change.name) << "</b> " << html_text(change.field) << " <del>"
         << side(change.old_text) << "</del> → <ins>" << side(change.new_text) << "</ins></li>\n";
}

void skipped_row(std::ostringstream& text, const TableResult& table, std::size_t at) {
    if (at >= table.skipped.size() || table.skipped[at] == 0) return;
    text << "<tr class=\"skipped\"><td colspan=\"" << table.column_names.size() + 1 << "\">… "
         << table.skipped[at] << " unchanged row" << (table.skipped[at] == 1 ? "" : "s")
         << " not shown</td></tr>\n";
}

}  // namespace

std::string html_text(std::string_view raw) {
    const std::string printable = printable_text(raw);
    std::string out;
    out.reserve(printable.size());
    for (char c : printable) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

void html_report_start(Output& out, const std::string& old_name, const std::string& new_name,
                       const std::vector<Finding>& findings,
                       const std::vector<FieldChange>& catalogs) {
    std::ostringstream text;
    text << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
            "style-src 'unsafe-inline'\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<title>Configuration review: "
         << html_text(new_name) << "</title>\n<style>" << kStyle << "</style>\n</head>\n<body>\n"
         << "<h1>Configuration review</h1>\n<p class=\"sources\">old <code>" << html_text(old_name)
         << "</code> → new <code>" << html_text(new_name)
         << "</code></p>\n<span id=\"changed\"></span>\n"
            "<input type=\"checkbox\" id=\"changed-only\"><label class=\"control\" "
            "for=\"changed-only\">Show only changed rows</label>\n"
            "<p class=\"legend\"><span><del>old</del> → <ins>new</ins> value changed</span>"
            "<span><span class=\"before\">before</span> ⇒ <span class=\"shown\">now</span> "
            "same value, shown differently (a definition or catalog changed)</span>"
            "<span><b>+</b> added</span><span><b>−</b> removed</span></p>\n<main>\n";
    if (!catalogs.empty()) {
        text << "<section class=\"catalogs\" id=\"catalogs\">\n<h2>Catalog changes: "
             << counted(static_cast<long>(catalogs.size()), "field") << "</h2>\n<ul>\n";
        for (const FieldChange& change : catalogs) change_item(text, change, true);
        text << "</ul>\n</section>\n";
    }
    if (!findings.empty()) {
        long errors = 0;
        for (const Finding& f : findings) errors += f.severity == Severity::error ? 1 : 0;
        text << "<section class=\"findings\" id=\"lint\">\n<h2>Lint findings in the new "
                "configuration: "
             << counted(errors, "error") << ", "
             << counted(static_cast<long>(findings.size()) - errors, "warning") << "</h2>\n<ul>\n";
        for (const Finding& f : findings) {
            const char* severity = f.severity == Severity::error ? "error" : "warning";
            text << "<li class=\"" << severity << "\"><code>" << html_text(f.table) << "."
                 << html_text(f.column) << "</code> <b>" << severity << "</b> ";
            if (f.row >= 0) text << "[row " << f.row << "] ";
            text << html_text(f.message);
            if (f.more_rows > 0) text << " (and " << f.more_rows << " more)";
            text << "</li>\n";
        }
        text << "</ul>\n</section>\n";
    }
    out << text.str();
}

void html_report_table(Output& out, const TableResult& table) {
    const DiffSummary summary = summarise(table);
    std::ostringstream text;
    text << "<section class=\"table\" id=\"" << section_id(table.table) << "\">\n<h2>"
         << html_text(table.table) << "</h2>\n<p class=\"summary\" data-cells-changed=\""
         << summary.cells_changed << "\" data-rows-added=\"" << summary.rows_only_new
         << "\" data-rows-removed=\"" << summary.rows_only_old << "\">"
         << counted(summary.cells_changed, "cell") << " changed in "
         << counted(summary.rows_changed, "row") << ", " << counted(summary.rows_only_new, "row")
         << " added, " << counted(summary.rows_only_old, "row") << " removed";
    if (summary.cells_display_changed > 0)
        text << ", " << counted(summary.cells_display_changed, "cell") << " shown differently";
    text << " (old " << table.old_row_count << ", new " << table.new_row_count << " rows)";
    if (table.presence != TablePresence::both)
        text << "; the table is only in the "
             << (table.presence == TablePresence::only_old ? "old" : "new") << " database";
    long skipped = 0;
    for (long n : table.skipped) skipped += n;
    if (skipped > 0)
        text << "; " << counted(skipped, "unchanged row")
             << " not shown (kqfmt diff --context N sets how many rows are kept around each "
                "change)";
    text << "</p>\n";
    if (!table.definitions.empty()) {
        text << "<div class=\"definitions\"><h3>Definition changes: "
             << counted(static_cast<long>(table.definitions.size()), "field") << "</h3>\n<ul>\n";
        for (const FieldChange& change : table.definitions) change_item(text, change, false);
        text << "</ul></div>\n";
    }
    if (table.error)
        text << "<p class=\"table-error\">error: " << html_text(*table.error) << "</p>\n";
    text << "<div class=\"grid\"><table>\n<thead><tr><th>row</th>";
    for (const std::string& name : table.column_names) text << "<th>" << html_text(name) << "</th>";
    text << "</tr></thead>\n<tbody>\n";
    const std::size_t lines = line_count(table);
    for (std::size_t line = 0; line < lines; ++line) {
        skipped_row(text, table, line);
        const CellStatus status = line_status(table, line);
        const LinePair first = table.column_names.empty() ? LinePair() : line_pair(table, 0, line);
        const std::optional<CellText>& cell = first.new_cell ? first.new_cell : first.old_cell;
        text << "<tr class=\"" << status_name(status) << "\"><td class=\"row\">";
        if (status == CellStatus::added) text << "<span class=\"mark\">+</span> ";
        if (status == CellStatus::removed) text << "<span class=\"mark\">−</span> ";
        text << (cell ? std::to_string(cell->row) : std::to_string(line)) << "</td>";
        for (std::size_t c = 0; c < table.column_names.size(); ++c)
            write_cell(text, line_pair(table, c, line));
        text << "</tr>\n";
    }
    skipped_row(text, table, lines);
    text << "</tbody>\n</table></div>\n</section>\n";
    out << text.str();
}

void html_report_end(Output& out, const DiffSummary& total, std::size_t tables) {
    std::ostringstream text;
    text << "</main>\n<footer>In all " << counted(static_cast<long>(tables), "table") << ": "
         << counted(total.cells_changed, "cell") << " changed in "
         << counted(total.rows_changed, "row") << ", " << counted(total.rows_only_new, "row")
         << " added, " << counted(total.rows_only_old, "row") << " removed";
    if (total.cells_display_changed > 0)
        text << ", " << counted(total.cells_display_changed, "cell") << " shown differently";
    if (total.definitions_changed > 0)
        text << ", " << counted(total.definitions_changed, "definition field") << " changed";
    if (total.catalogs_changed > 0)
        text << ", " << counted(total.catalogs_changed, "catalog field") << " changed";
    if (total.tables_removed > 0)
        text << ", " << counted(total.tables_removed, "table") << " removed";
    if (total.tables_added > 0) text << ", " << counted(total.tables_added, "table") << " added";
    text << ". Written by kqfmt diff.</footer>\n</body>\n</html>\n";
    out << text.str();
}

}  // namespace kqfmt
