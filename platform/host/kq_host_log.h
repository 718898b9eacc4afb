// The host platform's log: records handed to a replaceable sink, and
// helpers that set the sink and the debug switch for a scope.
#pragma once

#include <functional>
#include <string>

#include "kq_log.h"

namespace kqhost {

// One log record as the sink receives it.
struct LogRecord {
    bool sys = false;  // false: DebugLog, true: SysLog
    int severity = 0;
    int number = 0;
    std::string file;
    unsigned long line = 0;
    std::string message;
};

using LogSink = std::function<void(const LogRecord&)>;

// Replaces the sink and returns the previous one. An empty sink restores the
// default, which writes "FILE:LINE: debug(SEV,NUM): MESSAGE" to stderr.
// Records are delivered one at a time, also when several threads log.
LogSink set_log_sink(LogSink sink);

// Installs a sink for the lifetime of the object, then puts back the one
// before it.
class ScopedLogSink {
public:
    explicit ScopedLogSink(LogSink sink) : previous_(set_log_sink(std::move(sink))) {}
    ~ScopedLogSink() { set_log_sink(std::move(previous_)); }
    ScopedLogSink(const ScopedLogSink&) = delete;
    ScopedLogSink& operator=(const ScopedLogSink&) = delete;

private:
    LogSink previous_;
};

// Sets DebugLevel for the lifetime of the object.
class ScopedDebugLevel {
public:
    explicit ScopedDebugLevel(unsigned char level) : previous_(DebugLevel) { DebugLevel = level; }
    ~ScopedDebugLevel() { DebugLevel = previous_; }
    ScopedDebugLevel(const ScopedDebugLevel&) = delete;
    ScopedDebugLevel& operator=(const ScopedDebugLevel&) = delete;

private:
    unsigned char previous_;
};

}  // namespace kqhost
