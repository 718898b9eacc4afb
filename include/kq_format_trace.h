// Why a column is shown the way it is: an optional record of the tests the
// dispatcher made for one column and of what the chosen formatter read from
// the format string. A host may use it to show an engineer why a column
// looks as it does; nothing here changes what is formatted.
#pragma once

#include <string>
#include <vector>

#include "kq_export.h"
#include "kq_format_data.h"

// The formatter a column goes to.
enum class KQ_COLUMN_KIND : int {
    NONE,  // no test held: the cells keep their values
    FLOAT,
    INTEGER,
    DATE_TIME,
    TRIGGER_DEPENDENCY,
    STATIC_PICK_LIST,
    REMOTE_PICK_LIST,
    SYSTEM_VARIABLE,
    PLAIN_VALUE,
};

// One classification test: its name (the library operation, or "numeric
// type"), whether it held, and the positions or facts that decided it.
struct KQ_TRACE_STEP {
    std::string test;
    bool held = false;
    std::string why;
};

// One thing a formatter read while formatting: `topic` says what
// ("specifier", "unit", "time format", "pick list", "remote reference", ...),
// `row` the row it was read for (-1: for the whole column), `text` the value.
//
// Some topics record a decision the library makes without a log line:
//   "missing trigger column"     the trigger column's name
//   "trigger without pick list"  "NAME (format \"FORMAT\")": no case has a value
//   "unknown case"               "[CASE] (TRIGGER: NAME, NAME, ...)": the case
//                                the trigger's list does not name
//   "trigger value"              per row: "VALUE: case [CASE]" or
//                                "VALUE: no case in force"
//   "unit conversion", "failed unit conversion"
//                                "[case [CASE]: ]FROM -> TO", the second when
//                                the converter refuses the pair of units
//   "unused label column", "unused component selection"
//                                "'NAME' of TABLE.COLUMN is not read: WHY"
//                                ("of this column" for the referencing
//                                column's own label column)
//   "unprintable type"           "type N, KIND format": the formatter cannot
//                                print the column's type
//   "no remote reference"        the format a remote pick list read no
//                                reference from
struct KQ_TRACE_NOTE {
    std::string topic;
    long row = -1;
    std::string text;
};

struct KQ_FORMAT_TRACE {
    KQ_COLUMN_KIND kind = KQ_COLUMN_KIND::NONE;
    // The library operation that formats the column.
    std::string formatter;
    // The tests in the order they were made; a trigger dependency's own
    // choice of pick list or string family follows the dispatcher's tests.
    std::vector<KQ_TRACE_STEP> steps;
    std::vector<KQ_TRACE_NOTE> notes;
};

// A short lower-case name for a kind ("float", "static pick list", ...).
KQ_EXPORT const char* KQ_ColumnKindName(KQ_COLUMN_KIND kind);

// Formats exactly as KQ_FORMAT_DATA::GetFormattedValue does, with `master`
// as the master table (may be null), and records into `trace` (cleared
// first) the tests made and what the formatters read. Meant for one column
// a call (lists of one entry each): the steps and notes of every position
// are appended, `kind` and `formatter` are those of the last. Returns 1 and
// raises what GetFormattedValue raises (std::out_of_range for an empty
// format on the general path); the trace then holds the steps made so far.
KQ_EXPORT int KQ_TraceFormattedValue(KW_MASTER_TABLE* master, KQ_TABLE_COPY* oldTable,
                                     KWTABLE* newTable,
                                     std::vector<kq_formatted_col_data_struct>& oldColumns,
                                     std::vector<kq_formatted_col_data_struct>& newColumns,
                                     KQ_FORMAT_TRACE& trace);
