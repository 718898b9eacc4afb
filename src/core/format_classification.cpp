// Deciding what kind of format a column's format string is. Every test is a
// case-sensitive substring search; the exact search strings, start
// positions and tie-breaks decide how a column is shown.
#include "core/column_classification.h"
#include "core/formatter.h"
#include "kw_table.h"
#include "log_lines.h"
#include "text_search.h"

using namespace kq;

namespace kq {
namespace {

NumericSyntaxMatch match_numeric(const std::string& format, const char* keyword, char letter,
                                 char fallback) {
    NumericSyntaxMatch m;
    m.keyword = find_from(format, keyword);
    if (m.keyword != kNone) return m;
    m.letter = find_from(format, letter);
    if (m.letter == kNone) {
        m.letter = find_from(format, fallback);
        m.used_fallback = true;
    }
    if (m.letter != kNone) m.percent = last_at_or_before(format, '%', m.letter);
    return m;
}

}  // namespace

NumericSyntaxMatch match_int_format(const std::string& format) {
    return match_numeric(format, "int(%", 'd', 'u');
}
NumericSyntaxMatch match_float_format(const std::string& format) {
    return match_numeric(format, "float(%", 'g', 'f');
}

}  // namespace kq

// The first character must exist: at() raises std::out_of_range for an
// empty string, and the dispatcher lets it pass to the host.
int kq::Formatter::check_trigger_dependency(std::string format) {
    return format.at(0) == '@' ? 1 : 0;
}

// "%s__NO_SPECIAL_CHAR__" contains "%s", so one search covers both forms.
int kq::Formatter::check_if_string_format(std::string format) {
    return contains(format, "%s") ? 1 : 0;
}

int kq::Formatter::check_if_units_in_trigger_dependency_column(std::string format) {
    return contains(format, "UNIT=") ? 1 : 0;
}

int kq::Formatter::check_if_int(std::string format) {
    return match_int_format(format).held() ? 1 : 0;
}

int kq::Formatter::check_if_float(std::string format) {
    return match_float_format(format).held() ? 1 : 0;
}

int kq::Formatter::check_if_remote_picklist(std::string format) {
    const Pos eq = find_from(format, '=');
    if (eq != kNone && find_from(format, '.', eq + 1) != kNone) return 1;
    if (check_if_float(format) || check_if_int(format)) {
        KQ_DEBUG_LINE("%s us_format string does not hold a remote pick list string",
                      format.c_str());
        return 0;
    }
    return contains(format, '.') ? 1 : 0;
}

int kq::Formatter::check_if_static_picklist(std::string format) {
    if (check_if_string_format(format)) return 0;
    const Pos open = find_from(format, '(');
    if (open == kNone) return 0;
    // A list that opens with the filter keyword is a remote filter, not names.
    return find_from(format, "__FILTER__", open) == open + 1 ? 0 : 1;
}

// The pick list is what stands before "__no_free_edit__" and the one
// separator character in front of it.
void kq::Formatter::extractStaticPickListString(std::string format, std::string& pickList) {
    const Pos p = find_from(format, "__no_free_edit__");
    if (p == kNone || p == 0)
        pickList = format;
    else
        pickList = format.substr(0, p - 1);
}
