// JSON text for documents whose strings are arbitrary byte strings.
// nlohmann::json holds such strings fine but refuses to write bytes that are
// not UTF-8; this writer escapes them instead.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace kqfmt {

// Appends `bytes` as a quoted JSON string: '"' and '\' escaped, control
// characters as \b \f \n \r \t or \u00XX, well-formed UTF-8 copied as it
// is, and every byte that is not part of well-formed UTF-8 written as
// \u00XX (lower-case hex digits) on its own. Any byte string gives valid
// JSON.
void append_json_string(std::string& out, std::string_view bytes);

// The document as JSON text ending in a newline. Every string, keys
// included, goes through append_json_string. An object or array that holds
// only scalars is written on one line ({"row": 0, "value": "On"}); others
// put each member on its own line, indented two spaces per level.
std::string to_json_text(const nlohmann::ordered_json& document);

}  // namespace kqfmt
