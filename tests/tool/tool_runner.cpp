// The test binary's main: takes the tool's command and the fixture folders
// from its own command line, then runs the tests.
#include "tool_runner.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

extern char** environ;

namespace kqtool {
namespace {

std::vector<std::string> g_command;  // emulator (if any) and the tool
std::string g_fixtures;
std::string g_examples;

// A temporary file that is removed again; holds one captured stream.
class Capture {
public:
    Capture() {
        const char* dir = std::getenv("TMPDIR");
        path_ = std::string(dir && *dir ? dir : "/tmp") + "/kq_tool_test_XXXXXX";
        fd_ = ::mkstemp(path_.data());
    }
    ~Capture() {
        if (fd_ >= 0) ::close(fd_);
        ::unlink(path_.c_str());
    }
    int fd() const { return fd_; }
    std::string text() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace

ToolResult run_kqfmt(const std::vector<std::string>& args) { return run_kqfmt(args, "", {}); }

ToolResult run_kqfmt(const std::vector<std::string>& args, const std::string& input_path,
                     const std::vector<std::string>& environment) {
    ToolResult result;
    Capture out, err;
    if (g_command.empty() || out.fd() < 0 || err.fd() < 0) return result;

    std::vector<std::string> words = g_command;
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string input = input_path.empty() ? "/dev/null" : input_path;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.fd(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.fd(), STDERR_FILENO);
    pid_t pid = 0;
    std::vector<std::string> env_entries = environment;
    std::vector<char*> env;
    for (std::string& entry : env_entries) env.push_back(entry.data());
    for (char** entry = environ; *entry; ++entry) env.push_back(*entry);
    env.push_back(nullptr);
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return result;

    int status = 0;
    if (::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.status = WEXITSTATUS(status);
    result.out = out.text();
    result.err = err.text();
    return result;
}

std::string fixture(const std::string& name) { return g_fixtures + "/" + name; }
std::string example(const std::string& name) { return g_examples + "/" + name; }

}  // namespace kqtool

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fixtures" && i + 1 < argc) {
            kqtool::g_fixtures = argv[++i];
        } else if (arg == "--examples" && i + 1 < argc) {
            kqtool::g_examples = argv[++i];
        } else if (arg == "--kqfmt") {
            kqtool::g_command.assign(argv + i + 1, argv + argc);
            break;
        }
    }
    // Listing the tests (ctest does, to register each) needs no tool.
    if (!GTEST_FLAG_GET(list_tests) && (kqtool::g_command.empty() || kqtool::g_fixtures.empty())) {
        std::cerr
            << "usage: kq_tool_tests --fixtures DIR [--examples DIR] --kqfmt [EMULATOR...] KQFMT\n";
        return 2;
    }
    return RUN_ALL_TESTS();
}
