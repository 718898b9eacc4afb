#include "kq_test_tables.h"

#include <gtest/gtest.h>

namespace kqtest {

std::shared_ptr<kqhost::TableData> make_data(const TableSpec& spec) {
    auto data = std::make_shared<kqhost::TableData>(spec.name);
    for (const auto& column : spec.columns) data->add_column(column);
    data->set_row_count(static_cast<int>(spec.rows.size()));
    for (size_t r = 0; r < spec.rows.size(); ++r)
        for (size_t c = 0; c < spec.rows[r].size() && c < spec.columns.size(); ++c)
            data->store_text(static_cast<int>(c), static_cast<int>(r), spec.rows[r][c]);
    return data;
}

std::shared_ptr<kqhost::LiveTable> make_live(const TableSpec& spec) {
    return std::make_shared<kqhost::LiveTable>(make_data(spec));
}

std::shared_ptr<kqhost::TableCopy> make_snapshot(const TableSpec& spec) {
    return std::make_shared<kqhost::TableCopy>(make_data(spec));
}

KWTABLE* World::add(const TableSpec& spec) {
    auto table = make_live(spec);
    KWTABLE* raw = table.get();
    master_.data().add_table(std::move(table));
    return raw;
}

void World::sys_var(const std::string& name, const std::string& display) {
    master_.data().define_sys_var(name, display);
}

KQ_CELL_LIST cells(const std::vector<int>& rows, const std::string& initial) {
    KQ_CELL_LIST list;
    for (int row : rows) list.push_back({row, initial});
    return list;
}

std::vector<std::string> values(const KQ_CELL_LIST& cells) {
    std::vector<std::string> out;
    for (const auto& cell : cells) out.push_back(cell.value);
    return out;
}

Views format_column(const TableSpec& live, int column, const std::vector<int>& oldRows,
                    const std::vector<int>& newRows, KW_MASTER_TABLE* master,
                    const TableSpec* old) {
    auto table = make_live(live);
    auto snapshot = make_snapshot(old ? *old : live);
    std::vector<kq_formatted_col_data_struct> oldColumns{{column, cells(oldRows, "k")}};
    std::vector<kq_formatted_col_data_struct> newColumns{{column, cells(newRows, "k")}};
    EXPECT_EQ(KQ_FORMAT_DATA(master).GetFormattedValue(snapshot.get(), table.get(), oldColumns,
                                                       newColumns),
              1);
    return {values(oldColumns[0].cells), values(newColumns[0].cells)};
}

std::string shown(const ColumnDef& column, const std::string& stored, KW_MASTER_TABLE* master) {
    const Views v = format_column({"T", {column}, {{stored}}}, 0, {0}, {0}, master);
    EXPECT_EQ(v.old_view, v.live_view) << column.us_format << " / " << stored;
    return v.live_view.at(0);
}

LogCapture::LogCapture(bool debug)
    : records_(std::make_shared<std::vector<kqhost::LogRecord>>()), previous_level_(DebugLevel) {
    auto records = records_;
    previous_ = kqhost::set_log_sink(
        [records](const kqhost::LogRecord& record) { records->push_back(record); });
    DebugLevel = debug ? 1 : 0;
}

LogCapture::~LogCapture() {
    kqhost::set_log_sink(previous_);
    DebugLevel = previous_level_;
}

std::vector<std::string> LogCapture::lines() const {
    std::vector<std::string> out;
    for (const auto& r : *records_) out.push_back((r.sys ? "sys: " : "debug: ") + r.message);
    return out;
}

}  // namespace kqtest
