// Platform parser of system-variable names.
#pragma once

#include <string>

class KW_MASTER_TABLE;

class KW_PARSE_SYS_VAR {
public:
    explicit KW_PARSE_SYS_VAR(KW_MASTER_TABLE* master);
    ~KW_PARSE_SYS_VAR();

    // Non-zero when `name` has a display name, which is written into
    // `displayName`; 0 otherwise, `displayName` unchanged. `extra` is unused.
    int Get_Display_Name(std::string name, std::string& displayName, std::string extra);

private:
    KW_MASTER_TABLE* master_;
};
