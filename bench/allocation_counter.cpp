// The replaced global allocation functions. Every form of operator new in
// the process (the library, the platform layer, the standard library's
// containers) ends in one of these.
#include "allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {
// The benchmarks run on one thread; relaxed counting would do for more.
std::size_t g_allocations = 0;

void* allocate(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
}  // namespace

namespace kqbench {
std::size_t allocation_count() { return g_allocations; }
}  // namespace kqbench

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++g_allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    ++g_allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
