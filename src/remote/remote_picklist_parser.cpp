// One remote reference "TABLE.COLUMN": the remote column's metadata decides
// whether the local column is shown with the remote integer format, as plain
// values, as system-variable names, or through a value-to-name map built
// from the remote rows and their label column.

#include <string>

#include "core/formatter.h"
#include "core/log_lines.h"
#include "core/table_access.h"
#include "core/text_search.h"
#include "kw_table.h"
#include "remote/row_template.h"

namespace kq {
namespace {

// Valve columns show labels with the number of the valve they belong to.
constexpr const char kValveColumn[] = "valve_do";
constexpr const char kValveTable[] = "VALVE_CONFIG";
constexpr const char kUsageColumn[] = "usage";
constexpr const char kAnalyzerUsage[] = "analyzr";

// The number shown before a valve label. Rows of the valve table take it
// from the last two characters of an analyzer "usage" value (one leading "0"
// dropped) and have none otherwise; rows of any other table are numbered
// from 1. Returns false when the label keeps no number.
bool valve_number(KWTABLE* remote, bool valve_table, int row, std::string& usage,
                  std::string& number) {
    if (!valve_table) {
        number = kq::ld_text(row + 1);
        return true;
    }
    remote->get(kUsageColumn, row, usage);
    if (!kq::contains(usage, kAnalyzerUsage)) return false;  // else 7+ characters
    const kq::Pos first = usage.size() - 2;
    number = usage[first] == '0' ? kq::after(usage, first) : usage.substr(first);
    return true;
}

// Fills `names` with key -> label for every remote row; an existing key
// keeps its name.
void read_labels(KWTABLE* remote, int key_column, const std::string& label_column,
                 bool valve_column, bool valve_table, KQ_NAME_MAP& names) {
    std::string key, label, usage, number;
    // The row count is asked afresh before every row.
    for (int row = 0; row < remote->get_stored_rows(); ++row) {
        remote->get(key_column, row, key);
        remote->get(label_column, row, label);
        if (valve_column && valve_number(remote, valve_table, row, usage, number))
            label.insert(0, number + " - ");
        names.try_emplace(key, label);
    }
}

}  // namespace
}  // namespace kq

int kq::Formatter::parseRemotePickList(std::string formatString, KQ_NAME_MAP& names,
                                       KQ_TABLE_COPY* oldTable, KWTABLE* newTable, long column,
                                       KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells) {
    using namespace kq;
    note("remote reference", -1, [&] { return formatString; });
    // Without a "." both names are the whole reference.
    const Pos dot = find_from(formatString, '.');
    const std::string tableName = between(formatString, 0, dot);
    const std::string columnName = dot == kNone ? formatString : after(formatString, dot);

    // Without a master table no remote table can be reached: the same as a
    // table that does not exist.
    KWTABLE* remote = pMasterTable ? pMasterTable->get_class_pointer(tableName.c_str()) : nullptr;
    if (remote == nullptr) {
        note("missing table", -1, [&] { return tableName; });
        KQ_DEBUG_LINE("Cannot get class pointer for table named: %s", tableName.c_str());
        return 0;
    }
    KQ_DEBUG_LINE("Got class pointer for table named: %s", tableName.c_str());
    remote->read_table_data();

    const int remoteColumn = remote->get_column_number(columnName, true);
    if (remoteColumn < 0) {
        note("missing column", -1, [&] { return tableName + "." + columnName; });
        KQ_DEBUG_LINE("Cannot get the column number for column named: %s", columnName.c_str());
        return 0;
    }

    const std::string remoteFormat = remote->get_us_format(remoteColumn);
    if (check_if_int(remoteFormat)) {
        extractFormatDataForIntData(remoteFormat, oldTable, newTable, column, oldCells, newCells);
        return 1;
    }

    // A labelled column is not asked for its system-variable selection.
    std::string labelColumn;
    std::string selection;
    const bool labelled = checkLabelCol(remote, remoteColumn, labelColumn) != 0;
    const bool systemVar = !labelled && checkSystemVar(remote, remoteColumn, selection) != 0;
    if ((!labelled && !systemVar) || contains(formatString, "__remoterow__")) {
        extractFormatDataFromOldAndNewTable(oldTable, newTable, column, oldCells, newCells);
        return 1;
    }

    if (labelled) {
        // A label column the remote table lacks reads as empty names.
        if (trace() != nullptr && remote->get_column_number(labelColumn, true) < 0)
            note("missing label column", -1, [&] { return tableName + "." + labelColumn; });
        const bool valveColumn =
            newTable->get_internal_name(static_cast<int>(column)) == kValveColumn;
        kq::read_labels(remote, remoteColumn, labelColumn, valveColumn, tableName == kValveTable,
                        names);
        return 1;
    }

    getPrettyValFromSystemVar(oldTable, column, oldCells);
    getPrettyValFromSystemVar(newTable, column, newCells);
    return 1;
}

namespace kq {

int format_rows_from_template(kq::Formatter& formatter, KWTABLE* newTable, KQ_TABLE_COPY* oldTable,
                              long column, KQ_NAME_MAP& names, const std::string& rowTemplate,
                              unsigned int marker, KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells) {
    if (marker > rowTemplate.size()) return 0;  // no marker where the caller said
    constexpr std::size_t kMarkerLength = sizeof(kRowNumberMarker) - 1;
    int result = 1;
    std::string reference;
    for (std::size_t i = 0; i < oldCells.size(); ++i) {
        reference = rowTemplate;
        reference.replace(marker, kMarkerLength,
                          std::to_string(static_cast<long long>(oldCells[i].row) + 1));
        if (!formatter.parseRemotePickList(reference, names, oldTable, newTable, column, oldCells,
                                           newCells)) {
            formatter.note("remote row", oldCells[i].row, [&] { return reference; });
            KQ_DEBUG_LINE("Failed to parse RemotePickList for Table : %s", reference.c_str());
            result = 0;
            continue;
        }
        if (names.empty()) continue;  // the reference formatted the column itself
        if (!formatter.getRowPrettyValFromMap(oldTable, column, names, oldCells[i])) result = 0;
        if (i < newCells.size() &&
            !formatter.getRowPrettyValFromMap(newTable, column, names, newCells[i]))
            result = 0;
        names.clear();
    }
    return result;
}

}  // namespace kq

// One reference per old cell, its row number (from 1) put in place of the
// marker; each reference's names serve only that row's cells and are then
// dropped, so the old list decides how many rows are done.
void kq::Formatter::getFormattedDataForRow(KWTABLE* newTable, KQ_TABLE_COPY* oldTable, long column,
                                           KQ_NAME_MAP& names, std::string& rowTemplate,
                                           unsigned int& markerPos, KQ_CELL_LIST& oldCells,
                                           KQ_CELL_LIST& newCells) {
    kq::format_rows_from_template(*this, newTable, oldTable, column, names, rowTemplate, markerPos,
                                  oldCells, newCells);
}
