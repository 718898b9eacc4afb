#!/usr/bin/env bash
# Benchmarks of GetFormattedValue per column kind against their floors.
#
#   scripts/bench.sh            Release build in build/bench, every benchmark
#                               with repetitions, then instruction counts under
#                               callgrind; prints the tables (also written to
#                               build/bench/report.md)
#   scripts/bench.sh --smoke    the same build, every benchmark at its smallest
#                               size for a minimal time: checks that each kind
#                               builds, runs and makes the floor's strings
#
# Further arguments go to kq_bench (e.g. --benchmark_filter=int_5ld).
# Environment: KQ_JOBS (build jobs, default 2), KQ_BENCH_REPETITIONS (default
# 5), KQ_BENCH_MIN_TIME (seconds per run, default 0.2).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/bench"
jobs="${KQ_JOBS:-2}"

smoke=0
if [[ "${1:-}" == --smoke ]]; then
    smoke=1
    shift
fi

"$root/scripts/setup.sh" --host </dev/null >/dev/null

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKQ_BUILD_BENCH=ON -DKQ_BUILD_TESTS=OFF -DKQ_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" --target kq_bench -j "$jobs" >"$build/build.log" 2>&1 || {
    tail -40 "$build/build.log"
    echo "bench: build failed (see build/bench/build.log)" >&2
    exit 1
}
bench="$build/bench/kq_bench"

if ((smoke)); then
    # Names are KIND/CELLS/manual_time; "/1/" picks the one-cell runs. Every
    # fixture checks that the library and its floor make the same strings
    # (aborting otherwise), so a kind that breaks fails here.
    "$bench" --benchmark_filter='/1/' --benchmark_min_time=0.001 "$@"
    echo "bench: smoke run passed"
    exit 0
fi

machine="$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "bench: $machine; load average $(cut -d' ' -f1-3 /proc/loadavg)"

"$bench" --benchmark_repetitions="${KQ_BENCH_REPETITIONS:-5}" \
    --benchmark_report_aggregates_only=true \
    --benchmark_min_time="${KQ_BENCH_MIN_TIME:-0.2}" \
    --benchmark_out="$build/results.json" --benchmark_out_format=json \
    "$@" >"$build/console.txt" 2>&1

callgrind="$build/callgrind"
rm -rf "$callgrind"
if command -v valgrind >/dev/null; then
    mkdir -p "$callgrind"
    valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$callgrind/kq.out" \
        "$bench" --kq_callgrind >"$callgrind/valgrind.log" 2>&1 || {
        tail -20 "$callgrind/valgrind.log"
        echo "bench: callgrind run failed" >&2
        exit 1
    }
else
    echo "bench: valgrind not installed, no instruction counts"
fi

{
    echo "Machine: $machine."
    echo
    python3 "$root/bench/report.py" "$build/results.json" "$callgrind"
} | tee "$build/report.md"
