// The two shapes of log line the formatter writes. Every line names the file
// "kq_format_data" and the source line of the call.
#pragma once

#include "kq_log.h"

namespace kq {
constexpr const char* kLogFile = "kq_format_data";
}

// Debug line: only when DebugLevel is set; severity 3, number 0.
#define KQ_DEBUG_LINE(...)                                                            \
    do {                                                                              \
        if (DebugLevel)                                                               \
            DebugLog(static_cast<ERR_SEVERITY_ENUM>(3), static_cast<ERR_NUM_ENUM>(0), \
                     kq::kLogFile, __LINE__, __VA_ARGS__);                            \
    } while (0)

// Error line: the debug line, then always a SysLog with its own severity and
// number, tagged with the next line number.
#define KQ_ERROR_LINE(severity, number, ...)                                                \
    do {                                                                                    \
        KQ_DEBUG_LINE(__VA_ARGS__);                                                         \
        SysLog(static_cast<ERR_SEVERITY_ENUM>(severity), static_cast<ERR_NUM_ENUM>(number), \
               kq::kLogFile, __LINE__ + 1, __VA_ARGS__);                                    \
    } while (0)
