// The library against the recording platform: the calls a real platform
// sees, in order, for a few column kinds where the order is visible to it.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "kq_format_data.h"
#include "recording_platform.h"

namespace {

using kqrec::Column;

struct Case {
    const char* name;
    Column local;                           // column 0 of the live table T
    std::vector<std::string> old_cells;     // column 0 of the snapshot "old"
    std::vector<Column> remote;             // columns of the remote tables below
    std::vector<const char*> remote_names;  // one remote table per name, all with `remote`
    std::vector<int> rows;                  // requested from both views
    const char* keep;                       // the calls compared (a regular expression)
    std::vector<std::string> calls;
    std::vector<std::string> old_values, new_values;
};

const Column kKey{"no", 15, "%s", "title", {"1", "2"}};
const Column kTitle{"title", 15, "%s", "", {"Line one", "Line two"}};

const Case kCases[] = {
    // Old cells first, then live ones; each view reads only its own table
    // and the row count is asked again before every cell.
    {"plain text column",
     {"name", 15, "%s", "", {"a"}},
     {"x", "y"},
     {},
     {},
     {0, 1, 5},
     R"(GetNumRows|Get\(|get_stored_rows|\.get\()",
     {"old.GetNumRows", "old.Get(0,0,string)", "old.GetNumRows", "old.Get(0,1,string)",
      "old.GetNumRows", "T.get_stored_rows", "T.get(0,0,string)", "T.get_stored_rows",
      "T.get_stored_rows"},
     {"x", "y", ""},
     {"a", "", ""}},
    // The remote table is found through the master table and refreshed
    // before it is read; its row count is asked again before every row.
    {"labelled remote list",
     {"line", 9, "Line=LINES.no,__no_free_edit__", "", {"2"}},
     {"1"},
     {kKey, kTitle},
     {"LINES"},
     {0},
     R"(^(master|LINES)\.(get_class_pointer|read_table_data|get_stored_rows|get\())",
     {"master.get_class_pointer(LINES)", "LINES.read_table_data", "LINES.get_stored_rows",
      "LINES.get(0,0,string)", "LINES.get(title,0,string)", "LINES.get_stored_rows",
      "LINES.get(0,1,string)", "LINES.get(title,1,string)", "LINES.get_stored_rows"},
     {"Line one"},
     {"Line two"}},
    // A row template names one remote table per old row, looked up and
    // read anew for each; a table the master does not have ends that row.
    {"row template",
     {"line", 9, "Line=LINE[__ROW_NUM__].no,__no_free_edit__", "", {"1", "2"}},
     {"2", "1"},
     {kKey, kTitle},
     {"LINE1"},
     {0, 1},
     R"(^(master|LINE\d)\.(get_class_pointer|read_table_data|get_stored_rows))",
     {"master.get_class_pointer(LINE1)", "LINE1.read_table_data", "LINE1.get_stored_rows",
      "LINE1.get_stored_rows", "LINE1.get_stored_rows", "master.get_class_pointer(LINE2)"},
     {"Line two", ""},
     {"Line one", ""}},
};

TEST(PlatformCalls, OrderSeenByThePlatform) {
    for (const Case& c : kCases) {
        kqrec::Table live("T", {c.local});
        kqrec::Snapshot old("old", {c.old_cells});
        std::vector<kqrec::Table> remotes;
        remotes.reserve(c.remote_names.size());
        kqrec::Master master;
        for (const char* name : c.remote_names) {
            remotes.emplace_back(name, c.remote);
            master.tables[name] = &remotes.back();
        }
        std::vector<kq_formatted_col_data_struct> old_cols(1), new_cols(1);
        for (int row : c.rows) {
            old_cols[0].cells.push_back({row, ""});
            new_cols[0].cells.push_back({row, ""});
        }
        kqrec::call_log().clear();
        KQ_FORMAT_DATA formatter(&master);
        formatter.GetFormattedValue(&old, &live, old_cols, new_cols);

        std::vector<std::string> seen;
        const std::regex keep(c.keep);
        for (const std::string& call : kqrec::call_log())
            if (std::regex_search(call, keep)) seen.push_back(call);
        EXPECT_EQ(seen, c.calls) << c.name;
        for (size_t i = 0; i < c.rows.size(); ++i) {
            EXPECT_EQ(old_cols[0].cells[i].value, c.old_values[i]) << c.name << ", old " << i;
            EXPECT_EQ(new_cols[0].cells[i].value, c.new_values[i]) << c.name << ", new " << i;
        }
    }
}

}  // namespace
