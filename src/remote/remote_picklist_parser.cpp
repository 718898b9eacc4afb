// One remote reference "TABLE.COLUMN": the remote column's metadata decides
// whether the local column is shown with the remote integer format, as plain
// values, as system-variable names, or through a value-to-name map built
// from the remote rows and their label column.

#include <charconv>
#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

#include "core/formatter.h"
#include "core/log_lines.h"
#include "core/table_access.h"
#include "core/text_search.h"
#include "kw_table.h"
#include "remote/remote_reference.h"
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

// Why a remote column's label column or component selection is not read.
enum class Unread { kIntFormat, kRemoteRow, kLabelled };

// For a trace: the remote column TABLE.COLUMN's label column and component
// selection, when it has them, are not read, and why. Nothing is built
// without a trace.
void note_unread_names(Formatter& formatter, KWTABLE* remote, int column,
                       const std::string& tableName, const std::string& columnName,
                       const std::string& remoteFormat, Unread why) {
    if (formatter.trace() == nullptr) return;
    const std::string where = tableName + "." + columnName;
    const std::string reason =
        why == Unread::kIntFormat
            ? where + "'s own format \"" + remoteFormat + "\" is an integer format"
        : why == Unread::kRemoteRow
            ? std::string("the reference is marked __remoterow__, which shows the stored values")
            : where + " has a label column, which is used instead";
    const std::string labelColumn =
        why == Unread::kLabelled ? std::string() : remote->get_label_col(column);
    const std::string selected = remote->get_component_sel(column);
    if (!labelColumn.empty())
        formatter.note("unused label column", -1, [&] {
            return "'" + labelColumn + "' of " + where + " is not read: " + reason;
        });
    if (!selected.empty())
        formatter.note("unused component selection", -1, [&] {
            return "'" + selected + "' of " + where + " is not read: " + reason;
        });
}

// For a trace: a label column set on the referencing column itself, when
// the remote column has none; a remote pick list reads only the remote
// column's label column.
void note_own_label_column(Formatter& formatter, KWTABLE* local, long column, KWTABLE* remote,
                           int remoteColumn, const std::string& tableName,
                           const std::string& columnName) {
    if (formatter.trace() == nullptr || !remote->get_label_col(remoteColumn).empty()) return;
    const std::string own = local->get_label_col(static_cast<int>(column));
    if (!own.empty())
        formatter.note("unused label column", -1, [&] {
            return "'" + own + "' of this column is not read: a remote pick list reads the label " +
                   "column of the column it names, and " + tableName + "." + columnName +
                   " has none";
        });
}

}  // namespace
}  // namespace kq

int kq::parse_remote_reference(Formatter& formatter, const std::string& formatString,
                               KQ_NAME_MAP& names, KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                               long column, KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells,
                               const RemoteReferenceOptions& options, RemoteOutcome& outcome) {
    outcome = RemoteOutcome::kFailed;
    formatter.note("remote reference", -1, [&] { return formatString; });
    // Without a "." both names are the whole reference.
    const Pos dot = find_from(formatString, '.');
    const std::string tableName = between(formatString, 0, dot);
    const std::string columnName = dot == kNone ? formatString : after(formatString, dot);

    // Without a master table no remote table can be reached: the same as a
    // table that does not exist.
    KW_MASTER_TABLE* master = formatter.master_table();
    KWTABLE* remote = master ? master->get_class_pointer(tableName.c_str()) : nullptr;
    if (remote == nullptr) {
        formatter.note("missing table", -1, [&] { return tableName; });
        KQ_DEBUG_LINE("Cannot get class pointer for table named: %s", tableName.c_str());
        return 0;
    }
    KQ_DEBUG_LINE("Got class pointer for table named: %s", tableName.c_str());
    remote->read_table_data();

    const int remoteColumn = remote->get_column_number(columnName, true);
    if (remoteColumn < 0) {
        formatter.note("missing column", -1, [&] { return tableName + "." + columnName; });
        KQ_DEBUG_LINE("Cannot get the column number for column named: %s", columnName.c_str());
        return 0;
    }

    const std::string remoteFormat = remote->get_us_format(remoteColumn);
    if (formatter.check_if_int(remoteFormat)) {
        note_unread_names(formatter, remote, remoteColumn, tableName, columnName, remoteFormat,
                          Unread::kIntFormat);
        note_own_label_column(formatter, newTable, column, remote, remoteColumn, tableName,
                              columnName);
        outcome = RemoteOutcome::kIntFormat;
        formatter.extractFormatDataForIntData(remoteFormat, oldTable, newTable, column, oldCells,
                                              newCells);
        return 1;
    }

    // A labelled column is not asked for its system-variable selection.
    std::string labelColumn;
    std::string selection;
    const bool labelled = formatter.checkLabelCol(remote, remoteColumn, labelColumn) != 0;
    const bool systemVar =
        !labelled && formatter.checkSystemVar(remote, remoteColumn, selection) != 0;
    if ((!labelled && !systemVar) || contains(formatString, "__remoterow__")) {
        note_unread_names(formatter, remote, remoteColumn, tableName, columnName, remoteFormat,
                          Unread::kRemoteRow);
        note_own_label_column(formatter, newTable, column, remote, remoteColumn, tableName,
                              columnName);
        outcome = RemoteOutcome::kPlain;
        if (!options.defer_plain)
            formatter.extractFormatDataFromOldAndNewTable(oldTable, newTable, column, oldCells,
                                                          newCells);
        return 1;
    }

    if (labelled) {
        note_unread_names(formatter, remote, remoteColumn, tableName, columnName, remoteFormat,
                          Unread::kLabelled);
        outcome = RemoteOutcome::kLabelled;
        // A label column the remote table lacks reads as empty names.
        if (formatter.trace() != nullptr && remote->get_column_number(labelColumn, true) < 0)
            formatter.note("missing label column", -1,
                           [&] { return tableName + "." + labelColumn; });
        // A column already read into this map in this call has nothing to add.
        if (options.read != nullptr && !options.read->emplace(tableName, remoteColumn).second)
            return 1;
        const bool valveColumn =
            newTable->get_internal_name(static_cast<int>(column)) == kValveColumn;
        kq::read_labels(remote, remoteColumn, labelColumn, valveColumn, tableName == kValveTable,
                        names);
        return 1;
    }

    outcome = RemoteOutcome::kSystemVar;
    formatter.getPrettyValFromSystemVar(oldTable, column, oldCells);
    formatter.getPrettyValFromSystemVar(newTable, column, newCells);
    return 1;
}

int kq::Formatter::parseRemotePickList(std::string formatString, KQ_NAME_MAP& names,
                                       KQ_TABLE_COPY* oldTable, KWTABLE* newTable, long column,
                                       KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells) {
    RemoteOutcome outcome;
    return kq::parse_remote_reference(*this, formatString, names, oldTable, newTable, column,
                                      oldCells, newCells, RemoteReferenceOptions(), outcome);
}

namespace kq {
namespace {

// The plain values the row template writes. A reference whose remote column
// shows plain values writes every cell of both lists; the same write again
// changes only the cells some other row wrote in between, so after the first
// full write only those are written again. A column type that has no plain
// value logs once per cell on each write; there every write stays whole.
class PlainRewrites {
public:
    PlainRewrites(kq::Formatter& formatter, KQ_TABLE_COPY* oldTable, KWTABLE* newTable, long column,
                  KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells)
        : fmt_(formatter),
          old_table_(oldTable),
          new_table_(newTable),
          column_(column),
          old_cells_(oldCells),
          new_cells_(newCells),
          type_(newTable->get_int_type(static_cast<int>(column))),
          silent_(type_ == KQ_TYPE_STRING || type_ == KQ_TYPE_INT32 || type_ == KQ_TYPE_UINT32 ||
                  type_ == KQ_TYPE_BYTE) {}

    // Every cell as its plain value.
    void write_all() {
        if (!current_ || !silent_) {
            fmt_.extractFormatDataFromOldAndNewTable(old_table_, new_table_, column_, old_cells_,
                                                     new_cells_);
        } else {
            for (std::size_t i : touched_) {
                rewrite(old_table_, old_cells_, i);
                if (i < new_cells_.size()) rewrite(new_table_, new_cells_, i);
            }
        }
        current_ = true;
        touched_.clear();
    }
    // Old cell i and new cell i (if any) were written by something else.
    void touched(std::size_t i) {
        if (current_) touched_.push_back(i);
    }
    // Every cell was written by something else.
    void all_touched() {
        current_ = false;
        touched_.clear();
    }

private:
    template <class Table>
    void rewrite(Table* table, KQ_CELL_LIST& cells, std::size_t i) {
        if (!kq::row_in_range(table, cells[i].row)) return;
        if constexpr (std::is_same_v<Table, KQ_TABLE_COPY>)
            fmt_.getDBptPhysicalValFromOldTable(table, type_, text_, column_,
                                                static_cast<unsigned int>(i), cells);
        else
            fmt_.getDBptPhysicalValFromNewTable(table, type_, text_, column_,
                                                static_cast<unsigned int>(i), cells);
        cells[i].value = text_;
    }

    kq::Formatter& fmt_;
    KQ_TABLE_COPY* old_table_;
    KWTABLE* new_table_;
    long column_;
    KQ_CELL_LIST& old_cells_;
    KQ_CELL_LIST& new_cells_;
    const int type_;
    const bool silent_;
    bool current_ = false;              // every cell not in touched_ holds its plain value
    std::vector<std::size_t> touched_;  // cells written since (may repeat)
    std::string text_;
};

}  // namespace

int format_rows_from_template(kq::Formatter& formatter, KWTABLE* newTable, KQ_TABLE_COPY* oldTable,
                              long column, KQ_NAME_MAP& names, const std::string& rowTemplate,
                              unsigned int marker, KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells) {
    if (marker > rowTemplate.size()) return 0;  // no marker where the caller said
    constexpr std::size_t kMarkerLength = sizeof(kRowNumberMarker) - 1;
    RemoteReferenceOptions options;
    options.defer_plain = true;
    PlainRewrites plain(formatter, oldTable, newTable, column, oldCells, newCells);
    int result = 1;
    std::string reference;
    char number[24];
    for (std::size_t i = 0; i < oldCells.size(); ++i) {
        reference = rowTemplate;
        const std::to_chars_result end = std::to_chars(number, number + sizeof number,
                                                       static_cast<long long>(oldCells[i].row) + 1);
        reference.replace(marker, kMarkerLength, number,
                          static_cast<std::size_t>(end.ptr - number));
        RemoteOutcome outcome;
        if (!parse_remote_reference(formatter, reference, names, oldTable, newTable, column,
                                    oldCells, newCells, options, outcome)) {
            formatter.note("remote row", oldCells[i].row, [&] { return reference; });
            KQ_DEBUG_LINE("Failed to parse RemotePickList for Table : %s", reference.c_str());
            result = 0;
            continue;
        }
        if (outcome == RemoteOutcome::kPlain)
            plain.write_all();
        else if (outcome != RemoteOutcome::kLabelled)
            plain.all_touched();
        if (names.empty()) continue;  // the reference formatted the column itself
        plain.touched(i);
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
