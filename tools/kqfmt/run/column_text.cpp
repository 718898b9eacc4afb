// Packing display strings.
#include "run/column_text.h"

#include <limits>
#include <new>

namespace kqfmt {

void ColumnText::push_back(std::string_view text) {
    if (text.size() > std::numeric_limits<uint32_t>::max() - bytes_.size()) throw std::bad_alloc();
    bytes_.append(text.data(), text.size());
    ends_.push_back(static_cast<uint32_t>(bytes_.size()));
}

}  // namespace kqfmt
