// Turns a fuzz input into a formatting request: a local table, remote tables
// registered in a master table, a snapshot, system variables and the two
// column lists. The input is text, one record per line, fields separated by
// tabs, so that seeds are readable and the dictionary's markers splice in:
//
//   T<name>                      a new table; the first is the local table,
//                                every table is registered in the master
//   C<name> <type> <us_format> <units> <units_us> <is_date_time> <label_col>
//     <component_sel> <internal_name>
//                                a column of the current table (tab-separated;
//                                missing fields keep the defaults)
//   R<v0> <v1> ...               a row of the current table, values as text
//   O<n>                         row count of the snapshot of the local table
//   P<row> <column> <value>      a cell of that snapshot
//   V<name> <display>            a system variable
//   Q<column> <row,row,...>      a requested column, in both lists
//   A<column> <rows>             a requested column, in the old list only
//   B<column> <rows>             a requested column, in the new list only
//   I<text>                      the value every cell record holds before the call
//   D                            debug lines on
//   Z                            no snapshot: the old table is null and the old
//                                lists hold no cells
//
// Other lines are ignored. Sizes are capped so that one input stays fast.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kq_format_data.h"
#include "kq_host_table.h"
#include "kw_table.h"

namespace kqfuzz {

constexpr std::size_t kMaxTables = 8;
constexpr std::size_t kMaxColumns = 16;
constexpr int kMaxRows = 64;
constexpr std::size_t kMaxRequests = 24;
constexpr std::size_t kMaxCellsPerRequest = 48;

struct World {
    kqhost::MasterTable master;
    std::shared_ptr<KWTABLE> local;           // also registered in `master`
    std::shared_ptr<KQ_TABLE_COPY> snapshot;  // null for a "Z" input
    std::vector<kq_formatted_col_data_struct> old_columns;
    std::vector<kq_formatted_col_data_struct> new_columns;
    bool debug = false;
};

// Builds the world described by `data`. Never fails: malformed records are
// read as far as they go.
std::unique_ptr<World> decode_world(const uint8_t* data, std::size_t size);

}  // namespace kqfuzz
