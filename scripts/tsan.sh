#!/usr/bin/env bash
# Builds build/tsan with ThreadSanitizer (tools off) and runs the tests that
# format and log from several threads at once: the shared-formatter test of
# the core suite and the host log tests. Any race report fails the run.
#
# Environment: KQ_JOBS (build jobs, default 2).
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root" || exit 1
jobs="${KQ_JOBS:-2}"
build="$root/build/tsan"

if ! cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKQ_BUILD_TOOLS=OFF -DKQ_BUILD_BENCH=OFF -DKQ_SANITIZE=thread >"$build.configure.log" 2>&1; then
    cat "$build.configure.log" >&2
    echo "tsan: configure failed" >&2
    exit 1
fi
if ! cmake --build "$build" -j"$jobs" --target kq_core_tests kq_platform_tests; then
    echo "tsan: build failed" >&2
    exit 1
fi

# halt_on_error: the first race ends the program with a non-zero status.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:${TSAN_OPTIONS:-}"
status=0
"$build/tests/kq_core_tests" --gtest_filter='Concurrency.*' || status=1
"$build/tests/kq_platform_tests" --gtest_filter='HostLog.*' || status=1
if ((status != 0)); then
    echo "tsan: FAILED"
    exit 1
fi
echo "tsan: no data races"
