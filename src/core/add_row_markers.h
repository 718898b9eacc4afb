// The row-adding marker a static pick list may carry for the configuration
// screens: "__no_free_edit__\__ADD__=[ANALYSIS_CONFIG.__STORED_ROWS_...]".
// It names no values, so it is removed before the list is read.
#pragma once

#include <string>

namespace kq {

// Removes every marker together with the text up to and including the
// first "]" after it (to the end when none follows), searching again from
// the start after each removal.
void remove_add_row_markers(std::string& format);

}  // namespace kq
