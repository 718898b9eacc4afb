// The display unit a trigger-dependency format names for one case.
#pragma once

#include <string>

namespace kq {

// The unit name of `caseName`: the text after the first "UNIT=" at or after
// the first occurrence of the case name in `format`, up to the next ")" (or
// the end). Returns false, leaving `name` as it was, when the case name or a
// "UNIT=" after it is missing.
bool unit_named_for_case(const std::string& format, const std::string& caseName, std::string& name);
// The same when the first occurrence of the case name is known: `caseAt`
// (npos when the name does not occur).
bool unit_named_at(const std::string& format, std::string::size_type caseAt, std::string& name);

}  // namespace kq
