// Every "$ kqfmt ..." transcript in the README and the tool's pages is
// what the tool prints.
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

// The README and the pages of docs/ that show whole runs of the tool.
TEST(Readme, TranscriptsAreWhatTheToolPrints) {
    int transcripts = 0;
    for (const char* page : {"README.md", "docs/kqfmt.md", "docs/configuration-database.md"}) {
        std::ifstream text(kqtool::example(std::string("../") + page));
        ASSERT_TRUE(text) << page << " not found";
        std::string line;
        while (std::getline(text, line)) {
            if (line.rfind("$ kqfmt ", 0) != 0) continue;
            std::vector<std::string> args = words(line.substr(8));
            for (std::string& arg : args)
                if (arg.rfind("examples/", 0) == 0) arg = kqtool::example(arg.substr(9));
            std::string expected, shown;
            while (std::getline(text, shown) && shown != "```") expected += shown + "\n";
            const kqtool::ToolResult result = kqtool::run_kqfmt(args);
            // lint exits 1 exactly when it reports an error; the pages show
            // diff --exit-code only where it finds a difference.
            const bool lint_errors =
                args[0] == "lint" && expected.find(": error: ") != std::string::npos;
            const bool differs = args[0] == "diff" &&
                                 std::find(args.begin(), args.end(), "--exit-code") != args.end();
            EXPECT_EQ(result.status, lint_errors || differs ? 1 : 0) << page << ": " << line << "\n"
                                                                     << result.err;
            EXPECT_EQ(result.out, expected) << page << ": " << line;
            ++transcripts;
        }
    }
    EXPECT_GE(transcripts, 13);
}

}  // namespace
