// The CREATE statements of an empty configuration database.
#pragma once

namespace kqfmt {

// SQL that creates the three catalog tables kqfmt reads (kq_columns,
// kq_units, kq_sysvars), with a comment per column; `kqfmt schema |
// sqlite3 my.db` starts a configuration database.
const char* schema_text();

}  // namespace kqfmt
