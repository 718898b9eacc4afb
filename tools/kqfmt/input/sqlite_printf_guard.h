// SQLite's printf() (and its other name, format()) gives an empty string,
// without any error, when its result would pass the connection's length
// limit. A generated column or a script could then show an empty value
// where the database holds a long one. The guard puts its own printf() in
// their place on a connection: it refuses a call whose result could pass
// the limit, and has every other call made by SQLite's own printf().
#pragma once

#include <cstdint>

struct sqlite3;

namespace kqfmt {

// Registers the guarded printf() and format() on `db`, for results of at
// most `limit` bytes. Returns SQLite's result code.
int guard_printf(sqlite3* db, std::int64_t limit);

}  // namespace kqfmt
