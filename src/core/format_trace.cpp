// The traced form of one column's formatting.
#include "core/formatter.h"
#include "kq_format_trace.h"

const char* KQ_ColumnKindName(KQ_COLUMN_KIND kind) {
    switch (kind) {
        case KQ_COLUMN_KIND::FLOAT: return "float";
        case KQ_COLUMN_KIND::INTEGER: return "integer";
        case KQ_COLUMN_KIND::DATE_TIME: return "date/time";
        case KQ_COLUMN_KIND::TRIGGER_DEPENDENCY: return "trigger dependency";
        case KQ_COLUMN_KIND::STATIC_PICK_LIST: return "static pick list";
        case KQ_COLUMN_KIND::REMOTE_PICK_LIST: return "remote pick list";
        case KQ_COLUMN_KIND::SYSTEM_VARIABLE: return "system variable";
        case KQ_COLUMN_KIND::PLAIN_VALUE: return "plain value";
        case KQ_COLUMN_KIND::NONE: break;
    }
    return "none";
}

int KQ_TraceFormattedValue(KW_MASTER_TABLE* master, KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                           std::vector<kq_formatted_col_data_struct>& oldColumns,
                           std::vector<kq_formatted_col_data_struct>& newColumns,
                           KQ_FORMAT_TRACE& trace) {
    trace = KQ_FORMAT_TRACE();
    return kq::Formatter(master, &trace)
        .GetFormattedValue(oldTable, newTable, oldColumns, newColumns);
}
