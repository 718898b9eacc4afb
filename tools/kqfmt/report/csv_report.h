// Tables as delimited text for spreadsheets and scripts: CSV (RFC 4180)
// and TSV.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "report/output.h"
#include "run/field_change.h"
#include "run/format_run.h"

namespace kqfmt {

enum class Delimited { csv, tsv };

// One CSV field: quoted (with '"' doubled) when it holds a comma, a quote,
// CR or LF, else as it is.
std::string csv_field(std::string_view value);

// One TSV field: backslash, tab, LF and CR written as \\ \t \n \r.
std::string tsv_field(std::string_view value);

// One table as a block of its own with a header row. `show`: "table",
// "row", then one field per column with the live view's value. `diff`:
// "table", "row", "status" (of the row: same, changed, added or removed),
// then per column its new value and, headed "NAME (old)", its old value
// (empty for a row only the other view has); a column whose old database
// showed some cells otherwise than its old view adds "NAME (before)" with
// that text, and the status of such a row can be "display". A table with
// definition changes starts with a block of them (see
// write_delimited_changes) and an empty line. CSV lines end in CRLF, TSV
// lines in LF. Values are written as the library made them, byte for byte.
// A table whose formatting raised an error gets a line
// "kqfmt: table NAME: ERROR" on `err`. The caller separates blocks with an
// empty line.
// diff: changes as a block of their own: "table,column,field,old,new" for
// definitions, "catalog,name,field,old,new" for catalog entries, one record
// per change; a side without the field is an empty field.
void write_delimited_changes(Output& out, const std::vector<FieldChange>& changes, Delimited kind,
                             bool catalogs);

void write_delimited_table(Output& out, std::ostream& err, const TableResult& table, Delimited kind,
                           bool diff);

}  // namespace kqfmt
