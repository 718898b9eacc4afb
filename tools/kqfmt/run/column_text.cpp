// Packing display strings.
#include "run/column_text.h"

#include <limits>
#include <new>

namespace kqfmt {

ColumnText::Lines& ColumnText::own() {
    if (!lines_)
        lines_ = std::make_shared<Lines>();
    else if (lines_.use_count() > 1)
        lines_ = std::make_shared<Lines>(*lines_);
    return *lines_;
}

void ColumnText::push_back(std::string_view text) {
    Lines& lines = own();
    if (text.size() > std::numeric_limits<uint32_t>::max() - lines.bytes.size())
        throw std::bad_alloc();
    lines.bytes.append(text.data(), text.size());
    lines.ends.push_back(static_cast<uint32_t>(lines.bytes.size()));
}

void ColumnText::reserve(std::size_t lines, std::size_t bytes) {
    Lines& own_lines = own();
    own_lines.ends.reserve(lines);
    own_lines.bytes.reserve(bytes);
}

}  // namespace kqfmt
