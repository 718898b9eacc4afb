// The first occurrence in one text of each of many words, as a plain search
// of each word from the start would find it, without searching the whole
// text once per word.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/text_search.h"

namespace kq {

// Words of one length that outnumber that length share one pass over the
// text: each window of that length is looked up among those words, and the
// pass stops once every one of them has been seen. A window costs about as
// much as comparing one character per word, so a length with fewer words
// than characters is searched word by word, as is the empty word.
inline std::vector<Pos> first_occurrences(const std::string& text,
                                          const std::vector<std::string_view>& words) {
    std::vector<Pos> found(words.size(), kNone);
    std::unordered_map<std::size_t, std::size_t> per_length;
    for (std::string_view w : words) ++per_length[w.size()];

    for (const auto& [length, count] : per_length) {
        if (length == 0 || count <= length) continue;
        // Distinct words of this length, each with its first index in `words`.
        std::unordered_map<std::string_view, std::size_t> wanted;
        wanted.reserve(count);
        for (std::size_t i = 0; i < words.size(); ++i)
            if (words[i].size() == length) wanted.emplace(words[i], i);
        std::size_t left = wanted.size();
        for (Pos p = 0; left > 0 && p + length <= text.size(); ++p) {
            const auto at = wanted.find(std::string_view(text.data() + p, length));
            if (at != wanted.end() && found[at->second] == kNone) {
                found[at->second] = p;
                --left;
            }
        }
        // Repeated words take the answer of their first copy.
        for (std::size_t i = 0; i < words.size(); ++i)
            if (words[i].size() == length) found[i] = found[wanted.find(words[i])->second];
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::size_t length = words[i].size();
        if (length == 0 || per_length[length] <= length)
            found[i] = text.find(words[i].data(), 0, length);
    }
    return found;
}

}  // namespace kq
