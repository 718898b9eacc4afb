// Formatting the old database by itself, only where that can differ from
// the old view.
#include "run/before_view.h"

#include <algorithm>
#include <set>
#include <vector>

#include "input/sqlite_db.h"
#include "kq_host_log.h"

namespace kqfmt {
namespace {

bool same_definition(const kqhost::ColumnDef& a, const kqhost::ColumnDef& b) {
    return a.name == b.name && a.type == b.type && a.us_format == b.us_format &&
           a.units == b.units && a.units_us == b.units_us && a.is_date_time == b.is_date_time &&
           a.label_col == b.label_col && a.component_sel == b.component_sel &&
           a.internal_name == b.internal_name;
}

// The old database's units while it lives, the new one's again after.
class OldUnits {
public:
    OldUnits(const Configuration& old_config, const Configuration& new_config) : new_(new_config) {
        use_units(old_config);
    }
    ~OldUnits() { use_units(new_); }
    OldUnits(const OldUnits&) = delete;
    OldUnits& operator=(const OldUnits&) = delete;

private:
    const Configuration& new_;
};

// Whether the table holds the same rows in both databases, in the same
// order, value by value as SQLite stores them. Read straight from the
// databases: nothing is kept.
bool same_rows(SqliteDb& old_db, SqliteDb& new_db, const std::string& table) {
    const std::string select = "SELECT * FROM " + quote_identifier(table);
    Statement a = old_db.prepare(select);
    Statement b = new_db.prepare(select);
    a.set_context("table '" + table + "'");
    b.set_context("table '" + table + "'");
    if (a.column_count() != b.column_count()) return false;
    for (;;) {
        const bool more = a.step();
        if (more != b.step()) return false;
        if (!more) return true;
        for (int c = 0; c < a.column_count(); ++c) {
            if (a.is_null(c) != b.is_null(c) || a.is_integer(c) != b.is_integer(c) ||
                a.is_real(c) != b.is_real(c))
                return false;
            const bool same = a.is_null(c)      ? true
                              : a.is_integer(c) ? a.integer(c) == b.integer(c)
                              : a.is_real(c)    ? a.real(c) == b.real(c)
                                                : a.text(c) == b.text(c);
            if (!same) return false;
        }
    }
}

}  // namespace

BeforeView::BeforeView(Configuration& old_config, SqliteDb& old_db, Configuration& new_config,
                       SqliteDb& new_db)
    : old_(old_config),
      new_(new_config),
      old_db_(old_db),
      new_db_(new_db),
      catalogs_differ_(old_config.units.size() != new_config.units.size() ||
                       old_config.sys_vars != new_config.sys_vars) {
    for (const auto& [name, unit] : old_.units) {
        const auto other = new_.units.find(name);
        if (other == new_.units.end() || other->second.id != unit.id ||
            other->second.display != unit.display || other->second.quantity != unit.quantity ||
            other->second.scale != unit.scale || other->second.offset != unit.offset)
            catalogs_differ_ = true;
    }
    for (const Configuration* config : {&old_, &new_}) {
        for (const auto& entry : config->tables) {
            names_.insert(entry.first);
            name_lengths_.insert(entry.first.size());
        }
    }
}

std::vector<std::string> BeforeView::named_tables(const std::string& format) const {
    // A format reaches another table only through a reference "TABLE.COLUMN":
    // a table name ends right before a ".". Only the lengths names have are
    // tried, so the cost follows the format, not the number of tables.
    std::vector<std::string> found;
    for (std::size_t dot = format.find('.'); dot != std::string::npos;
         dot = format.find('.', dot + 1)) {
        for (std::size_t length : name_lengths_) {
            if (length > dot) break;
            std::string candidate = format.substr(dot - length, length);
            if (names_.count(candidate) != 0 &&
                std::find(found.begin(), found.end(), candidate) == found.end())
                found.push_back(std::move(candidate));
        }
    }
    return found;
}

bool BeforeView::same_in_itself(const std::string& name) {
    const auto old_entry = old_.tables.find(name);
    const auto new_entry = new_.tables.find(name);
    if (old_entry == old_.tables.end() || new_entry == new_.tables.end()) return false;
    const kqhost::TableData& o = *old_entry->second;
    const kqhost::TableData& n = *new_entry->second;
    bool same = o.column_count() == n.column_count() && o.row_count() == n.row_count() &&
                old_.described[name] == new_.described[name];
    for (int c = 0; same && c < n.column_count(); ++c)
        same = same_definition(*o.column(c), *n.column(c));
    return same && same_rows(old_db_, new_db_, name);
}

bool BeforeView::same_table(const std::string& name) {
    const auto known = same_.find(name);
    if (known != same_.end()) return known->second;
    // The table and every table its formats name, and those theirs, in
    // turn: a work list, not recursion, however long the chain.
    std::vector<std::string> pending(1, name);
    std::set<std::string> seen(pending.begin(), pending.end());
    bool same = true;
    while (same && !pending.empty()) {
        const std::string next = std::move(pending.back());
        pending.pop_back();
        const auto decided = same_.find(next);
        if (decided != same_.end()) {
            same = decided->second;  // its reach was checked with it
            continue;
        }
        same = same_in_itself(next);
        if (!same) break;  // also where only one database has the table
        const kqhost::TableData& data = *new_.tables.at(next);
        for (int c = 0; c < data.column_count(); ++c)
            for (std::string& named : named_tables(data.column(c)->us_format))
                if (seen.insert(named).second) pending.push_back(std::move(named));
    }
    same_[name] = same;
    return same;
}

bool BeforeView::can_differ(const std::string& table, int column) {
    const kqhost::TableData& o = *old_.tables.at(table);
    const kqhost::TableData& n = *new_.tables.at(table);
    if (column >= o.column_count()) return false;  // no old cell to show
    if (catalogs_differ_ || !same_definition(*o.column(column), *n.column(column))) return true;
    // A trigger dependency reads the other columns of the row from the live
    // table, also for the old view; a row-numbered reference builds table
    // names from values.
    const std::string& format = n.column(column)->us_format;
    if (!format.empty() && format[0] == '@') return true;
    if (format.find("__ROW_NUM__") != std::string::npos) return true;
    for (const std::string& name : named_tables(format))
        if (name == table || !same_table(name)) return true;
    return false;
}

TableResult BeforeView::format_old(const std::string& name, const Request& request) {
    kqhost::LiveTable& live = *old_.master.data().find(name);
    kqhost::TableCopy copy(old_.tables.at(name));
    // The log belongs to the run the user asked for; what the old database
    // would have logged is not part of it.
    kqhost::ScopedLogSink quiet([](const kqhost::LogRecord&) {});
    OldUnits units(old_, new_);
    KQ_FORMAT_DATA formatter(&old_.master);
    return format_table(formatter, live, copy, request);
}

void BeforeView::add_before(TableResult& result, const Request& request) {
    result.before.assign(request.columns.size(), ColumnText());
    if (old_.tables.find(result.table) == old_.tables.end()) return;
    for (std::size_t i = 0; i < request.columns.size(); ++i) {
        if (!can_differ(result.table, request.columns[i])) continue;
        // One column at a time: the formatter keeps nothing from one column
        // to the next, and only one column's extra cells are held at once.
        Request one = request;
        one.columns.assign(1, request.columns[i]);
        TableResult own = format_old(result.table, one);
        if (own.error) continue;
        ColumnText& before = own.new_columns[0];
        const ColumnText& old_view = result.old_columns[i];
        bool differs = false;
        for (std::size_t line = 0; line < before.size() && line < old_view.size() && !differs;
             ++line)
            differs =
                result.old_rows[line] < result.old_row_count && before[line] != old_view[line];
        if (differs) result.before[i] = std::move(before);
    }
}

TableResult BeforeView::removed_table(const std::string& name, const Request& request) {
    TableResult own = format_old(name, request);
    // What the old database showed becomes the old side; the new side has
    // the same columns without cells.
    TableResult removed;
    removed.table = own.table;
    removed.column_names = std::move(own.column_names);
    removed.old_columns = std::move(own.new_columns);
    removed.old_rows = std::move(own.new_rows);
    for (const auto& column : removed.old_columns)
        removed.new_columns.emplace_back(column.column());
    removed.old_row_count = own.new_row_count;
    removed.error = std::move(own.error);
    removed.presence = TablePresence::only_old;
    return removed;
}

}  // namespace kqfmt
