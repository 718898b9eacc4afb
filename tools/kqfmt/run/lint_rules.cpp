// The rule names of kqfmt lint and the silencing of rules.
#include "run/lint_rules.h"

#include <algorithm>

#include "input/input_error.h"
#include "text/utf8_text.h"

namespace kqfmt {

const std::vector<std::string>& lint_rule_names() {
    static const std::vector<std::string> names = {
        "format-empty",
        "format-unrecognised",
        "formatter-error",
        "type-unprintable",
        "specifier-missing",
        "specifier-refused",
        "unit-unknown",
        "unit-quantity-mismatch",
        "units-ignored",
        "date-time-flag-ignored",
        "trigger-column-missing",
        "trigger-without-pick-list",
        "trigger-case-unknown",
        "pick-list-duplicate-value",
        "pick-list-duplicate-name",
        "pick-list-empty-value",
        "pick-list-empty-name",
        "value-unnamed",
        "remote-reference-unread",
        "remote-table-missing",
        "remote-column-missing",
        "remote-row-missing",
        "label-column-missing",
        "label-column-unused",
        "component-selection-unused",
        "system-variable-unknown",
        "library-log",
    };
    return names;
}

namespace {

void check_rule(const std::string& rule, const std::string& where) {
    const std::vector<std::string>& names = lint_rule_names();
    if (std::find(names.begin(), names.end(), rule) == names.end())
        throw InputError(where + ": '" + message_text(rule) +
                         "' is no lint rule (docs/lint-rules.md lists them)");
}

}  // namespace

LintSilence::LintSilence(const std::vector<std::string>& ignored_rules,
                         const std::vector<LintIgnore>& entries)
    : rules_(ignored_rules), entries_(entries) {
    for (const std::string& rule : rules_) check_rule(rule, "--ignore");
    for (const LintIgnore& entry : entries_)
        if (entry.rule) check_rule(*entry.rule, "kq_lint_ignore");
}

bool LintSilence::silenced(const std::string& table, const std::string& column,
                           const std::string& rule) const {
    if (std::find(rules_.begin(), rules_.end(), rule) != rules_.end()) return true;
    for (const LintIgnore& e : entries_)
        if ((!e.table || *e.table == table) && (!e.column || *e.column == column) &&
            (!e.rule || *e.rule == rule))
            return true;
    return false;
}

}  // namespace kqfmt
