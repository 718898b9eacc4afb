// Host implementation of table storage. Not part of the target platform:
// tools and tests use it to build the tables the library reads.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "kw_table.h"

namespace kqhost {

// Metadata of one column. Defaults are those of a column the configuration
// does not describe.
struct ColumnDef {
    std::string name;
    int type = 15;
    std::string us_format;
    std::string units;
    std::string units_us;
    int is_date_time = 0;
    std::string label_col;
    std::string component_sel;
    std::string internal_name;  // empty: the column's name
};

// Columns with metadata and rows of cells, stored by type code as the
// target stores them (32-bit integers, single and double floats, bytes,
// text). Every read is defined: out-of-range cells read as 0 / "".
class TableData {
public:
    explicit TableData(std::string name = "");

    const std::string& name() const { return name_; }
    int add_column(const ColumnDef& def);
    int column_count() const { return static_cast<int>(defs_.size()); }
    const ColumnDef* column(int column) const;
    ColumnDef* column(int column);

    int row_count() const { return rows_; }
    void set_row_count(int rows);
    int append_row();

    // Stores a value given in one of the configuration database's storage
    // classes, converted by the column's type code.
    void store_integer(int column, int row, long long value);
    void store_real(int column, int row, double value);
    void store_text(int column, int row, const std::string& value);
    void store_null(int column, int row);

    // Reads. Out-of-range column or row gives 0, the empty string or byte 0.
    void read(int column, int row, std::string& out) const;
    void read(int column, int row, long& out) const;
    void read(int column, int row, unsigned long& out) const;
    void read(int column, int row, char& out) const;
    void read(int column, int row, float& out) const;
    void read(int column, int row, double& out) const;

    // First column with exactly this name, -1 when none.
    int find_column(const std::string& name) const;

    // A deep copy of the values (and metadata), for a snapshot.
    std::shared_ptr<TableData> clone() const;

private:
    struct Cell {
        union {
            uint8_t byte;
            uint32_t u32;
            int32_t i32;
            float f32;
            double f64;
        } num;
        std::string text;
        Cell() : num{} {}
    };
    const Cell* cell(int column, int row) const;
    Cell* cell(int column, int row);
    int stored_type(int column) const;

    std::string name_;
    std::vector<ColumnDef> defs_;
    std::vector<std::vector<Cell>> cells_;  // [column][row]
    int rows_ = 0;
};

class LiveTable;

// Registry of live tables by name, plus the system-variable catalog.
class MasterData {
public:
    // Registers a table under its name; an existing table of that name is
    // replaced.
    void add_table(std::shared_ptr<LiveTable> table);
    // Registers a live table over `data` under the data's name.
    void add_table(std::shared_ptr<TableData> data);
    LiveTable* find(const std::string& name) const;
    std::vector<std::string> table_names() const;

    void define_sys_var(const std::string& name, const std::string& display);
    const std::string* sys_var_display(const std::string& name) const;

private:
    std::map<std::string, std::shared_ptr<LiveTable>> tables_;
    std::map<std::string, std::string> sys_vars_;
};

// The platform's table classes on the host: views over TableData.
class LiveTable : public KWTABLE {
public:
    explicit LiveTable(std::shared_ptr<TableData> data) : data_(std::move(data)) {}
    TableData& data() const { return *data_; }

private:
    std::shared_ptr<TableData> data_;
};

class TableCopy : public KQ_TABLE_COPY {
public:
    explicit TableCopy(std::shared_ptr<TableData> data) : data_(std::move(data)) {}
    TableData& data() const { return *data_; }

private:
    std::shared_ptr<TableData> data_;
};

class MasterTable : public KW_MASTER_TABLE {
public:
    MasterTable() : data_(std::make_unique<MasterData>()) {}
    MasterData& data() const { return *data_; }

private:
    std::unique_ptr<MasterData> data_;
};

}  // namespace kqhost
