// A name map read by integer value, for columns whose stored values are
// looked up by their decimal text.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/formatter.h"

namespace kq {

// True when `text` is exactly the "%ld" text of a 32-bit value (no sign but
// "-", no leading zeros, no blanks, no "-0"), stored in `value`.
inline bool is_ld_text(const std::string& text, int32_t& value) {
    const char* end = text.data() + text.size();
    const std::from_chars_result read = std::from_chars(text.data(), end, value);
    if (read.ec != std::errc() || read.ptr != end) return false;
    char canonical[12];
    const std::to_chars_result written =
        std::to_chars(canonical, canonical + sizeof canonical, value);
    return text.compare(0, text.size(), canonical, static_cast<size_t>(written.ptr - canonical)) ==
           0;
}

// The names of a map whose keys are decimal texts of 32-bit values as "%ld"
// writes them. A key written any other way ("01", "+1", " 1", "-0") can
// never equal such a text and is left out, so looking a value up here gives
// the same name as looking its text up in the map. Built once per call.
class IntegerNames {
    using Entry = std::pair<int32_t, const std::string*>;

public:
    explicit IntegerNames(const KQ_NAME_MAP& names) {
        entries_.reserve(names.size());
        for (const auto& entry : names) {
            int32_t value = 0;
            if (is_ld_text(entry.first, value)) entries_.emplace_back(value, &entry.second);
        }
        // Keys are distinct texts, so their values are distinct too.
        std::sort(entries_.begin(), entries_.end(),
                  [](const Entry& a, const Entry& b) { return a.first < b.first; });
    }

    // The name of `value`, or null.
    const std::string* find(int32_t value) const {
        const auto at = std::lower_bound(entries_.begin(), entries_.end(), value,
                                         [](const Entry& e, int32_t v) { return e.first < v; });
        return at != entries_.end() && at->first == value ? at->second : nullptr;
    }

private:
    std::vector<Entry> entries_;  // by value
};

}  // namespace kq
