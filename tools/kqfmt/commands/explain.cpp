// kqfmt explain, worked out by the library itself: the column is formatted
// through KQ_TraceFormattedValue, which records the dispatcher's tests and
// what the chosen formatter read. Nothing here decides a verdict.
#include "commands/explain.h"

#include <memory>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "kq_format_trace.h"
#include "kq_host_log.h"
#include "kq_host_table.h"
#include "kw_table.h"
#include "text/utf8_text.h"

namespace kqfmt {
namespace {

using Json = nlohmann::ordered_json;

}  // namespace

const char* explain_type_name(int type) {
    switch (type) {
        case KQ_TYPE_BYTE: return "one byte";
        case KQ_TYPE_UINT32: return "unsigned 32-bit integer";
        case KQ_TYPE_INT32: return "signed 32-bit integer";
        case KQ_TYPE_FLOAT: return "single-precision float";
        case KQ_TYPE_DOUBLE: return "double-precision float";
        case KQ_TYPE_STRING: return "string";
        default:
            return type >= KQ_TYPE_OTHER_NUMERIC_FIRST && type <= KQ_TYPE_OTHER_NUMERIC_LAST
                       ? "numeric type this library does not read"
                       : "type this library does not read";
    }
}

namespace {

// The case names written in "[" "]" after the format's "{", so that the
// scratch table can give each case a row where it is in force. Only the
// sample data depends on this; the library decides which case is in force.
std::vector<std::string> case_names(const std::string& format) {
    std::vector<std::string> names;
    std::string::size_type open = format.find('{');
    while (open != std::string::npos && (open = format.find('[', open)) != std::string::npos) {
        const std::string::size_type close = format.find(']', open + 1);
        if (close == std::string::npos) break;
        names.push_back(format.substr(open + 1, close - open - 1));
        open = close;
    }
    return names;
}

// The stored sample: a value that shows the specifier's effect, or a time.
void store_sample(kqhost::TableData& data, int column, int row, const ExplainRequest& request) {
    if (request.type == KQ_TYPE_FLOAT || request.type == KQ_TYPE_DOUBLE)
        data.store_real(column, row, 1234.5678);
    else if (request.date_time || request.format.find("__DATE_TIME__") != std::string::npos)
        data.store_integer(column, row, request.date_time ? 1000000000 : 3725);
    else if (request.type == KQ_TYPE_UINT32 || request.type == KQ_TYPE_INT32)
        data.store_integer(column, row, request.type == KQ_TYPE_UINT32 ? 42 : -42);
    else
        data.store_text(column, row, "1");
}

}  // namespace

void with_log_collected(nlohmann::ordered_json& log, const std::function<void()>& call) {
    kqhost::ScopedLogSink sink([&log](const kqhost::LogRecord& record) {
        log.push_back({{"kind", record.sys ? "sys" : "debug"}, {"message", record.message}});
    });
    kqhost::ScopedDebugLevel debug(1);
    call();
}

void add_trace(nlohmann::ordered_json& doc, const KQ_FORMAT_TRACE& trace,
               const std::string& error) {
    using Json = nlohmann::ordered_json;
    doc["formatter"] = error.empty() ? KQ_ColumnKindName(trace.kind) : "error";
    doc["function"] = error.empty() ? trace.formatter : "GetFormattedValue";
    doc["tests"] = Json::array();
    for (const KQ_TRACE_STEP& step : trace.steps)
        doc["tests"].push_back({{"test", step.test}, {"holds", step.held}, {"why", step.why}});
    doc["read"] = Json::array();
    for (const KQ_TRACE_NOTE& note : trace.notes)
        doc["read"].push_back({{"topic", note.topic},
                               {"row", note.row < 0 ? Json(nullptr) : Json(note.row)},
                               {"text", note.text}});
}

Json explain_format(const ExplainRequest& request) {
    // The explained column, and a trigger column whose row k holds the value
    // its own format gives case k ("@NAME{" names it); one more row has no
    // case in force.
    auto data = std::make_shared<kqhost::TableData>("EXPLAIN");
    const std::vector<std::string> cases = case_names(request.format);
    const std::string::size_type brace = request.format.find('{');
    const bool trigger =
        !request.format.empty() && request.format[0] == '@' && brace != std::string::npos;
    if (trigger) {
        kqhost::ColumnDef column;
        column.name = request.format.substr(1, brace - 1);
        for (std::size_t k = 0; k < cases.size(); ++k)
            column.us_format += cases[k] + "(" + std::to_string(k) + ")\n";
        data->add_column(column);
    }
    kqhost::ColumnDef explained;
    explained.name = "explained";
    explained.type = request.type;
    explained.us_format = request.format;
    explained.is_date_time = request.date_time ? 1 : 0;
    const int column = data->add_column(explained);
    // Without cases, two rows: a row template then takes two references.
    const int rows = trigger ? static_cast<int>(cases.size()) + 1 : 2;
    data->set_row_count(rows);
    for (int row = 0; row < rows; ++row) {
        if (trigger) data->store_text(0, row, row < rows - 1 ? std::to_string(row) : "-");
        store_sample(*data, column, row, request);
    }
    kqhost::MasterTable master;
    master.data().add_table(data);
    KWTABLE* live = master.get_class_pointer("EXPLAIN");
    kqhost::TableCopy snapshot(data->clone());

    std::vector<kq_formatted_col_data_struct> oldColumns(1), newColumns(1);
    oldColumns[0].column = newColumns[0].column = column;
    for (int row = 0; row < rows; ++row) {
        oldColumns[0].cells.push_back({row, ""});
        newColumns[0].cells.push_back({row, ""});
    }

    Json log = Json::array();
    KQ_FORMAT_TRACE trace;
    std::string error;
    with_log_collected(log, [&] {
        try {
            KQ_TraceFormattedValue(&master, &snapshot, live, oldColumns, newColumns, trace);
        } catch (const std::out_of_range& e) {
            // The library raises this for a column without a format string.
            error = request.format.empty() && !request.date_time
                        ? std::string("the format string is empty; a column needs one (") +
                              e.what() + ")"
                        : std::string("the formatter raised an error (") + e.what() + ")";
        } catch (const std::exception& e) {
            error = std::string("the formatter raised an error (") + e.what() + ")";
        }
    });

    Json doc;
    doc["format"] = request.format;
    doc["type"] = request.type;
    doc["type_name"] = explain_type_name(request.type);
    doc["date_time_flag"] = request.date_time;
    add_trace(doc, trace, error);
    doc["sample"] = Json::array();
    for (const _kq_fomatted_cell_data_struct& cell : newColumns[0].cells) {
        const bool named = trigger && cell.row < rows - 1;
        doc["sample"].push_back(
            {{"row", cell.row},
             {"case", named ? Json(cases[static_cast<std::size_t>(cell.row)]) : Json(nullptr)},
             {"shows", cell.value}});
    }
    doc["log"] = std::move(log);
    if (!error.empty()) doc["error"] = error;
    return doc;
}

namespace {

void label(std::ostream& out, const char* name, const std::string& text) {
    std::string padded = name;
    padded.resize(12, ' ');
    out << padded << text << '\n';
}

std::string q(const Json& text) { return "\"" + printable_text(text.get<std::string>()) + "\""; }

}  // namespace

std::string explain_text(const Json& doc) {
    std::ostringstream out;
    if (doc.contains("column"))
        label(out, "column",
              printable_text(doc["table"].get<std::string>() + "." +
                             doc["column"].get<std::string>()));
    label(out, "format", q(doc["format"]));
    std::string type =
        std::to_string(doc["type"].get<int>()) + " (" + doc["type_name"].get<std::string>() + ")";
    if (doc["date_time_flag"].get<bool>()) type += ", flagged date/time";
    label(out, "type", type);
    std::string formatter = doc["formatter"];
    if (!doc["function"].get<std::string>().empty())
        formatter += " (" + doc["function"].get<std::string>() + ")";
    label(out, "formatter", formatter);
    if (doc.contains("error")) label(out, "error", printable_text(doc["error"].get<std::string>()));

    out << "\ntests, in the formatter's order:\n";
    std::size_t width = 0;
    for (const Json& t : doc["tests"]) width = std::max(width, t["test"].get<std::string>().size());
    for (const Json& t : doc["tests"]) {
        const std::string name = t["test"];
        out << "  " << name << std::string(width - name.size() + 2, ' ')
            << (t["holds"].get<bool>() ? "yes" : "no ") << "  "
            << printable_text(t["why"].get<std::string>()) << '\n';
    }
    if (!doc["read"].empty()) {
        out << "\nread from the format:\n";
        for (const Json& n : doc["read"]) {
            std::string topic = n["topic"];
            if (!n["row"].is_null()) topic += " (row " + std::to_string(n["row"].get<long>()) + ")";
            topic.resize(std::max<std::size_t>(topic.size() + 2, 24), ' ');
            out << "  " << printable_text(topic) << printable_text(n["text"].get<std::string>())
                << '\n';
        }
    }
    if (doc.contains("rows")) {
        out << "\nfirst rows (stored value: old view, live view):\n";
        for (const Json& r : doc["rows"])
            out << "  row " << r["row"].get<int>() << "  " << q(r["stored"]) << ": " << q(r["old"])
                << ", " << q(r["new"]) << '\n';
    }
    if (doc.contains("sample")) out << "\nsample (one stored value per row; each row shows):\n";
    for (const Json& s : doc.value("sample", Json::array())) {
        out << "  row " << s["row"].get<int>();
        if (!s["case"].is_null())
            out << " (case [" << printable_text(s["case"].get<std::string>()) << "])";
        out << "  " << q(s["shows"]) << '\n';
    }
    if (!doc["log"].empty()) {
        out << "\nlog:\n";
        for (const Json& r : doc["log"])
            out << "  " << r["kind"].get<std::string>() << ": "
                << printable_text(r["message"].get<std::string>()) << '\n';
    }
    if (doc.contains("findings")) {
        out << "\nlint:\n";
        for (const Json& f : doc["findings"]) out << "  " << f["line"].get<std::string>() << '\n';
        if (doc["findings"].empty()) out << "  no findings\n";
    }
    return out.str();
}

}  // namespace kqfmt
