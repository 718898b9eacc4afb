// One remote reference "TABLE.COLUMN" parsed into a name map, with what the
// caller needs to do less work when it parses many references in one call.
#pragma once

#include <set>
#include <string>
#include <utility>

#include "core/formatter.h"

namespace kq {

// Labelled remote columns (table name, column number) whose rows were read
// into one name map during one call. Reading such a column again into the
// same map adds nothing, since the map keeps the name a key already has and
// every key of the column is already there. Valid only while the map only
// grows: whoever empties the map must forget these too.
using LabelledColumnsRead = std::set<std::pair<std::string, int>>;

// How a reference showed the local column.
enum class RemoteOutcome {
    kFailed,     // no such table or column: nothing written
    kIntFormat,  // every cell with the remote column's integer format
    kPlain,      // every cell as its plain value
    kSystemVar,  // every cell by its system-variable display name
    kLabelled,   // the remote labels were added to the name map
};

struct RemoteReferenceOptions {
    LabelledColumnsRead* read = nullptr;  // skip columns already read, when set
    bool defer_plain = false;             // report kPlain without writing the cells
};

// Parses `reference` as parseRemotePickList does and says which way it went.
// Returns 0 when the table or column is not found, else 1.
int parse_remote_reference(Formatter& formatter, const std::string& reference, KQ_NAME_MAP& names,
                           KQ_TABLE_COPY* oldTable, KWTABLE* newTable, long column,
                           KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells,
                           const RemoteReferenceOptions& options, RemoteOutcome& outcome);

}  // namespace kq
