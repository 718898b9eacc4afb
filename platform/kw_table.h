// Platform table classes: the live table, the previous snapshot and the
// registry of tables. The library only calls the operations in the first
// section of each class; the host sections build tables for tools and tests.
#pragma once

#include <memory>
#include <string>

namespace kqhost {
class TableData;
class MasterData;
}  // namespace kqhost

// The live table: current values and the column metadata.
class KWTABLE {
public:
    std::string get_us_format(int column);
    int get_int_type(int column);
    int get_stored_rows();
    int get(int column, int row, std::string& value);
    int get(int column, int row, long& value);
    int get(int column, int row, unsigned long& value);
    int get(int column, int row, char& value);
    int get(int column, int row, float& value);
    int get(int column, int row, double& value);
    int get(std::string columnName, int row, std::string& value);
    int get_column_number(std::string name, bool flag);
    std::string get_units(int column);
    std::string get_units_us(int column);
    int get_is_date_time(int column);
    std::string get_label_col(int column);
    std::string get_component_sel(int column);
    std::string get_internal_name(int column);
    int read_table_data();

    // Host side.
    explicit KWTABLE(std::shared_ptr<kqhost::TableData> data);
    ~KWTABLE();
    kqhost::TableData& host_data() { return *data_; }

private:
    std::shared_ptr<kqhost::TableData> data_;
};

// The previous snapshot of a table: old values only.
class KQ_TABLE_COPY {
public:
    int GetNumRows();
    int Get(unsigned long column, unsigned long row, std::string& value);
    int Get(unsigned long column, unsigned long row, long& value);
    int Get(unsigned long column, unsigned long row, unsigned long& value);
    int Get(unsigned long column, unsigned long row, char& value);
    int Get(unsigned long column, unsigned long row, float& value);
    int Get(unsigned long column, unsigned long row, double& value);

    // Host side.
    explicit KQ_TABLE_COPY(std::shared_ptr<kqhost::TableData> data);
    ~KQ_TABLE_COPY();
    kqhost::TableData& host_data() { return *data_; }

private:
    std::shared_ptr<kqhost::TableData> data_;
};

// The registry of all tables, and the host's system-variable catalog.
class KW_MASTER_TABLE {
public:
    // The live table of that exact name; null when there is none.
    KWTABLE* get_class_pointer(const char* tableName);

    // Host side.
    KW_MASTER_TABLE();
    ~KW_MASTER_TABLE();
    kqhost::MasterData& host_data() { return *data_; }

private:
    std::unique_ptr<kqhost::MasterData> data_;
};
