// docs/lint-rules.md: it lists every rule of the tool, in the tool's order,
// and every rule's example configuration, run through kqfmt lint, gives the
// finding the page shows, under that rule's name.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "run/lint_rules.h"
#include "tool_runner.h"

namespace {

std::string after(const std::string& text, const std::string& mark, std::size_t& at) {
    const std::size_t begin = text.find(mark, at);
    if (begin == std::string::npos) return at = std::string::npos, std::string();
    const std::size_t end = text.find("\n```", begin + mark.size());
    at = end;
    return text.substr(begin + mark.size(), end - begin - mark.size() + 1);
}

TEST(LintRulesPage, EveryExampleGivesItsFinding) {
    std::ifstream page(kqtool::example("../docs/lint-rules.md"));
    ASSERT_TRUE(page) << "docs/lint-rules.md not found";
    std::stringstream text;
    text << page.rdbuf();
    const std::string doc = text.str();
    const std::string config = testing::TempDir() + "lint_rule_example.sql";
    std::vector<std::string> rules;
    for (std::size_t at = doc.find("\n## `"); at != std::string::npos;
         at = doc.find("\n## `", at)) {
        const std::size_t name_end = doc.find('`', at + 5);
        const std::string rule = doc.substr(at + 5, name_end - at - 5);
        SCOPED_TRACE(rule);
        const std::string sql = after(doc, "```sql\n", at);
        const std::string run = after(doc, "$ kqfmt lint config.sql", at);
        ASSERT_NE(at, std::string::npos) << "example or finding missing";
        const std::size_t line_end = run.find('\n');
        std::vector<std::string> args = {"lint", "-"};
        if (line_end > 0) args.push_back(run.substr(1, line_end - 1));  // one option
        const std::string finding = run.substr(line_end + 1, run.size() - line_end - 2);
        EXPECT_EQ(finding.substr(finding.size() - rule.size() - 2), "[" + rule + "]");
        std::ofstream(config) << sql;
        const kqtool::ToolResult result = kqtool::run_kqfmt(args, config, {});
        EXPECT_NE(("\n" + result.out).find("\n" + finding + "\n"), std::string::npos)
            << result.out << result.err;
        rules.push_back(rule);
    }
    EXPECT_EQ(rules, kqfmt::lint_rule_names());
}

}  // namespace
