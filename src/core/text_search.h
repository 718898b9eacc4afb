// The small vocabulary the format language is defined in: first occurrence
// from a position, last occurrence at or before a position, text between two
// positions or to the end. Every formatter cuts strings through these, so an
// off-by-one is fixed in one place.
#pragma once

#include <cstring>
#include <string>

namespace kq {

using Pos = std::string::size_type;
constexpr Pos kNone = std::string::npos;

// First occurrence of `what` at or after `from`; kNone when absent.
inline Pos find_from(const std::string& s, const char* what, Pos from = 0) {
    return s.find(what, from);
}
inline Pos find_from(const std::string& s, char what, Pos from = 0) { return s.find(what, from); }
inline Pos find_from(const std::string& s, const std::string& what, Pos from = 0) {
    return s.find(what, from);
}

inline bool contains(const std::string& s, const char* what) { return s.find(what) != kNone; }
inline bool contains(const std::string& s, char what) { return s.find(what) != kNone; }

// Last occurrence of `what` at or before `pos`; kNone when absent.
inline Pos last_at_or_before(const std::string& s, char what, Pos pos) {
    return s.rfind(what, pos);
}

// Text from `from` up to (not including) `to`, or to the end when `to` is
// kNone. `from` must not lie past the end.
inline std::string between(const std::string& s, Pos from, Pos to) {
    return s.substr(from, to == kNone ? kNone : to - from);
}

// Text after position `pos` (the character at `pos` excluded); empty when
// `pos` is the last character.
inline std::string after(const std::string& s, Pos pos) { return s.substr(pos + 1); }

// True when the `n` characters just before `pos` equal `word`.
inline bool preceded_by(const std::string& s, Pos pos, const char* word) {
    const Pos n = std::strlen(word);
    return pos >= n && s.compare(pos - n, n, word) == 0;
}

// A printf-style conversion letter at `letter` counts when the last "%" at
// or before it is the string's first character.
inline bool percent_leads(const std::string& s, Pos letter) {
    return last_at_or_before(s, '%', letter) == 0;
}

}  // namespace kq
