#!/usr/bin/env bash
# The project's test command. Installs what is missing, checks the formatting
# of the sources, then builds and runs the whole test suite in four
# configurations:
#
#   native  build/native  RelWithDebInfo, host compiler
#   asan    build/asan    Debug, AddressSanitizer + UndefinedBehaviorSanitizer
#   ppc     build/ppc     32-bit big-endian PowerPC cross build, tests under qemu-ppc
#   seam    build/seam    the library alone, linked against the recording platform in
#                         tests/seam instead of the host one, with the test of the
#                         platform calls it makes
#
# It ends with a summary per configuration and a last line
# "N passed, N failed": GoogleTest tests over all configurations, counted
# from the JUnit file ctest writes (every GoogleTest test is a ctest entry of
# its own, so a crash, a sanitizer report or a timeout fails that test); a
# configuration that does not build and a failed format check count as one. When both the native and the ppc configuration ran, kqfmt's output for
# the example configuration is compared between host and target (one more
# check). Exits non-zero when anything failed.
#
# After the four configurations come the checks that each have a script of
# their own and count as one test each:
#
#   tsan     scripts/tsan.sh: formatting and logging from several threads
#            under ThreadSanitizer
#   fuzz     scripts/fuzz.sh: every fuzz target replays its committed corpus,
#            then fuzzes for FUZZ_SECONDS (default 60) seconds, KQ_JOBS
#            targets at a time
#   bench    scripts/bench.sh --smoke: every benchmark starts and prints what
#            its floor prints
#   package  scripts/package-check.sh: Debian packages for amd64 and powerpc,
#            their contents, exported symbols, and a consumer program built
#            against them
#
# Environment: KQ_JOBS (parallel jobs, default 2), KQ_CONFIGS (subset to run,
# e.g. "native ppc"; default all: native asan ppc seam tsan fuzz bench package),
# KQ_SKIP_FORMAT=1 skips the format check.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root" || exit 1
jobs="${KQ_JOBS:-2}"
configs="${KQ_CONFIGS:-native asan ppc seam tsan fuzz bench package}"
start=$SECONDS

total_passed=0
total_failed=0
total_skipped=0
summary=()
declare -A built=()  # configurations built in this run

section() { printf '\n==== %s ====\n' "$*"; }

section "setup"
if ! bash scripts/setup.sh </dev/null; then
    echo "test-all: setup failed" >&2
    echo "0 passed, 1 failed"
    exit 1
fi

# ---- format check -----------------------------------------------------------
format_check() {
    section "format check"
    local log="$root/build/format-check.log"
    mkdir -p "$root/build"
    if bash scripts/format.sh --check >"$log" 2>&1; then
        cat "$log"
        summary+=("$(head -1 "$log")")
        total_passed=$((total_passed + 1))
    else
        cat "$log"
        summary+=("format: FAILED: $(head -1 "$log" | sed 's/^format: //; s/:$//')")
        total_failed=$((total_failed + 1))
    fi
}

# ---- one configuration ------------------------------------------------------
# Reads the JUnit file ctest wrote (--output-junit) and prints
# "tests failed skipped": every GoogleTest test is a ctest entry of its own
# (gtest_discover_tests), so a crash, a sanitizer report or a timeout fails
# the one test it happened in.
count_results() {
    local suite
    suite="$(head -c 4096 "$1" 2>/dev/null | tr '\n\t' '  ' | grep -m1 -o '<testsuite [^>]*>')" ||
        { echo "0 0 0"; return; }
    attr() { sed -n "s/.* $1=\"\([0-9]*\)\".*/\1/p" <<<"$suite"; }
    local tests failures disabled skipped
    tests="$(attr tests)" failures="$(attr failures)" disabled="$(attr disabled)"
    skipped="$(attr skipped)"
    echo "${tests:-0} ${failures:-0} $(( ${skipped:-0} + ${disabled:-0} ))"
}

run_config() {
    local name="$1" dir="$root/build/$1"
    shift
    section "$name: configure and build ($dir)"
    mkdir -p "$dir"
    local t0=$SECONDS
    if ! cmake -S "$root" -B "$dir" -G Ninja -DKQ_BUILD_BENCH=OFF "$@" \
        >"$dir/configure.log" 2>&1; then
        tail -60 "$dir/configure.log"
        summary+=("$name: CONFIGURE FAILED (see build/$name/configure.log)")
        total_failed=$((total_failed + 1))
        return
    fi
    if ! cmake --build "$dir" -j "$jobs" >"$dir/build.log" 2>&1; then
        # The failing steps with their messages; the log's end when none is found.
        grep -E -A12 '^FAILED:' "$dir/build.log" | head -150 || tail -40 "$dir/build.log"
        summary+=("$name: BUILD FAILED (see build/$name/build.log)")
        total_failed=$((total_failed + 1))
        return
    fi
    echo "built in $((SECONDS - t0)) s"
    built[$name]=1

    section "$name: ctest"
    local log="$dir/ctest.log" junit="$dir/ctest-junit.xml" rc
    t0=$SECONDS
    rm -f "$junit"
    (cd "$dir" && ctest --output-on-failure --output-junit "$junit" --timeout 900 -j "$jobs" \
        </dev/null) >"$log" 2>&1
    rc=$?
    # Failures with their output, and ctest's closing lines.
    grep -vE '^ *(Start +[0-9]+:|[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed)' "$log" | tail -80 || true

    local tests failed skipped
    read -r tests failed skipped < <(count_results "$junit")
    if ((tests == 0)); then
        summary+=("$name: NO TESTS RAN (see build/$name/ctest.log)")
        total_failed=$((total_failed + 1))
        return
    fi
    if ((rc != 0 && failed == 0)); then
        failed=1  # ctest failed in a way the JUnit file does not attribute to a test
    fi
    local passed=$((tests - failed - skipped))
    local verdict="OK"
    ((rc == 0)) || verdict="FAILED"
    local line="$name: ctest $verdict ($((SECONDS - t0)) s);"
    line+=" GoogleTest $passed passed, $failed failed"
    ((skipped == 0)) || line+=", $skipped skipped"
    summary+=("$line")
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
    total_skipped=$((total_skipped + skipped))
}

# The tool's output for the example configuration must be byte for byte the
# same on the host and on the target (under qemu).
compare_host_target() {
    local host="$root/build/native/tools/kqfmt/kqfmt" target="$root/build/ppc/tools/kqfmt/kqfmt"
    [[ -x "$host" && -x "$target" && -f examples/analyser.sql && -f examples/analyser_previous.sql ]] ||
        return 0
    section "host/target: kqfmt output"
    local runs=(
        "show examples/analyser.sql"
        "diff examples/analyser_previous.sql examples/analyser.sql"
        "show examples/analyser.sql --json --debug"
        "diff examples/analyser_previous.sql examples/analyser.sql --json --debug"
        "diff examples/pumps.sql examples/pumps_degc.sql --json"
        "lint examples/analyser_broken.sql --json"
    )
    local run differ=0 dir="$root/build/host-target"
    mkdir -p "$dir"
    for run in "${runs[@]}"; do
        # shellcheck disable=SC2086  # the run is a word list on purpose
        { "$host" $run; echo "exit $?"; } >"$dir/host.txt" 2>&1 </dev/null
        # shellcheck disable=SC2086
        { qemu-ppc -L /usr/powerpc-linux-gnu "$target" $run; echo "exit $?"; } \
            >"$dir/target.txt" 2>&1 </dev/null
        if cmp -s "$dir/host.txt" "$dir/target.txt"; then
            echo "identical: kqfmt $run"
        else
            echo "DIFFERENT: kqfmt $run"
            diff "$dir/host.txt" "$dir/target.txt" | head -20
            differ=$((differ + 1))
        fi
    done
    if ((differ == 0)); then
        summary+=("host/target: kqfmt output identical (${#runs[@]} runs on the examples)")
        total_passed=$((total_passed + 1))
    else
        summary+=("host/target: kqfmt output DIFFERS in $differ of ${#runs[@]} runs")
        total_failed=$((total_failed + 1))
    fi
}

# run_step NAME COMMAND...: a check with a script of its own, one test. Its
# output goes to build/NAME-step.log; the end of it is shown.
run_step() {
    local name="$1" log="$root/build/$1-step.log" t0=$SECONDS
    shift
    section "$name: $*"
    mkdir -p "$root/build"
    if "$@" </dev/null >"$log" 2>&1; then
        tail -15 "$log"
        summary+=("$name: OK ($((SECONDS - t0)) s)")
        total_passed=$((total_passed + 1))
    else
        tail -60 "$log"
        summary+=("$name: FAILED ($((SECONDS - t0)) s, see build/$name-step.log)")
        total_failed=$((total_failed + 1))
    fi
}

# Sanitizer runs stop at the first report and show where it came from.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1:check_initialization_order=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

[[ "${KQ_SKIP_FORMAT:-0}" == 1 ]] || format_check

for config in $configs; do
    case "$config" in
        native)
            run_config native -DCMAKE_BUILD_TYPE=RelWithDebInfo
            ;;
        asan)
            run_config asan -DCMAKE_BUILD_TYPE=Debug -DKQ_SANITIZE=address,undefined
            ;;
        ppc)
            section "ppc: SQLite for the target"
            tools=ON
            if ! bash scripts/target-sqlite.sh </dev/null; then
                tools=OFF
                summary+=("ppc: NOTE kqfmt not built for the target: building SQLite for powerpc failed (see output above)")
            fi
            run_config ppc -DCMAKE_BUILD_TYPE=RelWithDebInfo \
                -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-powerpc-linux-gnu.cmake" \
                -DKQ_BUILD_TOOLS="$tools"
            ;;
        seam)
            run_config seam -DCMAKE_BUILD_TYPE=Debug -DKQ_PLATFORM_TARGET=kqplatform_recording \
                -DKQ_PLATFORM_DIR="$root/tests/seam"
            ;;
        tsan) ;;
        fuzz) ;;
        bench) ;;
        package) ;;
        *)
            summary+=("$config: unknown configuration")
            total_failed=$((total_failed + 1))
            ;;
    esac
done

if [[ -n "${built[native]:-}" && -n "${built[ppc]:-}" ]]; then
    compare_host_target
fi

for config in $configs; do
    case "$config" in
        tsan) run_step tsan bash scripts/tsan.sh ;;
        fuzz) run_step fuzz env KQ_JOBS="$jobs" bash scripts/fuzz.sh ;;
        bench) run_step bench env KQ_JOBS="$jobs" bash scripts/bench.sh --smoke ;;
        package) run_step package env KQ_JOBS="$jobs" bash scripts/package-check.sh ;;
    esac
done

section "summary ($((SECONDS - start)) s)"
printf '%s\n' "${summary[@]}"
final="$total_passed passed, $total_failed failed"
((total_skipped == 0)) || final+=", $total_skipped skipped"
echo "$final"
((total_failed == 0))
