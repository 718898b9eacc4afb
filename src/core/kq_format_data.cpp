// The formatter object: holds the master table pointer and nothing else.
// Each call runs on a kq::Formatter built for it.
#include "kq_format_data.h"

#include "core/formatter.h"

KQ_FORMAT_DATA::KQ_FORMAT_DATA() = default;

KQ_FORMAT_DATA::KQ_FORMAT_DATA(KW_MASTER_TABLE* master) { Set_master_table_pointer(master); }

// The master table belongs to the host; only the pointer is forgotten.
KQ_FORMAT_DATA::~KQ_FORMAT_DATA() { pMasterTable = nullptr; }

// Once held, the pointer is never replaced; null is ignored.
void KQ_FORMAT_DATA::Set_master_table_pointer(KW_MASTER_TABLE* master) {
    if (pMasterTable == nullptr && master != nullptr) pMasterTable = master;
}

int KQ_FORMAT_DATA::GetFormattedValue(KQ_TABLE_COPY* oldTable, KWTABLE* newTable,
                                      std::vector<kq_formatted_col_data_struct>& oldColumns,
                                      std::vector<kq_formatted_col_data_struct>& newColumns) {
    return kq::Formatter(pMasterTable)
        .GetFormattedValue(oldTable, newTable, oldColumns, newColumns);
}
