// UTF-8 recognition and terminal-safe text.
#include "utf8_text.h"

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

std::string escaped_text(std::string_view text, bool escape_backslash) {
    std::string out;
    out.reserve(text.size());
    char escape[8];
    for (std::size_t pos = 0; pos < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        const std::size_t length = utf8_sequence_length(text, pos);
        if (length == 0 || c < 0x20 || c == 0x7F || (c == '\\' && escape_backslash)) {
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            out += escape;
            ++pos;
        } else if (length == 2 && c == 0xC2 && static_cast<unsigned char>(text[pos + 1]) < 0xA0) {
            std::snprintf(escape, sizeof escape, "\\u%04x",
                          static_cast<unsigned>(static_cast<unsigned char>(text[pos + 1])));
            out += escape;
            pos += 2;
        } else {
            out.append(text, pos, length);
            pos += length;
        }
    }
    return out;
}

}  // namespace

std::string printable_text(std::string_view text) { return escaped_text(text, true); }

std::string message_text(std::string_view text) { return escaped_text(text, false); }

std::size_t display_width(std::string_view printable) {
    std::size_t width = 0;
    for (char c : printable)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
    return width;
}

std::size_t printable_width(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        const std::size_t length = utf8_sequence_length(text, pos);
        if (length == 0 || c < 0x20 || c == 0x7F || c == '\\') {
            width += 4;  // \xNN
            ++pos;
        } else if (length == 2 && c == 0xC2 && static_cast<unsigned char>(text[pos + 1]) < 0xA0) {
            width += 6;  // \u00NN
            pos += 2;
        } else {
            ++width;
            pos += length;
        }
    }
    return width;
}

}  // namespace kqfmt
