// The specifier grammar of numeric formats (S stands for the specifier).
// Forms, tried in this order:
//   1. keyword:  ...float(S...  searched from the case in force onward; S
//      ends at "__VAL_DEPENDENT__", else one character before the first "|"
//      (dropping the ")" that normally stands there), else at ")";
//   2. S__VAL_DEPENDENT__...
//   3. S)|...    (the character before the first "|" is dropped);
//   4. bare:     the whole format when the last "%" at or before its first
//      "g" is its first character (floats cut it before "__DEBUG_WRITABLE__");
//   5. bare:     the same with the first "f", only when the format has no "g";
//   6. remote:   a trigger dependency naming TABLE.column borrows that
//      column's format and resolves it in turn.
// The integer grammar is the same with "int", "d" and "u", and never cuts.
#include "numeric/specifier_resolver.h"

#include "core/text_search.h"

namespace kq {
namespace {

constexpr const char* kValueDependent = "__VAL_DEPENDENT__";
constexpr const char* kDebugWritable = "__DEBUG_WRITABLE__";

// Stores the text of `format` from `from` up to `to` (or the end) in
// `specifier`, reusing its storage. An empty or inverted range stores "".
void store(std::string& specifier, const std::string& format, Pos from, Pos to) {
    if (to == kNone) {
        specifier.assign(format, from, kNone);
    } else {
        specifier.assign(format, from, to > from ? to - from : 0);
    }
}

// Text before the character that precedes the bar at `bar`.
Pos before_char_preceding(Pos bar) { return bar == 0 ? 0 : bar - 1; }

// Form 1, once the keyword has been found at `keyword`.
int keyword_form(const std::string& format, Pos keyword, std::string& specifier) {
    const Pos open = find_from(format, '(', keyword);
    if (open == kNone) return 0;
    const Pos body = open + 1;
    Pos end = find_from(format, kValueDependent, body);
    if (end == kNone) {
        const Pos bar = find_from(format, '|', body);
        end = bar == kNone ? find_from(format, ')', body) : before_char_preceding(bar);
    }
    if (end == kNone) return 0;
    store(specifier, format, body, end);
    return 1;
}

// Forms 4 and 5; 0 when neither applies.
int bare_form(const SpecifierSyntax& syntax, const std::string& format, std::string& specifier) {
    const Pos letter = find_from(format, syntax.bare_letter);
    if (letter != kNone) {
        if (!percent_leads(format, letter)) return 0;
        const Pos end = syntax.cut_debug_writable ? find_from(format, kDebugWritable) : kNone;
        store(specifier, format, 0, end);
        return 1;
    }
    const Pos fallback = find_from(format, syntax.fallback_letter);
    if (fallback == kNone || !percent_leads(format, fallback)) return 0;
    specifier.assign(format);
    return 1;
}

// Every form from the keyword search on; `start` is where the keyword is
// looked for (kNone: nowhere).
int resolve_from(kq::Formatter& formatter, const SpecifierSyntax& syntax, const std::string& format,
                 bool trigger, Pos start, KWTABLE* table, long row, std::string& specifier,
                 int depth, bool& remote) {
    const Pos keyword = start == kNone ? kNone : find_from(format, syntax.keyword, start);
    if (keyword != kNone) return keyword_form(format, keyword, specifier);

    const Pos valueDependent = find_from(format, kValueDependent);
    if (valueDependent != kNone) {
        store(specifier, format, 0, valueDependent);
        return 1;
    }
    const Pos bar = find_from(format, '|');
    if (bar != kNone) {
        store(specifier, format, 0, before_char_preceding(bar));
        return 1;
    }
    if (bare_form(syntax, format, specifier)) return 1;

    if (!trigger || !contains(format, '.')) return 0;
    // A chain of references that closes on itself ends here.
    if (depth >= kMaxRemoteDepth) return 0;
    remote = true;
    std::string remoteFormat;
    if (!formatter.getRemoteFormatSpecifier(format, remoteFormat)) return 0;
    return resolve_specifier(formatter, syntax, remoteFormat, table, row, specifier, depth + 1);
}

}  // namespace

int resolve_specifier(kq::Formatter& formatter, const SpecifierSyntax& syntax,
                      const std::string& format, KWTABLE* table, long row, std::string& specifier,
                      int depth) {
    const bool trigger = formatter.check_trigger_dependency(format) != 0;

    // Within a trigger dependency the keyword is looked for from the case in
    // force onward (from the start when no case is in force).
    Pos start = 0;
    if (trigger) {
        std::string caseName;
        formatter.getTriggerColVal(table, format, row, caseName);
        start = find_from(format, caseName);
    }
    bool remote = false;
    return resolve_from(formatter, syntax, format, trigger, start, table, row, specifier, depth,
                        remote);
}

int resolve_specifier_for_case(kq::Formatter& formatter, const SpecifierSyntax& syntax,
                               const std::string& format, const std::string& caseName,
                               KWTABLE* table, long row, std::string& specifier, bool& remote) {
    return resolve_specifier_at_case(formatter, syntax, format, find_from(format, caseName), table,
                                     row, specifier, remote);
}

int resolve_specifier_at_case(kq::Formatter& formatter, const SpecifierSyntax& syntax,
                              const std::string& format, Pos caseAt, KWTABLE* table, long row,
                              std::string& specifier, bool& remote) {
    remote = false;
    return resolve_from(formatter, syntax, format, true, caseAt, table, row, specifier, 0, remote);
}

}  // namespace kq

int kq::Formatter::getFormatSpecifierForFloatVal(std::string format, KWTABLE* table, long row,
                                                 std::string& specifier, int depth) {
    return kq::resolve_specifier(*this, kq::kFloatSyntax, format, table, row, specifier, depth);
}

int kq::Formatter::getFormatSpecifierForIntVal(std::string format, KWTABLE* table, long row,
                                               std::string& specifier, int depth) {
    return kq::resolve_specifier(*this, kq::kIntSyntax, format, table, row, specifier, depth);
}
