// Reasons for the verdicts of the format-string tests.
#include "explain_reasons.h"

#include <cctype>

#include "core/text_search.h"

namespace kqfmt {
namespace {

using kq::kNone;
using kq::Pos;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }
std::string quoted(char c) { return quoted(std::string(1, c)); }
std::string at(Pos pos) { return " at " + std::to_string(pos); }

bool is_letter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// ", in "of"" when the letter at `pos` stands inside a word of literal text
// rather than right after a specifier's "%", flags, width or precision.
std::string word_around(const std::string& s, Pos pos) {
    Pos begin = pos;
    while (begin > 0 && is_letter(s[begin - 1])) --begin;
    Pos end = pos + 1;
    while (end < s.size() && is_letter(s[end])) ++end;
    if (end - begin < 2) return "";
    if (begin > 0) {
        const char before = s[begin - 1];
        if (before == '%' || before == '.' || std::isdigit(static_cast<unsigned char>(before)))
            return "";
    }
    return " (in " + quoted(s.substr(begin, end - begin)) + ")";
}

// The rule shared by the integer and the floating-point test.
std::string why_numeric(const std::string& s, const char* keyword, char letter, char fallback) {
    const Pos key = kq::find_from(s, keyword);
    if (key != kNone) return "contains " + quoted(keyword) + at(key);
    std::string text;
    char used = letter;
    Pos p = kq::find_from(s, letter);
    if (p == kNone) {
        text = "no " + quoted(letter) + "; ";
        used = fallback;
        p = kq::find_from(s, fallback);
        if (p == kNone)
            return "no " + quoted(keyword) + ", no " + quoted(letter) + ", no " + quoted(fallback);
    }
    text += "first " + quoted(used) + at(p) + word_around(s, p);
    const Pos percent = kq::last_at_or_before(s, '%', p);
    if (percent == kNone) return text + ", no \"%\" before it";
    text += ", last \"%\" at or before it" + at(percent);
    if (percent != 0) text += " (not the first character)";
    return text;
}

}  // namespace

std::string why_trigger_dependency(const std::string& format) {
    if (format[0] == '@') return "first character is \"@\"";
    return "first character is " + quoted(format[0]) + ", not \"@\"";
}

std::string why_date_time(const std::string& format, bool flagged) {
    const Pos marker = kq::find_from(format, "__DATE_TIME__");
    if (marker != kNone) return "contains \"__DATE_TIME__\"" + at(marker);
    if (flagged) return "no \"__DATE_TIME__\", but the table flags the column as date/time";
    return "no \"__DATE_TIME__\" and the column is not flagged as date/time";
}

std::string why_int(const std::string& format) { return why_numeric(format, "int(%", 'd', 'u'); }

std::string why_float(const std::string& format) {
    return why_numeric(format, "float(%", 'g', 'f');
}

std::string why_static_picklist(const std::string& format) {
    const Pos s = kq::find_from(format, "%s");
    if (s != kNone) return "a string format: contains \"%s\"" + at(s);
    const Pos open = kq::find_from(format, '(');
    if (open == kNone) return "no \"(\"";
    if (kq::find_from(format, "__FILTER__", open) == open + 1)
        return "the first \"(\"" + at(open) + " opens a filter: \"__FILTER__\" follows it";
    return "first \"(\"" + at(open);
}

std::string why_remote_picklist(const std::string& format, bool is_float, bool is_int) {
    const Pos equals = kq::find_from(format, '=');
    if (equals != kNone) {
        const Pos dot = kq::find_from(format, '.', equals + 1);
        if (dot != kNone) return "\"=\"" + at(equals) + ", then \".\"" + at(dot);
    }
    const std::string lead = equals == kNone ? "no \"=\"" : "no \".\" after the \"=\"" + at(equals);
    if (is_float) return lead + "; a floating-point format (" + why_float(format) + ")";
    if (is_int) return lead + "; an integer format (" + why_int(format) + ")";
    const Pos dot = kq::find_from(format, '.');
    return lead + (dot != kNone ? "; \".\"" + at(dot) : "; no \".\" at all");
}

std::string why_string_format(const std::string& format) {
    const Pos s = kq::find_from(format, "%s");
    return s != kNone ? "contains \"%s\"" + at(s) : "no \"%s\"";
}

}  // namespace kqfmt
