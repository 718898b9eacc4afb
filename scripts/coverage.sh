#!/usr/bin/env bash
# Line and branch coverage of the library (src/) by the test suite.
#
# Builds build/coverage with gcc's --coverage at -O0 (tools off: the library's
# own test programs), runs every test program through ctest, and prints a
# per-file table and a summary of src/ only, made by gcovr (installed from
# Debian's package when missing). Branches that exist only for exception
# unwinding, and branches the compiler marks unreachable, are not counted.
# A failing test fails the script; the summary is printed either way.
#
# Environment: KQ_JOBS (build and test jobs, default 2).
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root" || exit 1
jobs="${KQ_JOBS:-2}"
build="$root/build/coverage"

if ! command -v gcovr >/dev/null; then
    echo "coverage: installing gcovr"
    sudo=()
    if ((EUID != 0)); then
        command -v sudo >/dev/null || { echo "coverage: need root (or sudo) to install gcovr" >&2; exit 1; }
        sudo=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get install -y -q --no-install-recommends gcovr </dev/null ||
        { "${sudo[@]}" apt-get update -q </dev/null &&
          "${sudo[@]}" apt-get install -y -q --no-install-recommends gcovr </dev/null; } ||
        { echo "coverage: could not install gcovr" >&2; exit 1; }
fi

# Atomic counter updates: several tests format and log from many threads,
# and plain updates would lose counts (gcov then reports negative ones).
flags="--coverage -O0 -fprofile-update=atomic"
mkdir -p "$(dirname "$build")"
if ! cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ \
        -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
        -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage \
        -DKQ_BUILD_TOOLS=OFF -DKQ_BUILD_BENCH=OFF -DKQ_SANITIZE= >"$build.configure.log" 2>&1; then
    cat "$build.configure.log" >&2
    echo "coverage: configure failed" >&2
    exit 1
fi
if ! cmake --build "$build" -j"$jobs"; then
    echo "coverage: build failed" >&2
    exit 1
fi

# Counts from an earlier run would add up with this one.
find "$build" -name '*.gcda' -delete
status=0
ctest --test-dir "$build" -j"$jobs" --output-on-failure || status=1

if ! gcovr --root "$root" --object-directory "$build" --filter "$root/src/" \
        --exclude-directories "$build/CMakeFiles" \
        --exclude-throw-branches --exclude-unreachable-branches \
        --print-summary --sort-percentage; then
    echo "coverage: gcovr failed" >&2
    exit 1
fi
if ((status != 0)); then
    echo "coverage: some tests FAILED"
    exit 1
fi
