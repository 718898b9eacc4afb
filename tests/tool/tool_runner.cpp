// The test binary's main: takes the tool's command and the fixture folders
// from its own command line, then runs the tests.
#include "tool_runner.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

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

ToolResult run_kqfmt(const std::vector<std::string>& args, const std::string& input_path,
                     const std::vector<std::string>& environment) {
    RunOptions options;
    options.input_path = input_path;
    options.environment = environment;
    return run_kqfmt(args, options);
}

ToolResult run_kqfmt(const std::vector<std::string>& args, const RunOptions& options) {
    ToolResult result;
    Capture out, err;
    if (g_command.empty() || out.fd() < 0 || err.fd() < 0) return result;

    std::vector<std::string> words = g_command;
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    int pipe_ends[2] = {-1, -1};
    if (options.stdout_to == Stdout::closed_pipe && ::pipe(pipe_ends) != 0) return result;
    const int full = options.stdout_to == Stdout::full_device ? ::open("/dev/full", O_WRONLY) : -1;
    // Standard error as a pseudo-terminal or a pipe: our end, the tool's end.
    int stream[2] = {-1, -1};
    if (options.stderr_to == Stderr::terminal &&
        ::openpty(&stream[0], &stream[1], nullptr, nullptr, nullptr) != 0)
        return result;
    if (options.stderr_to == Stderr::pipe && ::pipe(stream) != 0) return result;
    // Made before the fork: only async-signal-safe calls may follow it.
    const char* input = options.input_path.empty() ? "/dev/null" : options.input_path.c_str();
    std::vector<std::string> env_entries = options.environment;
    std::vector<char*> env;
    if (!env_entries.empty()) {
        for (std::string& entry : env_entries) env.push_back(entry.data());
        for (char** entry = environ; *entry; ++entry) env.push_back(*entry);
        env.push_back(nullptr);
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        const int in = ::open(input, O_RDONLY);
        ::dup2(in, STDIN_FILENO);
        switch (options.stdout_to) {
            case Stdout::captured: ::dup2(out.fd(), STDOUT_FILENO); break;
            case Stdout::full_device: ::dup2(full, STDOUT_FILENO); break;
            case Stdout::closed: ::close(STDOUT_FILENO); break;
            case Stdout::closed_pipe:
                ::close(pipe_ends[0]);
                ::dup2(pipe_ends[1], STDOUT_FILENO);
                ::signal(SIGPIPE, SIG_IGN);  // kept across exec
                break;
        }
        ::dup2(stream[1] >= 0 ? stream[1] : err.fd(), STDERR_FILENO);
        if (options.memory_limit_mb > 0) {
            const rlim_t bytes = static_cast<rlim_t>(options.memory_limit_mb) << 20;
            const struct rlimit limit = {bytes, bytes};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        if (!env.empty()) environ = env.data();
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    if (full >= 0) ::close(full);
    if (pipe_ends[0] >= 0) {
        ::close(pipe_ends[0]);  // closed before the tool writes anything
        ::close(pipe_ends[1]);
    }
    std::string streamed;
    if (stream[0] >= 0) {
        // Read until the tool's end is gone (end of file, or EIO for a
        // terminal), so a full buffer never stalls it.
        ::close(stream[1]);
        char buffer[4096];
        ssize_t n;
        while (pid > 0 && (n = ::read(stream[0], buffer, sizeof buffer)) > 0)
            streamed.append(buffer, static_cast<size_t>(n));
        ::close(stream[0]);
    }
    if (pid < 0) return result;

    int status = 0;
    struct rusage usage = {};
    if (::wait4(pid, &status, 0, &usage) == pid) {
        if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
        result.peak_kb = usage.ru_maxrss;
    }
    result.out = out.text();
    result.err = options.stderr_to == Stderr::file ? err.text() : streamed;
    return result;
}

bool tool_runs_plain() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    return false;
#endif
#endif
    return g_command.size() == 1;
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
