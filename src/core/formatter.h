// The library's internal operations. The public class KQ_FORMAT_DATA holds
// only the master table; each GetFormattedValue call builds one Formatter
// with that pointer and runs the dispatcher on it. The operations keep the
// names the format language's rules are known by.
#pragma once

#include <map>
#include <string>

#include "kq_format_data.h"
#include "kq_format_trace.h"
#include "kq_units.h"

class KWTABLE;
class KQ_TABLE_COPY;
class KW_MASTER_TABLE;

namespace kq {

class Formatter {
public:
    // `master` may be null; `trace`, when given, receives the classification
    // steps and what the formatters read (see kq_format_trace.h).
    explicit Formatter(KW_MASTER_TABLE* master = nullptr, KQ_FORMAT_TRACE* trace = nullptr)
        : pMasterTable(master), trace_(trace) {}

    // The dispatcher: every requested column to its formatter. Returns 1.
    int GetFormattedValue(KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                          std::vector<kq_formatted_col_data_struct>& oldColumns,
                          std::vector<kq_formatted_col_data_struct>& newColumns);

    // Hands one column to the formatter of `kind`. Inside a trigger
    // dependency a static pick list is the cases' merged list.
    void format_column(KQ_COLUMN_KIND kind, std::string& format, KQ_TABLE_COPY* oldTable,
                       KWTABLE* newTable, long column, KQ_CELL_LIST& oldCells,
                       KQ_CELL_LIST& newCells, bool inTriggerDependency);

    // Format-string classification.
    int check_trigger_dependency(std::string format);
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
    // True when a value in unit `from` is converted for display in `to`:
    // both are real units and they differ. Callers on the per-cell path ask
    // first and so spare the call.
    static bool converts(UNIT_ENUM from, UNIT_ENUM to) {
        return from != to && from != UNIT_NONE && to != UNIT_NONE;
    }
    void getDatabaseValAfterUnitConversion(KWTABLE* table, long column, int type,
                                           DATA_TYPE_UNION* value, UNIT_ENUM from, UNIT_ENUM to);
    void appendUnitsStringIfAny(UNIT_ENUM unit, std::string unitName, std::string& text);
    // For a trace: the conversion a column (or, with `label`, one trigger
    // case) asks for, and whether the platform's converter accepts that
    // pair of units ("failed unit conversion" when it does not).
    void note_unit_conversion(long row, const std::string& label, UNIT_ENUM from,
                              const std::string& fromName, UNIT_ENUM to, const std::string& toName);

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

    KW_MASTER_TABLE* master_table() const { return pMasterTable; }
    KQ_FORMAT_TRACE* trace() const { return trace_; }

    // Records what a formatter read, when a trace is wanted; `text` is a
    // callable giving the text, so an untraced call builds nothing.
    template <class TextFn>
    void note(const char* topic, long row, TextFn&& text) {
        if (trace_ != nullptr) trace_->notes.push_back({topic, row, text()});
    }
    // Records a pick list's text and the value-to-name pairs read from it,
    // and pairs whose value or name is empty or whose name another value
    // has too (the operator could not tell the two apart).
    void note_pairs(const std::string& list, const KQ_NAME_MAP& names) {
        if (trace_ == nullptr) return;
        note("pick list", -1, [&] { return list; });
        std::map<std::string, std::string> valueOfName;
        for (const auto& entry : names) {
            note("pair", -1, [&] { return entry.first + " -> " + entry.second; });
            if (entry.first.empty()) note("empty value", -1, [&] { return entry.second; });
            if (entry.second.empty()) note("empty name", -1, [&] { return entry.first; });
            const auto named = valueOfName.emplace(entry.second, entry.first);
            if (!named.second && !entry.second.empty())
                note("duplicate name", -1, [&] {
                    return entry.second + " (values " + named.first->second + " and " +
                           entry.first + ")";
                });
        }
    }

private:
    KW_MASTER_TABLE* pMasterTable;
    KQ_FORMAT_TRACE* trace_;
};

}  // namespace kq
