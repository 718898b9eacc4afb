// Platform log services: the debug switch and the two log functions the
// formatter writes to.
#pragma once

// Severity and number of a log record. The platform gives meaning to a few
// values only; any int is a valid enumerator.
enum ERR_SEVERITY_ENUM : int { ERR_SEVERITY_0 = 0, ERR_SEVERITY_2 = 2, ERR_SEVERITY_3 = 3 };
enum ERR_NUM_ENUM : int { ERR_NUM_0 = 0, ERR_NUM_2 = 2 };

// Non-zero enables debug lines. One byte, read by the formatter, written by
// the host before formatting.
extern unsigned char DebugLevel;

// printf-style log calls. Each hands one record to the current sink.
void DebugLog(ERR_SEVERITY_ENUM severity, ERR_NUM_ENUM number, const char* file, unsigned long line,
              const char* format, ...) __attribute__((format(printf, 5, 6)));
void SysLog(ERR_SEVERITY_ENUM severity, ERR_NUM_ENUM number, const char* file, unsigned long line,
            const char* format, ...) __attribute__((format(printf, 5, 6)));
