// Which formatter a column goes to, decided once from what the live table
// says of the column, with an optional record of every test and why it held.
#pragma once

#include <string>

#include "core/formatter.h"
#include "core/text_search.h"
#include "kq_format_trace.h"

namespace kq {

// Where the integer or floating-point test looked: the keyword form
// ("int(%", "float(%"), else the first conversion letter (the fallback
// letter only when the first is absent) and the last "%" at or before it.
struct NumericSyntaxMatch {
    Pos keyword = kNone;
    Pos letter = kNone;
    bool used_fallback = false;
    Pos percent = kNone;
    bool held() const { return keyword != kNone || (letter != kNone && percent == 0); }
};
NumericSyntaxMatch match_int_format(const std::string& format);
NumericSyntaxMatch match_float_format(const std::string& format);

// What the dispatcher knows of a column before choosing its formatter, all
// read from the live table.
struct ColumnFacts {
    const std::string& format;
    int type;
    int is_date_time;                  // the table's date/time flag
    const std::string& component_sel;  // non-empty: values are system-variable names
};

// The dispatcher's order: float and double columns always go to the
// floating-point formatter; 32-bit integers try the integer, date/time and
// floating-point tests; everything else (and integers none of those took)
// takes the general path. Raises std::out_of_range for an empty format on
// the general path. Steps go to `trace` when it is not null.
KQ_COLUMN_KIND classify_column(Formatter& formatter, const ColumnFacts& facts,
                               KQ_FORMAT_TRACE* trace);

// The general path after the trigger-dependency test: static pick list,
// remote pick list, string (system-variable names or plain values), or
// nothing. A trigger dependency that no numeric formatter took chooses its
// family by the same chain.
KQ_COLUMN_KIND classify_list_or_string(Formatter& formatter, const ColumnFacts& facts,
                                       KQ_FORMAT_TRACE* trace);

// The library operation that formats a column of `kind`.
const char* formatter_name(KQ_COLUMN_KIND kind);

}  // namespace kq
