// GetFormattedValue per cell for each column kind, against its floor.
//
// Every benchmark iteration runs a block of library calls and then the same
// number of floor runs over the same cells, each block timed on the thread's
// CPU clock. Pairing the two in every iteration keeps their ratio steady on
// a machine whose load changes from second to second. Counters per run:
//   ns_per_cell        library, CPU time per requested cell
//   floor_ns_per_cell  floor, the same
//   ratio              library time / floor time
//   allocs_per_cell    heap allocations per requested cell, one call on
//                      fresh cell records (set-up of the call included)
//   floor_allocs_per_cell
//
// `kq_bench --kq_callgrind [KIND...]` instead runs each kind once per size
// (1, 100 and 10 000 cells) under client requests of callgrind, dumping the
// instruction counts of the library call and of the floor separately; run it
// under `valgrind --tool=callgrind --instr-atstart=no`.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_kinds.h"

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define KQ_HAVE_CALLGRIND 1
#else
#define KQ_HAVE_CALLGRIND 0
#endif

namespace {

using kqbench::Fixture;
using kqbench::Kind;

// 1250 and 10000 are n and 8n: the report's growth of a call.
constexpr int kSizes[] = {1, 100, 1250, 10000};

// Cells per timed block: small calls are repeated so that a block is long
// against the clock's own cost.
constexpr int kCellsPerBlock = 1000;

double thread_seconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void measure(benchmark::State& state, const Kind* kind) {
    Fixture& f = kqbench::fixture_for(*kind, static_cast<int>(state.range(0)));
    const int calls = f.cells() >= kCellsPerBlock ? 1 : kCellsPerBlock / f.cells();
    double library = 0, floor = 0;
    for (auto _ : state) {
        const double t0 = thread_seconds();
        for (int i = 0; i < calls; ++i) {
            f.run_library();
            benchmark::ClobberMemory();
        }
        const double t1 = thread_seconds();
        for (int i = 0; i < calls; ++i) {
            f.run_floor();
            benchmark::ClobberMemory();
        }
        const double t2 = thread_seconds();
        state.SetIterationTime(t1 - t0);
        library += t1 - t0;
        floor += t2 - t1;
    }
    const double cells =
        static_cast<double>(state.iterations()) * calls * static_cast<double>(f.cells());
    state.counters["ns_per_cell"] = library * 1e9 / cells;
    state.counters["floor_ns_per_cell"] = floor * 1e9 / cells;
    state.counters["ratio"] = floor > 0 ? library / floor : 0;
    state.counters["allocs_per_cell"] = f.library_allocations() / f.cells();
    state.counters["floor_allocs_per_cell"] = f.floor_allocations() / f.cells();
}

void register_all() {
    for (const Kind& kind : kqbench::kinds()) {
        auto* b = benchmark::RegisterBenchmark(kind.name.c_str(), measure, &kind);
        for (int n : kSizes) b->Arg(n);
        b->UseManualTime()->Unit(benchmark::kMicrosecond);
    }
}

// ---- Instruction counts -------------------------------------------------------

constexpr int kCallgrindSizes[] = {1, 100, 10000};

int run_callgrind(const std::vector<std::string>& only) {
#if KQ_HAVE_CALLGRIND
    if (!RUNNING_ON_VALGRIND) {
        std::fprintf(stderr, "kq_bench: --kq_callgrind needs valgrind --tool=callgrind\n");
        return 1;
    }
    for (const Kind& kind : kqbench::kinds()) {
        if (!only.empty() && std::find(only.begin(), only.end(), kind.name) == only.end()) continue;
        for (int n : kCallgrindSizes) {
            Fixture& f = kqbench::fixture_for(kind, n);  // built and warmed up
            // Dump names: "library KIND CELLS" and "floor KIND CELLS".
            const std::string library = "library " + kind.name + " " + std::to_string(n);
            const std::string floor = "floor " + kind.name + " " + std::to_string(n);
            CALLGRIND_ZERO_STATS;
            CALLGRIND_START_INSTRUMENTATION;
            f.run_library();
            CALLGRIND_STOP_INSTRUMENTATION;
            CALLGRIND_DUMP_STATS_AT(library.c_str());
            CALLGRIND_ZERO_STATS;
            CALLGRIND_START_INSTRUMENTATION;
            f.run_floor();
            CALLGRIND_STOP_INSTRUMENTATION;
            CALLGRIND_DUMP_STATS_AT(floor.c_str());
        }
    }
    return 0;
#else
    (void)only;
    std::fprintf(stderr, "kq_bench: built without valgrind/callgrind.h\n");
    return 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--kq_callgrind") == 0)
        return run_callgrind(std::vector<std::string>(argv + 2, argv + argc));
    register_all();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
