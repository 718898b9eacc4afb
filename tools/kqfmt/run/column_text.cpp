// Packing display strings.
#include "run/column_text.h"

#include <limits>
#include <new>

#include "text/utf8_text.h"

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
    lines.plain = lines.plain && plain_text(text);
    if (text.size() > lines.longest) lines.longest = text.size();
    lines.ends.push_back(static_cast<uint32_t>(lines.bytes.size()));
}

}  // namespace kqfmt
