// Asking for huge pages for the tool's heap.
#pragma once

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
// starts: so, on such a kernel, this starts the tool again, once, with
// both added to GLIBC_TUNABLES, and returns only when that is not done:
// another THP mode, a hugetlb tunable set already (by the user, or on the
// second start), or the restart failing (no /proc, say), in which case the
// environment is as it was.
void restart_with_huge_pages(char** argv);

}  // namespace kqfmt
