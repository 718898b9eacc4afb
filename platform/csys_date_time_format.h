// Platform date/time formatter. Values are signed seconds (unit 18) from
// 1970-01-01 00:00:00 UTC.
#pragma once

#include <string>

class KW_MASTER_TABLE;

class CSysDateTimeFormat {
public:
    CSysDateTimeFormat();
    ~CSysDateTimeFormat();

    void SetMasterClassPointer(KW_MASTER_TABLE& master);

    // "YYYY-MM-DD HH:MM:SS" in UTC.
    void GetDateTime(long value, std::string& out);

    // The value shaped by `format` (tokens HH, MM, SS; empty means HH:MM:SS).
    // The character argument is unused.
    void GetTime(long value, std::string& out, char unused, std::string format);

private:
    KW_MASTER_TABLE* master_ = nullptr;
};
