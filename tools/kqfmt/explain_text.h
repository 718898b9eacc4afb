// The human form of kqfmt explain's document.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace kqfmt {

// Renders the document of explain_format as labelled lines. Every text from
// the format passes through printable_text, so it cannot drive the
// terminal; texts are shown in double quotes.
std::string explain_text(const nlohmann::ordered_json& document);

}  // namespace kqfmt
