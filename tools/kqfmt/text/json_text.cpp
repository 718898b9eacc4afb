// Writing JSON with byte-exact string escaping.
#include "text/json_text.h"

#include <cstdio>

#include "text/utf8_text.h"

namespace kqfmt {
namespace {

using Json = nlohmann::ordered_json;

void append_escape(std::string& out, unsigned char byte) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(byte));
    out += escape;
}

bool is_container(const Json& value) { return value.is_object() || value.is_array(); }

bool holds_only_scalars(const Json& value) {
    for (const auto& member : value)
        if (is_container(member)) return false;
    return true;
}

void append_value(std::string& out, const Json& value, int depth);

void append_newline(std::string& out, int depth) {
    out += '\n';
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

void append_container(std::string& out, const Json& value, int depth) {
    const bool object = value.is_object();
    out += object ? '{' : '[';
    if (value.empty()) {
        out += object ? '}' : ']';
        return;
    }
    const bool inline_form = holds_only_scalars(value);
    bool first = true;
    for (auto it = value.begin(); it != value.end(); ++it) {
        if (!first) out += inline_form ? ", " : ",";
        first = false;
        if (!inline_form) append_newline(out, depth + 1);
        if (object) {
            append_json_string(out, it.key());
            out += ": ";
        }
        append_value(out, it.value(), depth + 1);
    }
    if (!inline_form) append_newline(out, depth);
    out += object ? '}' : ']';
}

void append_value(std::string& out, const Json& value, int depth) {
    if (value.is_string())
        append_json_string(out, value.get_ref<const std::string&>());
    else if (is_container(value))
        append_container(out, value, depth);
    else
        out += value.dump();  // numbers, booleans, null
}

// True for a byte that JSON text holds as it is: printable ASCII but the
// quote and the backslash (DEL included, as JSON allows).
bool stands_for_itself(unsigned char c) { return c >= 0x20 && c < 0x80 && c != '"' && c != '\\'; }

}  // namespace

void append_json_string(std::string& out, std::string_view bytes) {
    out += '"';
    for (std::size_t pos = 0; pos < bytes.size();) {
        // A run of such bytes is copied whole.
        std::size_t end = pos;
        while (end < bytes.size() && stands_for_itself(static_cast<unsigned char>(bytes[end])))
            ++end;
        out.append(bytes.data() + pos, end - pos);
        pos = end;
        if (pos == bytes.size()) break;
        const unsigned char c = static_cast<unsigned char>(bytes[pos]);
        const std::size_t length = utf8_sequence_length(bytes, pos);
        if (length > 1) {
            out.append(bytes, pos, length);
            pos += length;
            continue;
        }
        ++pos;
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || length == 0)
                    append_escape(out, c);
                else
                    out += static_cast<char>(c);
        }
    }
    out += '"';
}

std::string to_json_text(const Json& document) {
    std::string out;
    append_value(out, document, 0);
    out += '\n';
    return out;
}

}  // namespace kqfmt
