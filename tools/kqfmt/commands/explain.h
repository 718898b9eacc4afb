// kqfmt explain: what the formatter library makes of one format string for
// a column of a given type. The column is formatted once, on a scratch
// table, with the library's trace switched on; the document shows the
// trace, the sample cells and every log record the library wrote.
#pragma once

#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "kq_format_trace.h"

namespace kqfmt {

struct ExplainRequest {
    std::string format;
    int type = 15;
    bool date_time = false;  // the table flags the column as date/time
};

// The explanation as a document (the --json output). Members, in order:
// "format", "type", "type_name", "date_time_flag"; "formatter" (the kind's
// name) and "function" (the library operation); "tests": each
// {"test", "holds", "why"} in the order made; "read": each
// {"topic", "row", "text"} a formatter noted (row null: the whole column);
// "sample": each {"row", "case", "shows"}; "log": each record's
// {"kind", "message"}; "error": the text of an error the library raised.
nlohmann::ordered_json explain_format(const ExplainRequest& request);

// Adds the trace's "formatter", "function", "tests" and "read" members (as
// explain_format describes them) to `doc`; "error" as the formatter when
// the library raised `error`.
void add_trace(nlohmann::ordered_json& doc, const KQ_FORMAT_TRACE& trace, const std::string& error);

// Runs `call` with the library's debug lines on, each log record it writes
// appended to `log` as {"kind", "message"}.
void with_log_collected(nlohmann::ordered_json& log, const std::function<void()>& call);

// A short description of a data type code ("signed 32-bit integer").
const char* explain_type_name(int type);

// The document as labelled lines for people (also that of explain_column:
// its table and column, rows and findings). Every text from the format
// passes through printable_text, so it cannot drive the terminal.
std::string explain_text(const nlohmann::ordered_json& document);

}  // namespace kqfmt
