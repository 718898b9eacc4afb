// Why a format-string test comes out as it does: the positions of the
// texts the test looks for, in words. The verdict itself always comes from
// the library's predicate; these texts only point at what decided it.
#pragma once

#include <string>

namespace kqfmt {

// The first character, "@" or not (the format must not be empty).
std::string why_trigger_dependency(const std::string& format);
// "__DATE_TIME__" in the format, else the column's date/time flag.
std::string why_date_time(const std::string& format, bool flagged);
// Keyword "int(%", else the first "d" (or, without any "d", the first "u")
// and the last "%" at or before it.
std::string why_int(const std::string& format);
// The same with "float(%", "g" and "f".
std::string why_float(const std::string& format);
// "%s", the first "(" and whether "__FILTER__" opens the list.
std::string why_static_picklist(const std::string& format);
// An "=" with a "." after it; else whether the format is a numeric one (the
// library's verdicts `is_float`, `is_int`); else any ".".
std::string why_remote_picklist(const std::string& format, bool is_float, bool is_int);
// "%s" anywhere.
std::string why_string_format(const std::string& format);

}  // namespace kqfmt
