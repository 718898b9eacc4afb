// Choosing a column's formatter. Every verdict comes from the format-string
// predicates; when a trace is wanted, each test also records the positions
// that decided it, worked out from the same searches.
#include "core/column_classification.h"

#include <cctype>

#include "core/text_search.h"

namespace kq {
namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }
std::string quoted(char c) { return quoted(std::string(1, c)); }
std::string at(Pos pos) { return " at " + std::to_string(pos); }

bool is_letter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// ` (in "of")` when the letter at `pos` stands inside a word of literal
// text rather than right after a specifier's "%", flags, width or precision.
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

// Why the integer or floating-point test held or not.
std::string why_numeric(const std::string& s, const NumericSyntaxMatch& m, const char* keyword,
                        char letter, char fallback) {
    if (m.keyword != kNone) return "contains " + quoted(keyword) + at(m.keyword);
    if (m.letter == kNone)
        return "no " + quoted(keyword) + ", no " + quoted(letter) + ", no " + quoted(fallback);
    std::string text = m.used_fallback ? "no " + quoted(letter) + "; " : std::string();
    text += "first " + quoted(m.used_fallback ? fallback : letter) + at(m.letter) +
            word_around(s, m.letter);
    if (m.percent == kNone) return text + ", no \"%\" before it";
    text += ", last \"%\" at or before it" + at(m.percent);
    if (m.percent != 0) text += " (not the first character)";
    return text;
}

std::string why_int(const std::string& s) {
    return why_numeric(s, match_int_format(s), "int(%", 'd', 'u');
}
std::string why_float(const std::string& s) {
    return why_numeric(s, match_float_format(s), "float(%", 'g', 'f');
}

std::string why_static(const std::string& s) {
    const Pos str = find_from(s, "%s");
    if (str != kNone) return "a string format: contains \"%s\"" + at(str);
    const Pos open = find_from(s, '(');
    if (open == kNone) return "no \"(\"";
    if (find_from(s, "__FILTER__", open) == open + 1)
        return "the first \"(\"" + at(open) + " opens a filter: \"__FILTER__\" follows it";
    return "first \"(\"" + at(open);
}

std::string why_remote(Formatter& f, const std::string& s) {
    const Pos equals = find_from(s, '=');
    if (equals != kNone) {
        const Pos dot = find_from(s, '.', equals + 1);
        if (dot != kNone) return "\"=\"" + at(equals) + ", then \".\"" + at(dot);
    }
    const std::string lead = equals == kNone ? "no \"=\"" : "no \".\" after the \"=\"" + at(equals);
    if (f.check_if_float(s)) return lead + "; a floating-point format (" + why_float(s) + ")";
    if (f.check_if_int(s)) return lead + "; an integer format (" + why_int(s) + ")";
    const Pos dot = find_from(s, '.');
    return lead + (dot != kNone ? "; \".\"" + at(dot) : "; no \".\" at all");
}

std::string why_string(const std::string& s) {
    const Pos str = find_from(s, "%s");
    return str != kNone ? "contains \"%s\"" + at(str) : "no \"%s\"";
}

// Records one test and passes its verdict on. `why` runs only when traced.
template <class WhyFn>
bool step(KQ_FORMAT_TRACE* trace, const char* test, bool held, WhyFn&& why) {
    if (trace != nullptr) trace->steps.push_back({test, held, why()});
    return held;
}

bool is_float_type(int type) { return type == KQ_TYPE_FLOAT || type == KQ_TYPE_DOUBLE; }
bool is_int32_type(int type) { return type == KQ_TYPE_UINT32 || type == KQ_TYPE_INT32; }

}  // namespace

KQ_COLUMN_KIND classify_list_or_string(Formatter& f, const ColumnFacts& c, KQ_FORMAT_TRACE* t) {
    const std::string& s = c.format;
    if (step(t, "check_if_static_picklist", f.check_if_static_picklist(s) != 0,
             [&] { return why_static(s); }))
        return KQ_COLUMN_KIND::STATIC_PICK_LIST;
    // The remote test is asked first, so its debug line comes before the
    // reason is worked out.
    const bool remote = f.check_if_remote_picklist(s) != 0;
    if (step(t, "check_if_remote_picklist", remote, [&] { return why_remote(f, s); }))
        return KQ_COLUMN_KIND::REMOTE_PICK_LIST;
    if (!step(t, "check_if_string_format", f.check_if_string_format(s) != 0,
              [&] { return why_string(s); }))
        return KQ_COLUMN_KIND::NONE;
    const bool selection = !c.component_sel.empty();
    step(t, "checkSystemVar", selection, [&] {
        return selection ? "component selection " + quoted(c.component_sel)
                         : std::string("no component selection");
    });
    return selection ? KQ_COLUMN_KIND::SYSTEM_VARIABLE : KQ_COLUMN_KIND::PLAIN_VALUE;
}

KQ_COLUMN_KIND classify_column(Formatter& f, const ColumnFacts& c, KQ_FORMAT_TRACE* t) {
    const std::string& s = c.format;
    const std::string type = std::to_string(c.type);
    if (is_float_type(c.type)) {
        step(t, "numeric type", true,
             [&] { return "type " + type + " always goes to the floating-point formatter"; });
        return KQ_COLUMN_KIND::FLOAT;
    }
    if (step(t, "numeric type", is_int32_type(c.type), [&] {
            return is_int32_type(c.type) ? "type " + type + ": the numeric tests come first"
                                         : "type " + type + " takes the general path";
        })) {
        if (step(t, "check_if_int", f.check_if_int(s) != 0, [&] { return why_int(s); }))
            return KQ_COLUMN_KIND::INTEGER;
        const Pos marker = find_from(s, "__DATE_TIME__");
        if (step(t, "check_if_date_time", marker != kNone || c.is_date_time != 0, [&] {
                if (marker != kNone) return "contains \"__DATE_TIME__\"" + at(marker);
                return std::string(c.is_date_time != 0
                                       ? "no \"__DATE_TIME__\", but the table flags the column "
                                         "as date/time"
                                       : "no \"__DATE_TIME__\" and the column is not flagged "
                                         "as date/time");
            }))
            return KQ_COLUMN_KIND::DATE_TIME;
        if (step(t, "check_if_float", f.check_if_float(s) != 0, [&] { return why_float(s); }))
            return KQ_COLUMN_KIND::FLOAT;
    }
    if (s.empty() && t != nullptr)
        t->steps.push_back({"check_trigger_dependency", false, "the format is empty"});
    // Raises std::out_of_range for the empty format.
    const bool trigger = f.check_trigger_dependency(s) != 0;
    if (step(t, "check_trigger_dependency", trigger, [&] {
            return trigger ? std::string("first character is \"@\"")
                           : "first character is " + quoted(s[0]) + ", not \"@\"";
        }))
        return KQ_COLUMN_KIND::TRIGGER_DEPENDENCY;
    return classify_list_or_string(f, c, t);
}

const char* formatter_name(KQ_COLUMN_KIND kind) {
    switch (kind) {
        case KQ_COLUMN_KIND::FLOAT: return "extractFormatDataForFloatData";
        case KQ_COLUMN_KIND::INTEGER: return "extractFormatDataForIntData";
        case KQ_COLUMN_KIND::DATE_TIME: return "extractFormattedDateTimeVal";
        case KQ_COLUMN_KIND::TRIGGER_DEPENDENCY: return "extractFormatDataFromTriggerDependencies";
        case KQ_COLUMN_KIND::STATIC_PICK_LIST: return "extractFormatDataFromStaticPickList";
        case KQ_COLUMN_KIND::REMOTE_PICK_LIST: return "extractFormatDataFromRemotePicklistString";
        case KQ_COLUMN_KIND::SYSTEM_VARIABLE: return "getPrettyValFromSystemVar";
        case KQ_COLUMN_KIND::PLAIN_VALUE: return "extractFormatDataFromOldAndNewTable";
        case KQ_COLUMN_KIND::NONE: break;
    }
    return "";
}

}  // namespace kq
