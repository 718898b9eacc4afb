// The rules of kqfmt lint. Every finding belongs to one rule, named in
// brackets at the end of its line; a run (--ignore) or the configuration
// itself (the kq_lint_ignore table) may silence rules.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kqfmt {

// Every rule name, in the order docs/lint-rules.md lists them.
const std::vector<std::string>& lint_rule_names();

// One row of kq_lint_ignore: an absent table or column stands for every
// table or every column of the table, an absent rule for every rule.
struct LintIgnore {
    std::optional<std::string> table, column, rule;
};

// What a run does not report: the rules named by --ignore and the rows of
// kq_lint_ignore. Throws InputError for a rule name that is no rule.
class LintSilence {
public:
    LintSilence(const std::vector<std::string>& ignored_rules,
                const std::vector<LintIgnore>& entries);
    bool silenced(const std::string& table, const std::string& column,
                  const std::string& rule) const;

private:
    std::vector<std::string> rules_;
    std::vector<LintIgnore> entries_;
};

}  // namespace kqfmt
