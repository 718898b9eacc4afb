// Byte strings from the configuration are arbitrary bytes. These helpers
// tell well-formed UTF-8 from the rest and make any string safe to show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kqfmt {

// Length (1 to 4) of the well-formed UTF-8 sequence that starts at
// text[pos], or 0 when the bytes there do not form one (stray continuation
// byte, overlong form, surrogate, value past U+10FFFF, truncated sequence).
// pos must be below text.size().
std::size_t utf8_sequence_length(std::string_view text, std::size_t pos);

// The text as it can be written to a terminal: well-formed UTF-8 is kept;
// a backslash, control characters (C0, DEL) and bytes that are not
// well-formed UTF-8 become \xNN, and the C1 controls U+0080 to U+009F
// become \u0080 to \u009f, so configuration text cannot send terminal
// control sequences.
std::string printable_text(std::string_view text);

// Whether printable_text leaves the text as it is and each byte takes one
// display column: printable ASCII without a backslash. Looks at eight
// bytes at a time: packed display strings are checked whole.
inline bool plain_text(std::string_view text) {
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHighs = 0x8080808080808080u;
    // Whether some byte of `word` is below n (n <= 0x80), or is zero.
    const auto below = [](uint64_t word, uint64_t n) {
        return (word - kOnes * n) & ~word & kHighs;
    };
    std::size_t pos = 0;
    for (; pos + 8 <= text.size(); pos += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + pos, sizeof word);
        if ((word & kHighs) | below(word, 0x20) | below(word ^ (kOnes * 0x7F), 1) |
            below(word ^ (kOnes * '\\'), 1))
            return false;
    }
    bool plain = true;
    for (; pos < text.size(); ++pos)
        plain &= static_cast<unsigned char>(text[pos] - 0x20) < 0x5F && text[pos] != '\\';
    return plain;
}

// Appends printable_text(text) to `out` and returns its display_width.
std::size_t append_printable(std::string& out, std::string_view text);
// display_width(printable_text(text)), without making the text.
std::size_t printable_width(std::string_view text);

// The text for a message on standard error: as printable_text, but a
// backslash stays as it is. Every control byte, NUL included, is escaped, so
// the message is one line that nothing cuts short.
std::string message_text(std::string_view text);

// Columns a code point takes on a terminal: 0 for combining marks and
// zero-width characters, 2 for East Asian wide and fullwidth characters
// (CJK, Hangul, fullwidth forms, emoji), 1 for everything else.
int code_point_width(char32_t code_point);

// Columns a text that printable_text made takes on a terminal (the sum of
// its code points' widths); the grid pads cells by this count. ANSI colour
// sequences (ESC [ ... m) take none.
std::size_t display_width(std::string_view printable);

// The text cut to at most `width` columns: when it is wider, as many whole
// characters as fit in width - 1 columns followed by "…". Colour sequences
// are kept and a reset is added after a cut text that had any.
std::string cut_to_width(std::string_view printable, std::size_t width);

}  // namespace kqfmt
