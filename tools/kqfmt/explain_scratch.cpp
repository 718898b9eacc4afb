// The scratch world of kqfmt explain.
#include "explain_scratch.h"

#include <algorithm>

#include "core/text_search.h"
#include "kq_host_table.h"
#include "kw_table.h"

namespace kqfmt {
namespace {

// The case names of a trigger dependency as the case-in-force search meets
// them: with a "{" in the format, every "[" ... "]" pair, the next "["
// searched from the "]" before it. Repeated names are kept once: the first
// of them is the one that can be in force.
std::vector<std::string> case_names(const std::string& format) {
    std::vector<std::string> names;
    if (!kq::contains(format, '{')) return names;
    kq::Pos open = kq::find_from(format, '[');
    while (open != kq::kNone) {
        const kq::Pos close = kq::find_from(format, ']', open + 1);
        if (close == kq::kNone) break;
        std::string name = kq::between(format, open + 1, close);
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
        open = kq::find_from(format, '[', close);
    }
    return names;
}

// A trigger format giving case k the value text "k". Shorter names come
// first, so a name that lies inside a longer one is met at its own entry.
std::string trigger_format(const std::vector<std::string>& names) {
    std::vector<std::size_t> order(names.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return names[a].size() < names[b].size();
    });
    std::string format;
    for (std::size_t k : order) {
        if (!format.empty()) format += '\n';
        format += names[k] + "(" + std::to_string(k) + ")";
    }
    return format;
}

}  // namespace

ScratchTable::ScratchTable(const std::string& format, int type, bool date_time) {
    auto data = std::make_shared<kqhost::TableData>("EXPLAIN");
    std::vector<std::string> names;
    const kq::Pos brace = kq::find_from(format, '{');
    if (!format.empty() && format[0] == '@' && brace != kq::kNone) {
        has_trigger_ = true;
        trigger_name_ = kq::between(format, 1, brace);
        names = case_names(format);
        kqhost::ColumnDef trigger;
        trigger.name = trigger_name_;
        trigger.type = 15;
        trigger.us_format = trigger_format(names);
        data->add_column(trigger);  // first, so the name finds it
    }
    kqhost::ColumnDef explained;
    explained.name = "explained";
    explained.type = type;
    explained.us_format = format;
    explained.is_date_time = date_time ? 1 : 0;
    column_ = data->add_column(explained);

    no_case_row_ = static_cast<int>(names.size());
    data->set_row_count(no_case_row_ + 1);
    if (has_trigger_) {
        for (std::size_t k = 0; k < names.size(); ++k)
            data->store_text(0, static_cast<int>(k), std::to_string(k));
        data->store_text(0, no_case_row_, "-");
    }
    live_ = std::make_shared<KWTABLE>(data);
    snapshot_ = std::make_shared<KQ_TABLE_COPY>(data->clone());

    // Which cases the library actually finds in force.
    KQ_FORMAT_DATA formatter;
    for (std::size_t k = 0; k < names.size(); ++k) {
        ScratchCase c;
        c.name = names[k];
        c.row = static_cast<int>(k);
        std::string found;
        formatter.getTriggerColVal(live_.get(), format, c.row, found);
        c.in_force = found == c.name;
        cases_.push_back(std::move(c));
    }
}

LogProbe::LogProbe()
    : messages_(std::make_shared<std::vector<std::string>>()), previous_level_(DebugLevel) {
    auto messages = messages_;
    previous_ = kqhost::set_log_sink(
        [messages](const kqhost::LogRecord& record) { messages->push_back(record.message); });
    DebugLevel = 1;
}

LogProbe::~LogProbe() {
    kqhost::set_log_sink(previous_);
    DebugLevel = previous_level_;
}

std::vector<std::string> LogProbe::after_prefix(const std::string& prefix) const {
    std::vector<std::string> rests;
    for (const std::string& message : *messages_)
        if (message.compare(0, prefix.size(), prefix) == 0)
            rests.push_back(message.substr(prefix.size()));
    return rests;
}

namespace {

const char kNoTable[] = "Cannot get class pointer for table named: ";
const char kGotTable[] = "Got class pointer for table named: ";
const char kNoColumn[] = "Cannot get the column number for column named: ";
const char kRowFailed[] = "Failed to parse RemotePickList for Table : ";
constexpr int kScanRows = 2;  // rows 0 and 1 are requested from both sides

// Runs the scanner with the named tables present (without columns) and
// returns what it logged.
std::vector<std::string> scan(const std::string& text, int type,
                              const std::vector<std::string>& tables) {
    KW_MASTER_TABLE master;
    for (const std::string& name : tables)
        master.host_data().add_table(
            std::make_shared<KWTABLE>(std::make_shared<kqhost::TableData>(name)));
    ScratchTable local(std::string(), type, false);
    // Two rows on both sides, so a row template shows how it varies.
    local.live()->host_data().set_row_count(kScanRows);
    local.snapshot()->host_data().set_row_count(kScanRows);
    KQ_CELL_LIST old_cells = {{0, ""}, {1, ""}};
    KQ_CELL_LIST new_cells = old_cells;
    KQ_FORMAT_DATA formatter(&master);
    LogProbe probe;
    formatter.extractFormatDataFromRemotePicklistString(text, local.snapshot(), local.live(),
                                                        local.column(), old_cells, new_cells);
    return probe.messages();
}

bool starts_with(const std::string& text, const char* prefix, std::string& rest) {
    const std::string p(prefix);
    if (text.compare(0, p.size(), p) != 0) return false;
    rest = text.substr(p.size());
    return true;
}

}  // namespace

std::vector<RemoteReference> remote_references(const std::string& text, int type) {
    // First without any table: every reference names the table it wants.
    std::vector<std::string> tables;
    std::string rest;
    for (const std::string& message : scan(text, type, {}))
        if (starts_with(message, kNoTable, rest) &&
            std::find(tables.begin(), tables.end(), rest) == tables.end())
            tables.push_back(rest);

    // Then with those tables: every reference names its column as well, and
    // a row template reports each row's reference when it fails.
    std::vector<RemoteReference> references;
    int template_row = 0;
    for (const std::string& message : scan(text, type, tables)) {
        if (starts_with(message, kGotTable, rest) || starts_with(message, kNoTable, rest)) {
            RemoteReference reference;
            reference.table = rest;
            references.push_back(std::move(reference));
        } else if (starts_with(message, kNoColumn, rest) && !references.empty()) {
            references.back().column = rest;
            references.back().column_known = true;
        } else if (starts_with(message, kRowFailed, rest) && !references.empty()) {
            references.back().row = template_row++ % kScanRows;
        }
    }
    return references;
}

}  // namespace kqfmt
