// Every "$ kqfmt ..." transcript in the README is what the tool prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace {

// Words of a command line: blanks separate, single quotes group.
std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::string word;
    bool quoted = false, any = false;
    for (char c : line) {
        if (c == '\'') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) out.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) out.push_back(word);
    return out;
}

TEST(Readme, TranscriptsAreWhatTheToolPrints) {
    std::ifstream readme(kqtool::example("../README.md"));
    ASSERT_TRUE(readme) << "README.md not found";
    std::string line;
    int transcripts = 0;
    while (std::getline(readme, line)) {
        if (line.rfind("$ kqfmt ", 0) != 0) continue;
        std::vector<std::string> args = words(line.substr(8));
        for (std::string& arg : args)
            if (arg.rfind("examples/", 0) == 0) arg = kqtool::example(arg.substr(9));
        std::string expected, shown;
        while (std::getline(readme, shown) && shown != "```") expected += shown + "\n";
        const kqtool::ToolResult result = kqtool::run_kqfmt(args);
        // lint exits 1 exactly when it reports an error; the README shows
        // diff --exit-code only where it finds a difference.
        const bool lint_errors =
            args[0] == "lint" && expected.find(": error: ") != std::string::npos;
        const bool differs =
            args[0] == "diff" && std::find(args.begin(), args.end(), "--exit-code") != args.end();
        EXPECT_EQ(result.status, lint_errors || differs ? 1 : 0) << line << "\n" << result.err;
        EXPECT_EQ(result.out, expected) << line;
        ++transcripts;
    }
    EXPECT_GE(transcripts, 5);
}

}  // namespace
