// System-variable columns: stored internal names shown by their display
// names, and the label-column test of the same shape.
#include "core/formatter.h"
#include "kw_parse_sys_var.h"
#include "kw_table.h"
#include "log_lines.h"
#include "table_access.h"

using namespace kq;

namespace {

template <class Table>
void system_var_names(kq::Formatter& formatter, Table* table, long column, KQ_CELL_LIST& cells) {
    // The parser lives for the whole call and is released on every exit,
    // also when an error passes through.
    KW_PARSE_SYS_VAR parser(formatter.master_table());
    std::string name;
    for (auto& cell : cells) {
        if (!row_in_range(table, cell.row)) continue;
        read_cell(table, column, cell.row, name);
        if (name.empty() || name == "__NULL__" || name == "none") continue;
        if (!parser.Get_Display_Name(name, cell.value, std::string())) {
            formatter.note("unknown system variable", cell.row, [&] { return name; });
            KQ_DEBUG_LINE("Unable to get pretty name for %s ", cell.value.c_str());
        }
    }
}

}  // namespace

int kq::Formatter::checkSystemVar(KWTABLE* table, long column, std::string& selection) {
    selection = table->get_component_sel(static_cast<int>(column));
    return selection.empty() ? 0 : 1;
}

int kq::Formatter::checkLabelCol(KWTABLE* table, long column, std::string& labelColumn) {
    labelColumn = table->get_label_col(static_cast<int>(column));
    return labelColumn.empty() ? 0 : 1;
}

void kq::Formatter::getPrettyValFromSystemVar(KWTABLE* table, long column, KQ_CELL_LIST& cells) {
    system_var_names(*this, table, column, cells);
}

void kq::Formatter::getPrettyValFromSystemVar(KQ_TABLE_COPY* table, long column,
                                              KQ_CELL_LIST& cells) {
    system_var_names(*this, table, column, cells);
}
