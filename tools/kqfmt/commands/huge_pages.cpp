// Starting the tool again with malloc asking for huge pages.
#include "commands/huge_pages.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace kqfmt {
namespace {

// Whether the kernel gives transparent huge pages to memory that asks.
bool huge_pages_on_request() {
    std::FILE* file = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "r");
    if (file == nullptr) return false;
    char text[128] = {};
    const std::size_t read = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    return std::strstr(std::string(text, read).c_str(), "[madvise]") != nullptr;
}

// Whether the files add up to at least 1 MiB.
bool large(const std::vector<std::string>& inputs) {
    long long bytes = 0;
    for (const std::string& input : inputs) {
        struct stat status;
        if (input != "-" && ::stat(input.c_str(), &status) == 0 && S_ISREG(status.st_mode))
            bytes += static_cast<long long>(status.st_size);
    }
    return bytes >= (1 << 20);
}

}  // namespace

void restart_with_huge_pages(char** argv, const std::vector<std::string>& inputs) {
    if (!large(inputs)) return;
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    const std::string before = tunables != nullptr ? tunables : "";
    if (before.find("glibc.malloc.hugetlb=") != std::string::npos) return;
    if (!huge_pages_on_request()) return;
    // The program's own file.
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return;
    self[length] = '\0';
    std::string wanted = before.empty() ? "" : before + ":";
    wanted += "glibc.malloc.hugetlb=1";
    if (before.find("glibc.malloc.mmap_threshold=") == std::string::npos)
        wanted += ":glibc.malloc.mmap_threshold=33554432";
    if (::setenv("GLIBC_TUNABLES", wanted.c_str(), 1) != 0) return;
    ::execv(self, argv);
    if (tunables != nullptr)
        ::setenv("GLIBC_TUNABLES", before.c_str(), 1);
    else
        ::unsetenv("GLIBC_TUNABLES");
}

}  // namespace kqfmt
