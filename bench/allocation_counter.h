// Counts every heap allocation of the benchmark process (the binary replaces
// the global operator new), so a benchmark can say how many allocations one
// formatted cell costs.
#pragma once

#include <cstddef>

namespace kqbench {

// Allocations made through operator new since the program started.
std::size_t allocation_count();

}  // namespace kqbench
