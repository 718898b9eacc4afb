// Packed texts of a host table column.
#include <limits>
#include <new>

#include "kq_host_packed_texts.h"

namespace kqhost {

void PackedTexts::set(std::size_t slot, std::string_view text) {
    if (slot < ends_.size()) {
        rewritten_[slot].assign(text.data(), text.size());
        return;
    }
    if (text.size() > std::numeric_limits<uint32_t>::max() - bytes_.size()) throw std::bad_alloc();
    // Slots passed over read "".
    ends_.resize(slot, static_cast<uint32_t>(bytes_.size()));
    bytes_.append(text.data(), text.size());
    ends_.push_back(static_cast<uint32_t>(bytes_.size()));
}

void PackedTexts::truncate(std::size_t count) {
    if (count >= ends_.size()) return;
    bytes_.resize(count == 0 ? 0 : ends_[count - 1]);
    ends_.resize(count);
    rewritten_.erase(rewritten_.lower_bound(count), rewritten_.end());
}

}  // namespace kqhost
