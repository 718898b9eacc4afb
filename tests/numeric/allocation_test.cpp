// A numeric column costs at most one heap allocation per formatted cell
// (the cell's own text) once the per-call set-up is done.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "core/formatter.h"
#include "kq_test_tables.h"

namespace {
std::size_t g_allocations = 0;
}

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Allocations while formatting `rows` cells of a converted column whose
// texts are too long for a string's inline buffer.
std::size_t allocations_for(int rows, bool integer) {
    const char* format = integer ? "int(%+16d)|__VAL_DEPENDENT__ and a long tail"
                                 : "float(%+16.3f)|__VAL_DEPENDENT__ and a long tail";
    kqtest::TableSpec desc{"T", {{"v", integer ? 9 : 13, format, "degC", "degF"}}, {}};
    std::vector<int> rowNumbers;
    for (int r = 0; r < rows; ++r) {
        desc.rows.push_back({std::to_string(r)});
        rowNumbers.push_back(r);
    }
    auto live = kqtest::make_live(desc);
    auto none = kqtest::cells({}), newCells = kqtest::cells(rowNumbers);
    kq::Formatter fmt;
    const std::size_t before = g_allocations;
    if (integer)
        fmt.extractFormatDataForIntData(format, nullptr, live.get(), 0, none, newCells);
    else
        fmt.extractFormatDataForFloatData(format, nullptr, live.get(), 0, none, newCells);
    const std::size_t used = g_allocations - before;
    EXPECT_GT(newCells.back().value.size(), 15u);
    return used;
}

}  // namespace

TEST(NumericColumns, OneAllocationPerCell) {
    for (bool integer : {false, true}) {
        // The difference removes the set-up; the smaller run goes first so
        // that one-time platform start-up (its unit catalog) falls in it.
        const std::size_t fewer = allocations_for(100, integer);
        const std::size_t more = allocations_for(300, integer);
        EXPECT_LE(more - fewer, 200u) << integer;
    }
}
