// Host system-variable parser: display names from the master table's
// catalog.
#include "kq_host_table.h"
#include "kw_parse_sys_var.h"
#include "kw_table.h"

KW_PARSE_SYS_VAR::KW_PARSE_SYS_VAR(KW_MASTER_TABLE* master) : master_(master) {}
KW_PARSE_SYS_VAR::~KW_PARSE_SYS_VAR() = default;

int KW_PARSE_SYS_VAR::Get_Display_Name(std::string name, std::string& displayName, std::string) {
    const std::string* display =
        master_ ? static_cast<kqhost::MasterTable*>(master_)->data().sys_var_display(name)
                : nullptr;
    if (!display) return 0;
    displayName = *display;
    return 1;
}
