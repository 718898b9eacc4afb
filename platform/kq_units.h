// Platform engineering-unit services.
#pragma once

#include <cstdint>
#include <string>

// Engineering unit. The formatter gives meaning to 2 (no unit) and 18
// (seconds, the unit of the date/time formatter); other values are the
// catalog's ids.
enum UNIT_ENUM : int { UNIT_NONE = 2, UNIT_SECONDS = 18 };

// Data type codes as the tables report them.
enum data_type : int {
    DT_BYTE = 1,
    DT_UINT32 = 8,
    DT_INT32 = 9,
    DT_FLOAT = 12,
    DT_DOUBLE = 13,
    DT_STRING = 15,
};

// One numeric value of any convertible type; the caller fills the member
// that matches the type code and reads the same member back.
union DATA_TYPE_UNION {
    int32_t lVal;    // 9
    uint32_t ulVal;  // 8
    float fVal;      // 12
    double dVal;     // 13
};

// Unit id of a unit name; UNIT_NONE for an unknown or empty name.
UNIT_ENUM GetUnitEnum(const char* unitName);

// Text to show after a value in the named unit; the name itself when the
// catalog does not know it. Never null.
const char* getDisplayUnits(const char* unitName);

// Converts *value in place from one unit to another. Returns 0 on success;
// non-zero (value unchanged) for unknown units, different quantities, or a
// type other than 8, 9, 12, 13.
int ConvertUnits(UNIT_ENUM from, UNIT_ENUM to, data_type type, DATA_TYPE_UNION* value);
