// UTF-8 recognition and terminal-safe text.
#include "text/utf8_text.h"

#include <cstdio>

namespace kqfmt {

std::size_t utf8_sequence_length(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;  // allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // no overlong forms
        if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
    } else {
        return 0;  // continuation byte, C0, C1, F5 to FF
    }
    if (text.size() - pos < length) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// Combining marks and zero-width characters.
const Range kZeroWidth[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05C7},  {0x0610, 0x061A},
    {0x064B, 0x065F}, {0x0670, 0x0670}, {0x06D6, 0x06ED}, {0x0900, 0x0903},  {0x093A, 0x094F},
    {0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x1AB0, 0x1AFF},  {0x1DC0, 0x1DFF},
    {0x200B, 0x200F}, {0x2060, 0x2064}, {0x20D0, 0x20FF}, {0x302A, 0x302F},  {0x3099, 0x309A},
    {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF}, {0xE0100, 0xE01EF}};

// East Asian wide and fullwidth characters.
const Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x25FD, 0x25FE},   {0x2614, 0x2615},   {0x2E80, 0x303E},   {0x3041, 0x33FF},
    {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xA960, 0xA97F},
    {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},
    {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x18AFF}, {0x1B000, 0x1B2FF},
    {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD},
    {0x30000, 0x3FFFD}};

template <std::size_t N>
bool in_ranges(const Range (&ranges)[N], char32_t code_point) {
    for (const Range& range : ranges)
        if (code_point >= range.first && code_point <= range.last) return true;
    return false;
}

// The code point of the well-formed sequence of `length` bytes at text[pos].
char32_t decode(std::string_view text, std::size_t pos, std::size_t length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    if (length == 1) return byte(0);
    char32_t code_point = byte(0) & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) code_point = (code_point << 6) | (byte(i) & 0x3F);
    return code_point;
}

// Length of an ANSI colour sequence (ESC [ digits and ';' then 'm') at
// text[pos], 0 when there is none.
std::size_t colour_sequence_length(std::string_view text, std::size_t pos) {
    if (text[pos] != '\x1b' || pos + 1 >= text.size() || text[pos + 1] != '[') return 0;
    for (std::size_t end = pos + 2; end < text.size(); ++end) {
        if (text[end] == 'm') return end + 1 - pos;
        if ((text[end] < '0' || text[end] > '9') && text[end] != ';') return 0;
    }
    return 0;
}

// Walks the text: calls visit(pos, length, width) for every character,
// skipping colour sequences (reported with width -1).
template <typename Visit>
void walk(std::string_view text, Visit visit) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t colour = colour_sequence_length(text, pos);
        if (colour > 0) {
            if (!visit(pos, colour, -1)) return;
            pos += colour;
            continue;
        }
        std::size_t length = utf8_sequence_length(text, pos);
        int width = 1;
        if (length == 0) {
            length = 1;
        } else {
            width = code_point_width(decode(text, pos, length));
        }
        if (!visit(pos, length, width)) return;
        pos += length;
    }
}

}  // namespace

namespace {

// Walks the text as the escaped text shows it: hands each piece (a run of
// bytes kept as they are, or the escape of one byte or character) to
// put(piece) and returns the display width of them all. Runs of plain
// ASCII, the common case, come as one piece.
template <class Put>
std::size_t escape_walk(std::string_view text, bool escape_backslash, Put&& put) {
    std::size_t width = 0;
    char escape[8];
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t run = pos;
        while (run < text.size() && text[run] >= 0x20 && text[run] < 0x7F &&
               (text[run] != '\\' || !escape_backslash))
            ++run;
        if (run > pos) {
            put(text.substr(pos, run - pos));
            width += run - pos;
            pos = run;
            if (pos == text.size()) break;
        }
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        const std::size_t length = utf8_sequence_length(text, pos);
        if (length == 0 || c < 0x20 || c == 0x7F || (c == '\\' && escape_backslash)) {
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            put(std::string_view(escape, 4));
            width += 4;
            ++pos;
        } else if (length == 2 && c == 0xC2 && static_cast<unsigned char>(text[pos + 1]) < 0xA0) {
            std::snprintf(escape, sizeof escape, "\\u%04x",
                          static_cast<unsigned>(static_cast<unsigned char>(text[pos + 1])));
            put(std::string_view(escape, 6));
            width += 6;
            pos += 2;
        } else {
            put(text.substr(pos, length));
            width += static_cast<std::size_t>(code_point_width(decode(text, pos, length)));
            pos += length;
        }
    }
    return width;
}

// Appends the escaped text to `out` and returns the display width of what it
// appended.
std::size_t append_escaped(std::string& out, std::string_view text, bool escape_backslash) {
    return escape_walk(text, escape_backslash,
                       [&out](std::string_view piece) { out.append(piece.data(), piece.size()); });
}

std::string escaped_text(std::string_view text, bool escape_backslash) {
    std::string out;
    out.reserve(text.size());
    append_escaped(out, text, escape_backslash);
    return out;
}

}  // namespace

std::string printable_text(std::string_view text) { return escaped_text(text, true); }

std::size_t append_printable(std::string& out, std::string_view text) {
    return append_escaped(out, text, true);
}

std::size_t printable_width(std::string_view text) {
    return escape_walk(text, true, [](std::string_view) {});
}

std::string message_text(std::string_view text) { return escaped_text(text, false); }

int code_point_width(char32_t code_point) {
    if (in_ranges(kZeroWidth, code_point)) return 0;
    if (in_ranges(kWide, code_point)) return 2;
    return 1;
}

std::size_t display_width(std::string_view printable) {
    std::size_t width = 0;
    walk(printable, [&](std::size_t, std::size_t, int w) {
        if (w > 0) width += static_cast<std::size_t>(w);
        return true;
    });
    return width;
}

std::string cut_to_width(std::string_view printable, std::size_t width) {
    if (display_width(printable) <= width) return std::string(printable);
    std::string out;
    std::size_t used = 0;
    bool coloured = false;
    const std::size_t room = width > 0 ? width - 1 : 0;
    walk(printable, [&](std::size_t pos, std::size_t length, int w) {
        if (w < 0) {
            coloured = true;
            out.append(printable, pos, length);
            return true;
        }
        if (used + static_cast<std::size_t>(w) > room) return false;
        used += static_cast<std::size_t>(w);
        out.append(printable, pos, length);
        return true;
    });
    if (width > 0) out += "\xE2\x80\xA6";  // "…"
    if (coloured) out += "\x1b[0m";
    return out;
}

}  // namespace kqfmt
