// Building tables for tests, formatting a column through the public entry
// point, and collecting log records.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kq_format_data.h"
#include "kq_host_log.h"
#include "kq_host_table.h"
#include "kw_table.h"

namespace kqtest {

using kqhost::ColumnDef;

// A table description. Each row lists one value per column, as text; the
// text is stored by the column's type code the way the configuration
// database stores a TEXT value ("-1" in a type 8 column sets all 32 bits,
// "A" in a type 1 column stores the byte 65, "0.1" in a type 12 column the
// nearest float). Rows shorter than the column list leave the rest empty.
struct TableSpec {
    std::string name;
    std::vector<ColumnDef> columns;
    std::vector<std::vector<std::string>> rows;
};

std::shared_ptr<kqhost::TableData> make_data(const TableSpec& spec);
std::shared_ptr<kqhost::LiveTable> make_live(const TableSpec& spec);
std::shared_ptr<kqhost::TableCopy> make_snapshot(const TableSpec& spec);

// A master table with the tables registered in it.
class World {
public:
    // Registers a live table built from `spec`; returns it.
    KWTABLE* add(const TableSpec& spec);
    void sys_var(const std::string& name, const std::string& display);
    KW_MASTER_TABLE* master() { return &master_; }

private:
    kqhost::MasterTable master_;
};

// The display strings of one column after a GetFormattedValue call: the
// previous snapshot's view and the live view, every cell starting out "k".
struct Views {
    std::vector<std::string> old_view, live_view;
};

// Formats column `column` of a live table built from `live` and a snapshot
// built from `old` (from `live` when null), for the rows asked of each.
Views format_column(const TableSpec& live, int column, const std::vector<int>& oldRows,
                    const std::vector<int>& newRows, KW_MASTER_TABLE* master = nullptr,
                    const TableSpec* old = nullptr);

// The live view of `stored` in row 0 of a one-column table; the snapshot
// holds the same value and must show the same text.
std::string shown(const ColumnDef& column, const std::string& stored,
                  KW_MASTER_TABLE* master = nullptr);

// Cell records for the given rows holding `initial`; the values of a list.
KQ_CELL_LIST cells(const std::vector<int>& rows, const std::string& initial = "");
std::vector<std::string> values(const KQ_CELL_LIST& cells);

// Collects every log record while alive and sets DebugLevel as asked;
// restores the previous sink and DebugLevel on destruction.
class LogCapture {
public:
    explicit LogCapture(bool debug = true);
    ~LogCapture();
    const std::vector<kqhost::LogRecord>& records() const { return *records_; }
    // Messages of the records, prefixed "debug: " or "sys: ".
    std::vector<std::string> lines() const;
    void clear() { records_->clear(); }

private:
    std::shared_ptr<std::vector<kqhost::LogRecord>> records_;
    kqhost::LogSink previous_;
    unsigned char previous_level_;
};

}  // namespace kqtest
