// Asking for huge pages for the tool's heap.
#pragma once

#include <string>
#include <vector>

namespace kqfmt {

// A large show or diff first touches tens of megabytes of heap, one 4 KiB
// page at a time. Where a page fault is dear (on a virtual machine it was
// measured at about 14 microseconds, half the time of showing a 100,000-row
// table), huge pages of 2 MiB take one fault where small ones take 512.
//
// The kernel hands transparent huge pages to memory that asks for them when
// /sys/kernel/mm/transparent_hugepage/enabled reads "[madvise]"; glibc's
// malloc asks for its heap when the tunable glibc.malloc.hugetlb=1 is set,
// and with glibc.malloc.mmap_threshold at 32 MiB the large blocks of a
// table come from that heap too. Tunables are read once, as a program
// starts: so, on such a kernel, when the database files in `inputs` ("-"
// is not counted) add up to at least 1 MiB, this starts the tool again,
// once, with both added to GLIBC_TUNABLES. A small run is not restarted:
// a restart and the first huge page cost it more (about 18 ms on this
// machine) than its few faults. Returns when there is no restart: a small
// run, another THP mode, a hugetlb tunable set already (by the user, or on
// the second start), or the restart failing (no /proc, say), in which case
// the environment is as it was.
void restart_with_huge_pages(char** argv, const std::vector<std::string>& inputs);

}  // namespace kqfmt
