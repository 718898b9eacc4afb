// Host log: formats each record and hands it to a replaceable sink. Records
// are delivered one at a time, so the sink needs no locking of its own.
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <vector>

#include "kq_host_log.h"

unsigned char DebugLevel = 0;

namespace {

std::mutex& sink_mutex() {
    static std::mutex m;
    return m;
}

kqhost::LogSink& current_sink() {
    static kqhost::LogSink sink;
    return sink;
}

void default_sink(const kqhost::LogRecord& r) {
    std::fprintf(stderr, "%s:%lu: %s(%d,%d): %s\n", r.file.c_str(), r.line, r.sys ? "sys" : "debug",
                 r.severity, r.number, r.message.c_str());
}

void emit(bool sys, int severity, int number, const char* file, unsigned long line,
          const char* format, va_list args) {
    kqhost::LogRecord record;
    record.sys = sys;
    record.severity = severity;
    record.number = number;
    record.file = file ? file : "";
    record.line = line;
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n > 0) {
        std::vector<char> buf(static_cast<size_t>(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), format, args);
        record.message.assign(buf.data(), static_cast<size_t>(n));
    }
    std::lock_guard<std::mutex> lock(sink_mutex());
    if (current_sink())
        current_sink()(record);
    else
        default_sink(record);
}

}  // namespace

void DebugLog(ERR_SEVERITY_ENUM severity, ERR_NUM_ENUM number, const char* file, unsigned long line,
              const char* format, ...) {
    va_list args;
    va_start(args, format);
    emit(false, severity, number, file, line, format, args);
    va_end(args);
}

void SysLog(ERR_SEVERITY_ENUM severity, ERR_NUM_ENUM number, const char* file, unsigned long line,
            const char* format, ...) {
    va_list args;
    va_start(args, format);
    emit(true, severity, number, file, line, format, args);
    va_end(args);
}

namespace kqhost {

LogSink set_log_sink(LogSink sink) {
    std::lock_guard<std::mutex> lock(sink_mutex());
    LogSink previous = std::move(current_sink());
    current_sink() = std::move(sink);
    return previous;
}

}  // namespace kqhost
