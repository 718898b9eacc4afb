#!/usr/bin/env bash
# Builds the libFuzzer targets in build/fuzz (clang; the library and the host
# platform instrumented too), then for each target:
#   1. replays its committed corpus (fuzz/corpus/TARGET) and seeds
#      (fuzz/seeds/TARGET): every input must run clean;
#   2. fuzzes it for FUZZ_SECONDS seconds (default 60), starting from those
#      inputs, in a scratch corpus under build/fuzz/work/.
# Any crash, sanitizer report, failed check or timeout fails the script; the
# input that did it is left in build/fuzz/artifacts/.
#
# Environment: FUZZ_SECONDS (per target; 0 skips step 2), FUZZ_TARGETS (subset,
# default "fuzz_format fuzz_specifier fuzz_selection fuzz_load"), KQ_JOBS (build jobs,
# default 2).
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${FUZZ_SECONDS:-60}"
targets="${FUZZ_TARGETS:-fuzz_format fuzz_specifier fuzz_selection fuzz_load}"
jobs="${KQ_JOBS:-2}"
build="$root/build/fuzz"

for tool in clang clang++ cmake ninja; do
    command -v "$tool" >/dev/null || { echo "fuzz: $tool missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

if ! CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKQ_BUILD_FUZZ=ON -DKQ_BUILD_TESTS=OFF -DKQ_BUILD_TOOLS=ON -DKQ_BUILD_BENCH=OFF \
        -DKQ_SANITIZE=fuzzer-no-link,address,undefined >"$build.configure.log" 2>&1; then
    cat "$build.configure.log" >&2
    echo "fuzz: configure failed" >&2
    exit 1
fi
# shellcheck disable=SC2086
mkdir -p "$(dirname "$build")"
if ! cmake --build "$build" -j"$jobs" --target $targets; then
    echo "fuzz: build failed" >&2
    exit 1
fi

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"
artifacts="$build/artifacts"
mkdir -p "$artifacts"
dict="$root/fuzz/kqformat.dict"
common=(-dict="$dict" -max_len=4096 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$artifacts/")

failed=0
summary=()
for target in $targets; do
    name="${target#fuzz_}"
    binary="$build/fuzz/$target"
    inputs=()
    for dir in "$root/fuzz/corpus/$name" "$root/fuzz/seeds/$name"; do
        [[ -d "$dir" ]] && inputs+=("$dir")
    done
    log="$build/$target.log"

    # 1. Replay: -runs=0 runs every given input once and fuzzes nothing.
    count=0
    for dir in "${inputs[@]}"; do count=$((count + $(find "$dir" -type f | wc -l))); done
    printf '\n==== %s: replaying %d inputs ====\n' "$target" "$count"
    if ! "$binary" "${common[@]}" -runs=0 "${inputs[@]}" >"$log.replay" 2>&1; then
        tail -40 "$log.replay"
        summary+=("$target: replay FAILED (see $log.replay)")
        failed=$((failed + 1))
        continue
    fi

    # 2. A bounded fuzzing run from the committed inputs; new inputs go to a
    # scratch corpus, never into the repository.
    if ((seconds > 0)); then
        work="$build/work/$name"
        mkdir -p "$work"
        printf '==== %s: fuzzing for %s s ====\n' "$target" "$seconds"
        if ! "$binary" "${common[@]}" -max_total_time="$seconds" -print_final_stats=1 \
                "$work" "${inputs[@]}" >"$log" 2>&1; then
            tail -60 "$log"
            summary+=("$target: fuzzing FAILED (see $log and $artifacts)")
            failed=$((failed + 1))
            continue
        fi
        stats="$(grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$log" | tail -1)"
        summary+=("$target: OK, $count inputs replayed; ${stats:-no stats}")
    else
        summary+=("$target: OK, $count inputs replayed")
    fi
done

printf '\n==== fuzz summary ====\n'
printf '%s\n' "${summary[@]}"
if ((failed > 0)); then
    echo "fuzz: $failed target(s) failed"
    exit 1
fi
echo "fuzz: all targets clean"
