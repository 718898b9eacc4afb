// What the old database showed by itself: its own definitions, catalogs
// and remote tables applied to its own values, as `kqfmt show OLD` formats
// them. diff compares it with the new view to find cells the operator sees
// differently although their values did not change.
#pragma once

#include <map>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "input/config_loader.h"
#include "run/format_run.h"

namespace kqfmt {

class BeforeView {
public:
    // Both configurations and their databases stay owned by the caller; the
    // new one's units are the process's catalog outside the calls below.
    BeforeView(Configuration& old_config, SqliteDb& old_db, Configuration& new_config,
               SqliteDb& new_db);

    // Fills result.before for the columns of `request` whose old database's
    // text can differ from the old view: the column's definition differs,
    // a catalog differs, its format depends on other columns of the row, or
    // it names a table that is not the same in both databases. A column the
    // old database cannot format (the call raises an error) gets none.
    void add_before(TableResult& result, const Request& request);

    // The old database's table `name`, as it showed it, as a table the new
    // database has removed: every row only in the old view.
    TableResult removed_table(const std::string& name, const Request& request);

private:
    bool can_differ(const std::string& table, int column);
    // The tables a format names in a reference "TABLE.COLUMN".
    std::vector<std::string> named_tables(const std::string& format) const;
    // Same definitions and rows in both databases.
    bool same_in_itself(const std::string& name);
    // That, and the same for every table its formats name, in turn.
    bool same_table(const std::string& name);
    TableResult format_old(const std::string& name, const Request& request);

    Configuration& old_;
    Configuration& new_;
    SqliteDb& old_db_;
    SqliteDb& new_db_;
    bool catalogs_differ_;
    std::map<std::string, bool> same_;       // same_table, once per name
    std::unordered_set<std::string> names_;  // tables of either database
    std::set<std::size_t> name_lengths_;     // their lengths, ascending
};

}  // namespace kqfmt
