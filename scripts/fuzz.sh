#!/usr/bin/env bash
# Builds the libFuzzer targets in build/fuzz (clang; the library and the host
# platform instrumented too), then for each target, KQ_JOBS of them at a time
# (a fuzzer uses one core):
#   1. replays its committed corpus (fuzz/corpus/TARGET) and seeds
#      (fuzz/seeds/TARGET): every input must run clean;
#   2. fuzzes it for FUZZ_SECONDS seconds (default 60), starting from those
#      inputs, in a scratch corpus under build/fuzz/work/.
# Any crash, sanitizer report, failed check or timeout fails the script; the
# input that did it is left in build/fuzz/artifacts/.
#
# Environment: FUZZ_SECONDS (per target; 0 skips step 2), FUZZ_TARGETS (subset,
# default "fuzz_format fuzz_specifier fuzz_selection fuzz_load"), KQ_JOBS (build jobs
# and targets at a time, default 2).
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root" || exit 1
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
mkdir -p "$(dirname "$build")"
# shellcheck disable=SC2086  # the targets are a word list on purpose
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

# fuzz_target TARGET: replays and fuzzes one target. What it would print goes
# to $build/TARGET.out, its summary line to $build/TARGET.summary; exits 1
# when it failed.
fuzz_target() {
    local target="$1" name="${1#fuzz_}"
    local binary="$build/fuzz/$target" log="$build/$target.log" inputs=() dir count=0
    for dir in "$root/fuzz/corpus/$name" "$root/fuzz/seeds/$name"; do
        [[ -d "$dir" ]] && inputs+=("$dir")
    done

    # 1. Replay: -runs=0 runs every given input once and fuzzes nothing.
    for dir in "${inputs[@]}"; do count=$((count + $(find "$dir" -type f | wc -l))); done
    printf '\n==== %s: replaying %d inputs ====\n' "$target" "$count"
    if ! "$binary" "${common[@]}" -runs=0 "${inputs[@]}" >"$log.replay" 2>&1; then
        tail -40 "$log.replay"
        echo "$target: replay FAILED (see $log.replay)" >"$build/$target.summary"
        return 1
    fi

    # 2. A bounded fuzzing run from the committed inputs; new inputs go to a
    # scratch corpus, never into the repository.
    if ((seconds > 0)); then
        local work="$build/work/$name" stats
        mkdir -p "$work"
        printf '==== %s: fuzzing for %s s ====\n' "$target" "$seconds"
        if ! "$binary" "${common[@]}" -max_total_time="$seconds" -print_final_stats=1 \
                "$work" "${inputs[@]}" >"$log" 2>&1; then
            tail -60 "$log"
            echo "$target: fuzzing FAILED (see $log and $artifacts)" >"$build/$target.summary"
            return 1
        fi
        stats="$(grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$log" | tail -1)"
        echo "$target: OK, $count inputs replayed; ${stats:-no stats}" >"$build/$target.summary"
    else
        echo "$target: OK, $count inputs replayed" >"$build/$target.summary"
    fi
}

# Each fuzzer runs on one core: KQ_JOBS targets run side by side, and their
# output is shown in the targets' order once all have ended.
running=0
for target in $targets; do
    rm -f "$build/$target.summary"
    if ((running >= jobs)); then
        wait -n
        running=$((running - 1))
    fi
    fuzz_target "$target" >"$build/$target.out" 2>&1 &
    running=$((running + 1))
done
wait

failed=0
summary=()
for target in $targets; do
    cat "$build/$target.out"
    line="$(cat "$build/$target.summary" 2>/dev/null)"
    [[ "$line" == "$target: OK"* ]] || failed=$((failed + 1))
    summary+=("${line:-$target: FAILED, it ended without a summary (see $build/$target.out)}")
done

printf '\n==== fuzz summary ====\n'
printf '%s\n' "${summary[@]}"
if ((failed > 0)); then
    echo "fuzz: $failed target(s) failed"
    exit 1
fi
echo "fuzz: all targets clean"
