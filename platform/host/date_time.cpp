// Host date/time formatter. Values are seconds from 1970-01-01 00:00:00 UTC
// held in 32 bits; a wider host `long` is cut to its low 32 bits first, so
// every host prints what the 32-bit target prints.
#include <charconv>
#include <cstdint>
#include <string>

#include "civil_date.h"
#include "csys_date_time_format.h"

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr const char* kDefaultTimeFormat = "HH:MM:SS";

int32_t target_seconds(long value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

// The time token starting at `pos`: 'H', 'M' or 'S' for "HH", "MM", "SS",
// 0 for an ordinary byte. Tokens are taken left to right, so "HHH" is one
// token and a literal "H".
char token_at(const std::string& format, std::string::size_type pos) {
    if (pos + 1 >= format.size() || format[pos] != format[pos + 1]) return 0;
    const char c = format[pos];
    return c == 'H' || c == 'M' || c == 'S' ? c : 0;
}

// Writes `number` in decimal, zero-padded to at least `digits` (at most 8)
// digits, as "%02llu" and its kin print it, ending at `end`; returns where
// the text starts.
char* put_padded(char* end, uint64_t number, int digits) {
    char* begin = end;
    do {
        *--begin = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    while (end - begin < digits) *--begin = '0';
    return begin;
}

void append_padded(std::string& out, uint64_t number, int digits) {
    char buffer[32];
    char* const end = buffer + sizeof buffer;
    const char* begin = put_padded(end, number, digits);
    out.append(begin, static_cast<std::size_t>(end - begin));
}

}  // namespace

CSysDateTimeFormat::CSysDateTimeFormat() = default;
CSysDateTimeFormat::~CSysDateTimeFormat() = default;

void CSysDateTimeFormat::SetMasterClassPointer(KW_MASTER_TABLE& master) { master_ = &master; }

void CSysDateTimeFormat::GetDateTime(long value, std::string& out) {
    const int64_t seconds = target_seconds(value);
    // Floor division: -1 is the last second of the day before the epoch.
    int64_t days = seconds / kSecondsPerDay;
    int64_t secondOfDay = seconds % kSecondsPerDay;
    if (secondOfDay < 0) {
        secondOfDay += kSecondsPerDay;
        --days;
    }
    const kqhost::CivilDate date = kqhost::civil_from_days(days);
    // 32-bit seconds reach the years 1901 to 2038: four digits, no sign.
    // "YYYY-MM-DD hh:mm:ss" is written back to front into one buffer.
    char text[32];
    char* const end = text + sizeof text;
    char* at = end;
    const auto field = [&at](uint64_t number, int digits, char before) {
        at = put_padded(at, number, digits);
        if (before != '\0') *--at = before;
    };
    field(static_cast<uint64_t>(secondOfDay % 60), 2, ':');
    field(static_cast<uint64_t>(secondOfDay / 60 % 60), 2, ':');
    field(static_cast<uint64_t>(secondOfDay / 3600), 2, ' ');
    field(static_cast<uint64_t>(date.day), 2, '-');
    field(static_cast<uint64_t>(date.month), 2, '-');
    field(static_cast<uint64_t>(date.year), 4, '\0');
    out.assign(at, static_cast<std::size_t>(end - at));
}

void CSysDateTimeFormat::GetTime(long value, std::string& out, char /*unused*/,
                                 std::string format) {
    if (format.empty()) format = kDefaultTimeFormat;
    const int32_t seconds = target_seconds(value);
    const uint64_t magnitude =
        seconds < 0 ? uint64_t(0) - static_cast<uint64_t>(int64_t{seconds}) : uint64_t(seconds);

    bool hasHours = false;
    bool hasMinutes = false;
    for (std::string::size_type pos = 0; pos < format.size();) {
        const char token = token_at(format, pos);
        hasHours = hasHours || token == 'H';
        hasMinutes = hasMinutes || token == 'M';
        pos += token ? 2 : 1;
    }
    // The largest unit shown takes the whole magnitude; smaller ones are the
    // remainder below it.
    const uint64_t hours = magnitude / 3600;
    const uint64_t minutes = hasHours ? magnitude / 60 % 60 : magnitude / 60;
    const uint64_t secs = hasHours || hasMinutes ? magnitude % 60 : magnitude;

    std::string text;
    text.reserve(format.size() + 8);
    if (seconds < 0) text += '-';
    for (std::string::size_type pos = 0; pos < format.size();) {
        switch (token_at(format, pos)) {
            case 'H':
                append_padded(text, hours, 2);
                pos += 2;
                break;
            case 'M':
                append_padded(text, minutes, 2);
                pos += 2;
                break;
            case 'S':
                append_padded(text, secs, 2);
                pos += 2;
                break;
            default:
                text += format[pos];
                pos += 1;
                break;
        }
    }
    out.swap(text);
}
