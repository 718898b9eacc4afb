// kq_lint_ignore: the findings a configuration accepts.
#include "input/lint_ignore_table.h"

#include "input/sqlite_db.h"

namespace kqfmt {

std::vector<LintIgnore> read_lint_ignore(SqliteDb& db) {
    Statement rows = db.prepare("SELECT * FROM kq_lint_ignore");
    rows.set_context("table 'kq_lint_ignore'");
    const int table = rows.find_column("table_name"), column = rows.find_column("column_name"),
              rule = rows.find_column("rule");
    const auto field = [&rows](int index) -> std::optional<std::string> {
        if (index < 0 || rows.is_null(index)) return std::nullopt;
        return rows.text(index);
    };
    std::vector<LintIgnore> entries;
    while (rows.step()) entries.push_back({field(table), field(column), field(rule)});
    return entries;
}

}  // namespace kqfmt
