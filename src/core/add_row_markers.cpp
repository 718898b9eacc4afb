// Removing the row-adding markers from a static pick list format.
#include "core/add_row_markers.h"

#include "core/text_search.h"

namespace kq {

void remove_add_row_markers(std::string& format) {
    static const char kMarker[] = "__no_free_edit__\\__ADD__=[ANALYSIS_CONFIG.__STORED_ROWS_";
    for (Pos p = find_from(format, kMarker); p != kNone; p = find_from(format, kMarker)) {
        const Pos close = find_from(format, ']', p + sizeof kMarker - 1);
        format.erase(p, close == kNone ? kNone : close + 1 - p);
    }
}

}  // namespace kq
