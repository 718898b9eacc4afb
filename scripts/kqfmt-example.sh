#!/usr/bin/env bash
# Shows what the formatter makes of the example configuration: installs what
# the host build needs, builds the native tree (build/native) when needed,
# then runs
#   kqfmt show examples/analyser.sql
#   kqfmt diff examples/analyser_previous.sql examples/analyser.sql
# Extra arguments (e.g. --json, --debug, table names) go to both commands.
# The "$ kqfmt ..." banners are written to standard error.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
build="$root/build/native"
current="examples/analyser.sql"
previous="examples/analyser_previous.sql"

for f in "$current" "$previous"; do
    if [[ ! -f "$f" ]]; then
        echo "kqfmt-example: missing example file $f" >&2
        exit 1
    fi
done

# Set-up messages go to standard error as well.
bash scripts/setup.sh --host </dev/null >&2

# Same configuration as the native leg of scripts/test-all.sh, so the two
# share one build tree.
if [[ ! -f "$build/build.ninja" ]]; then
    mkdir -p "$build"
    if ! cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKQ_BUILD_BENCH=OFF -DKQ_BUILD_TOOLS=ON >"$build/configure.log" 2>&1; then
        tail -40 "$build/configure.log" >&2
        echo "kqfmt-example: configuring $build failed" >&2
        exit 1
    fi
fi
if ! cmake --build "$build" -j "${KQ_JOBS:-2}" --target kqfmt >"$build/kqfmt-example-build.log" 2>&1; then
    tail -40 "$build/kqfmt-example-build.log" >&2
    echo "kqfmt-example: building kqfmt failed (log: $build/kqfmt-example-build.log)" >&2
    exit 1
fi

kqfmt="$(find "$build/tools" -type f -name kqfmt -perm -u+x | head -1)"
[[ -n "$kqfmt" ]] || { echo "kqfmt-example: kqfmt not found under $build/tools" >&2; exit 1; }

# The banners go to standard error, so that standard output holds nothing
# but what kqfmt prints (scripts/kqfmt-example.sh --json | jq works).
echo "\$ kqfmt show $current $*" >&2
"$kqfmt" show "$current" "$@"
echo >&2
echo "\$ kqfmt diff $previous $current $*" >&2
"$kqfmt" diff "$previous" "$current" "$@"
