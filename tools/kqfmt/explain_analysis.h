// kqfmt explain: what the formatter library makes of one format string for
// a column of a given type, worked out with the library's own predicates,
// resolvers and parsers on a scratch table.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace kqfmt {

struct ExplainRequest {
    std::string format;
    int type = 15;
    bool date_time = false;  // the table flags the column as date/time
};

// The explanation as a document (the --json output); explain_text renders
// it for people. Members, in order:
//   "format", "type", "type_name", "date_time_flag";
//   "tests": the tests the formatter makes, in its order, each
//     {"test", "holds", "why"}; "not_asked": the other classification tests;
//   "formatter": float | integer | date_time | trigger_dependency |
//     static_pick_list | remote_pick_list | string | none | error,
//     "function": the library operation that formats the column;
//   "error": the text of the exception the formatter raises, when it does;
//   then what that formatter reads from the format (see explain_analysis.cpp):
//   "specifier", "units", "trigger", "time", "pick_list", "remote", "shows";
//   "notes": remarks on texts the formatter does not read.
nlohmann::ordered_json explain_format(const ExplainRequest& request);

}  // namespace kqfmt
