// The formatter: turns raw cell values of a table into display strings, for
// the previous snapshot and the live table at once.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "kq_export.h"

class KWTABLE;
class KQ_TABLE_COPY;
class KW_MASTER_TABLE;

// One requested cell: the caller sets `row`, the library writes `value`.
struct _kq_fomatted_cell_data_struct {
    int32_t row = 0;
    std::string value;
};

// One requested column and the cells wanted from it.
struct kq_formatted_col_data_struct {
    int32_t column = 0;
    std::vector<_kq_fomatted_cell_data_struct> cells;
};

// Data type codes, as the live table reports a column's type
// (KWTABLE::get_int_type). Codes 4 to 7 are further numeric types that only
// unit conversion knows; 10, 11 and every code not named here are types the
// library does not read.
enum KQ_TYPE_CODE : int {
    KQ_TYPE_BYTE = 1,
    KQ_TYPE_OTHER_NUMERIC_FIRST = 4,
    KQ_TYPE_OTHER_NUMERIC_LAST = 7,
    KQ_TYPE_UINT32 = 8,
    KQ_TYPE_INT32 = 9,
    KQ_TYPE_FLOAT = 12,
    KQ_TYPE_DOUBLE = 13,
    KQ_TYPE_STRING = 15,
};

using KQ_CELL_LIST = std::vector<_kq_fomatted_cell_data_struct>;
using KQ_NAME_MAP = std::map<std::string, std::string>;

class KQ_FORMAT_DATA {
public:
    // A formatter without master table.
    KQ_EXPORT KQ_FORMAT_DATA();
    // A formatter holding `master` when it is not null.
    KQ_EXPORT explicit KQ_FORMAT_DATA(KW_MASTER_TABLE* master);
    // Forgets the master table; never deletes it.
    KQ_EXPORT ~KQ_FORMAT_DATA();

    // Stores `master` only when none is held yet and it is not null.
    KQ_EXPORT void Set_master_table_pointer(KW_MASTER_TABLE* master);

    // Writes the display string of every requested cell: entry i of both
    // lists names one column, its cells are read from `oldTable` and
    // `newTable` respectively; all metadata comes from `newTable`. Returns 1.
    // A string operation's std::out_of_range (an empty format string on the
    // general path) passes out to the caller.
    KQ_EXPORT int GetFormattedValue(KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                                    std::vector<kq_formatted_col_data_struct>& oldColumns,
                                    std::vector<kq_formatted_col_data_struct>& newColumns);

private:
    KW_MASTER_TABLE* pMasterTable = nullptr;
};
