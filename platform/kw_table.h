// Platform table classes: the live table, the previous snapshot and the
// registry of tables, with the operations the library calls. The platform
// makes the objects (a host platform derives its own classes from these);
// the library only receives pointers to them.
#pragma once

#include <string>

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

protected:
    KWTABLE() = default;
    ~KWTABLE() = default;
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

protected:
    KQ_TABLE_COPY() = default;
    ~KQ_TABLE_COPY() = default;
};

// The registry of all tables.
class KW_MASTER_TABLE {
public:
    // The live table of that exact name; null when there is none.
    KWTABLE* get_class_pointer(const char* tableName);

protected:
    KW_MASTER_TABLE() = default;
    ~KW_MASTER_TABLE() = default;
};
