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
enum UNIT_ENUM : int;
union DATA_TYPE_UNION;

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

using KQ_CELL_LIST = std::vector<_kq_fomatted_cell_data_struct>;
using KQ_NAME_MAP = std::map<std::string, std::string>;

class KQ_FORMAT_DATA {
public:
    // ---- Exported interface -------------------------------------------------

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

    // ---- Library-internal operations ----------------------------------------
    // Not exported from the shared library; declared here because they are
    // members. Tools and tests in this project reach them through the static
    // build of the library.

    // Format-string classification.
    int check_trigger_dependency(std::string format);
    int check_if_date_time(KWTABLE* table, long column, std::string format);
    int check_if_string_format(std::string format);
    int check_if_units_in_trigger_dependency_column(std::string format);
    int check_if_int(std::string format);
    int check_if_float(std::string format);
    int check_if_remote_picklist(std::string format);
    int check_if_static_picklist(std::string format);
    void extractStaticPickListString(std::string format, std::string& pickList);

    // Plain values.
    void extractFormatDataFromOldAndNewTable(KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                                             long column, KQ_CELL_LIST& oldCells,
                                             KQ_CELL_LIST& newCells);
    void getDBptPhysicalValFromOldTable(KQ_TABLE_COPY* table, int type, std::string& text,
                                        long column, unsigned int index, KQ_CELL_LIST& cells);
    void getDBptPhysicalValFromNewTable(KWTABLE* table, int type, std::string& text, long column,
                                        unsigned int index, KQ_CELL_LIST& cells);

    // Unit conversion and unit text.
    void getDatabaseValAfterUnitConversion(KWTABLE* table, long column, int type,
                                           DATA_TYPE_UNION* value, UNIT_ENUM from, UNIT_ENUM to);
    void appendUnitsStringIfAny(UNIT_ENUM unit, std::string unitName, std::string& text);

    // System variables and label columns.
    int checkSystemVar(KWTABLE* table, long column, std::string& selection);
    int checkLabelCol(KWTABLE* table, long column, std::string& labelColumn);
    void getPrettyValFromSystemVar(KWTABLE* table, long column, KQ_CELL_LIST& cells);
    void getPrettyValFromSystemVar(KQ_TABLE_COPY* table, long column, KQ_CELL_LIST& cells);

    // Numeric columns.
    void getUsUnitFromtFormatString(std::string format, KWTABLE* table, long row, UNIT_ENUM* unit,
                                    std::string& unitText, std::string& work);
    // `depth` counts remote format references followed so far.
    int getFormatSpecifierForFloatVal(std::string format, KWTABLE* table, long row,
                                      std::string& specifier, int depth = 0);
    void DecodeForFloat76(float value, std::string& specifier);
    void DecodeForFloat86(float value, std::string& specifier);
    void extractFormatDataForFloatData(std::string format, KQ_TABLE_COPY* oldTable,
                                       KWTABLE* newTable, long column, KQ_CELL_LIST& oldCells,
                                       KQ_CELL_LIST& newCells);
    int getFormatSpecifierForIntVal(std::string format, KWTABLE* table, long row,
                                    std::string& specifier, int depth = 0);
    void extractFormatDataForIntData(std::string format, KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                                     long column, KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells);

    // Trigger columns, static pick lists, trigger dependencies.
    void getTriggerColVal(KWTABLE* newTable, KQ_TABLE_COPY* oldTable, std::string format, long row,
                          std::string& caseName);
    void getTriggerColVal(KWTABLE* newTable, std::string format, long row, std::string& caseName);
    void populatePrettyValFromStaticPickList(std::string pickList, KQ_NAME_MAP& names);
    int getRowPrettyValFromMap(KQ_TABLE_COPY* table, long column, KQ_NAME_MAP& names,
                               _kq_fomatted_cell_data_struct& cell);
    int getRowPrettyValFromMap(KWTABLE* table, long column, KQ_NAME_MAP& names,
                               _kq_fomatted_cell_data_struct& cell);
    int getPrettyValFromMap(KQ_TABLE_COPY* table, long column, KQ_NAME_MAP& names,
                            KQ_CELL_LIST& cells);
    int getPrettyValFromMap(KWTABLE* table, long column, KQ_NAME_MAP& names, KQ_CELL_LIST& cells);
    void extractFormatDataFromStaticPickList(std::string pickList, KQ_TABLE_COPY* oldTable,
                                             KWTABLE* newTable, long column, KQ_CELL_LIST& oldCells,
                                             KQ_CELL_LIST& newCells);
    void populatePrettyValFromTriggerDependencies(KWTABLE* table, std::string format,
                                                  KQ_NAME_MAP& names);
    int getPrettyValFromStaticPickList(KWTABLE* newTable, KQ_TABLE_COPY* oldTable, int column,
                                       std::string format, KQ_NAME_MAP& names, KQ_CELL_LIST& cells);
    int getPrettyValFromStaticPickList(KWTABLE* newTable, int column, std::string format,
                                       KQ_NAME_MAP& names, KQ_CELL_LIST& cells);
    void extractFormatDataFromStaticPickListAvailableInTrigDep(std::string format,
                                                               KQ_TABLE_COPY* oldTable,
                                                               KWTABLE* newTable, long column,
                                                               KQ_CELL_LIST& oldCells,
                                                               KQ_CELL_LIST& newCells);
    void extractFormatDataFromTriggerDependencies(std::string format, KQ_TABLE_COPY* oldTable,
                                                  KWTABLE* newTable, long column,
                                                  KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells);

    // Remote format specifiers and remote pick lists.
    int getRemoteFormatSpecifier(std::string formatString, std::string& remoteFormat);
    int parseRemotePickList(std::string formatString, KQ_NAME_MAP& names, KQ_TABLE_COPY* oldTable,
                            KWTABLE* newTable, long column, KQ_CELL_LIST& oldCells,
                            KQ_CELL_LIST& newCells);
    void getFormattedDataForRow(KWTABLE* newTable, KQ_TABLE_COPY* oldTable, long column,
                                KQ_NAME_MAP& names, std::string& rowTemplate,
                                unsigned int& markerPos, KQ_CELL_LIST& oldCells,
                                KQ_CELL_LIST& newCells);
    int extractFormatDataFromRemotePicklistString(std::string format, KQ_TABLE_COPY* oldTable,
                                                  KWTABLE* newTable, long column,
                                                  KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells);
    int extractFormatDataFromRemotePicklistString(std::string format, KQ_TABLE_COPY* oldTable,
                                                  KWTABLE* newTable, long column,
                                                  KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells,
                                                  KQ_NAME_MAP& names);

    // Date and time columns.
    void extractFormattedDateTimeVal(std::string format, KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                                     long column, KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells);
    void getTimeFormat(std::string format, std::string& timeFormat);

    // The master table held, or null.
    KW_MASTER_TABLE* master_table() const { return pMasterTable; }

private:
    KW_MASTER_TABLE* pMasterTable = nullptr;
};
