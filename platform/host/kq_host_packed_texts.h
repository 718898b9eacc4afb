// The texts of one host table column, slot by slot, packed: the bytes of
// every slot in one buffer and where each ends, a few bytes a cell where a
// string object each would take 32 and more. A loader writes the slots in
// order, which only appends; a slot written again (or before one already
// written) is kept apart and read from there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kqhost {

class PackedTexts {
public:
    // Number of slots written or passed over; slots at or past it read "".
    std::size_t size() const { return ends_.size(); }

    // The text of `slot`, "" for a slot never written; valid until the
    // next change.
    std::string_view operator[](std::size_t slot) const {
        if (slot >= ends_.size()) return {};
        if (!rewritten_.empty()) {
            const auto it = rewritten_.find(slot);
            if (it != rewritten_.end()) return it->second;
        }
        const std::size_t begin = slot == 0 ? 0 : ends_[slot - 1];
        return std::string_view(bytes_).substr(begin, ends_[slot] - begin);
    }

    // Writes the text of `slot`. Throws std::bad_alloc when the packed
    // bytes would pass 4 GiB, which the offsets cannot hold.
    void set(std::size_t slot, std::string_view text);

    // Keeps the first `count` slots.
    void truncate(std::size_t count);

private:
    std::string bytes_;
    std::vector<uint32_t> ends_;
    std::map<std::size_t, std::string> rewritten_;
};

}  // namespace kqhost
