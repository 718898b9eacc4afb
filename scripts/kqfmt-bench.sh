#!/usr/bin/env bash
# Peak memory and wall time of kqfmt on large configurations. Not a test:
# it prints numbers to compare against the goals (a 100,000-row table of the
# example's STREAMS shape shown in at most 64 MB and 0.6 s).
#
# Builds two databases from examples/analyser.sql in build/kqfmt-bench/:
#   streams100k.db  STREAMS grown to 100,000 rows (plus its previous version
#                   streams100k_prev.db, every tenth row changed, for diff);
#   db200k.db       STREAMS and a copy of it, STREAMS_B, 100,000 rows each.
# then runs show, show --json and diff on each and prints peak RSS and time
# (median and fastest of KQFMT_BENCH_RUNS runs, default 5).
#
# Usage: scripts/kqfmt-bench.sh [KQFMT [BASELINE]]
#   KQFMT     the tool to measure (default build/native/tools/kqfmt/kqfmt)
#   BASELINE  another build (say, of the last release): each diff is then
#             measured with it too, the two taking turns, and the ratios
#             printed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
kqfmt="${1:-$root/build/native/tools/kqfmt/kqfmt}"
baseline="${2:-}"
work="$root/build/kqfmt-bench"
mkdir -p "$work"
for tool in sqlite3 /usr/bin/time bc; do
    command -v "$tool" >/dev/null || { echo "kqfmt-bench: $tool missing" >&2; exit 1; }
done
[[ -x "$kqfmt" ]] || { echo "kqfmt-bench: no tool at $kqfmt" >&2; exit 1; }
[[ -z "$baseline" || -x "$baseline" ]] || { echo "kqfmt-bench: no tool at $baseline" >&2; exit 1; }

# STREAMS rows 5 to ROWS, derived from the row number so that every column
# kind (pick lists, units, date/time, system variables) does real work.
grow_streams() {  # table rows changed_every
    cat <<SQL
WITH RECURSIVE n(i) AS (SELECT 5 UNION ALL SELECT i + 1 FROM n WHERE i < $2)
INSERT INTO $1 SELECT i, 'Stream ' || i, i % 3, 1 + i % 4,
  20.0 + (i % 500) / 4.0 + (CASE WHEN $3 > 0 AND i % $3 = 0 THEN 1 ELSE 0 END),
  1.0 + (i % 97) / 10.0, 60 + i % 600, i % 3600, 1700000000 + i * 37,
  CASE i % 3 WHEN 0 THEN 'AI_01' WHEN 1 THEN 'AI_02' ELSE '__NULL__' END, 1 FROM n;
SQL
}

make_db() {  # file, extra SQL
    rm -f "$1"
    { cat "$root/examples/analyser.sql"; cat; } | sqlite3 "$1"
}

if [[ ! -f "$work/db200k.db" ]]; then
    grow_streams STREAMS 100000 0 | make_db "$work/streams100k.db"
    grow_streams STREAMS 100000 10 | make_db "$work/streams100k_prev.db"
    {
        grow_streams STREAMS 100000 0
        echo "CREATE TABLE STREAMS_B AS SELECT * FROM STREAMS WHERE 0;"
        echo "INSERT INTO STREAMS_B SELECT * FROM STREAMS ORDER BY rowid;"
        echo "INSERT INTO kq_columns SELECT 'STREAMS_B', column_name, type, us_format, units,"
        echo "  units_us, is_date_time, label_col, component_sel, internal_name"
        echo "  FROM kq_columns WHERE table_name = 'STREAMS';"
    } | make_db "$work/db200k.db"
fi

# One measurement: each run repeated KQFMT_BENCH_RUNS times (default 5),
# output discarded; prints the largest peak RSS (MB), and the median and the
# fastest elapsed and CPU seconds (user + system). The machine is shared:
# other work only ever adds time, so the fastest run is the one it least
# disturbed, and the median shows how often that happens. With a baseline
# the two tools take turns, run by run, so that both meet the same load,
# and the ratios (tool / baseline) of the peaks and medians follow.
runs="${KQFMT_BENCH_RUNS:-5}"
measure() {  # label, tools..., --, arguments...
    local label="$1" tools=()
    shift
    while [[ "$1" != "--" ]]; do
        tools+=("$1")
        shift
    done
    shift
    local n=${#tools[@]} i t stats kb seconds user system
    local peak=() status=() elapsed=() cpu=() medians=()
    for ((t = 0; t < n; t++)); do
        peak[t]=0 status[t]=0 elapsed[t]="" cpu[t]=""
    done
    for ((i = 0; i < runs; i++)); do
        for ((t = 0; t < n; t++)); do
            stats="$(/usr/bin/time -f '%M %e %U %S' "${tools[t]}" "$@" 2>&1 >/dev/null | tail -1)" ||
                status[t]=$?
            read -r kb seconds user system <<<"$stats"
            ((kb > peak[t])) && peak[t]=$kb
            elapsed[t]+="$seconds"$'\n'
            cpu[t]+="$(echo "$user + $system" | bc)"$'\n'
        done
    done
    local e c middle=$(((runs + 1) / 2))
    for ((t = 0; t < n; t++)); do
        e="$(printf '%s' "${elapsed[t]}" | sort -n)"
        c="$(printf '%s' "${cpu[t]}" | sort -n)"
        medians[t]="$(sed -n "${middle}p" <<<"$e") $(sed -n "${middle}p" <<<"$c")"
        printf '%-30s %8.1f MB  elapsed %5.2f s (fastest %5.2f)  CPU %5.2f s (fastest %5.2f)  exit %d\n' \
            "$( ((t == 0)) && echo "$label" || echo "  baseline")" "$((peak[t]))e-3" \
            "$(sed -n "${middle}p" <<<"$e")" "$(head -1 <<<"$e")" \
            "$(sed -n "${middle}p" <<<"$c")" "$(head -1 <<<"$c")" "${status[t]}"
    done
    ((n == 2)) || return 0
    local ratio=()
    read -r e c <<<"${medians[0]}"
    read -r seconds user <<<"${medians[1]}"
    for pair in "${peak[0]} ${peak[1]}" "$e $seconds" "$c $user"; do
        ratio+=("$(printf '%.2f' "$(echo "scale=3; ${pair% *} / ${pair#* }" | bc)")")
    done
    printf '%-30s %6s x    elapsed %5s x                   CPU %5s x\n' "  ratio" "${ratio[@]}"
}

# show is measured alone, diff beside the baseline when one is given.
measure_show() { measure "$1" "$kqfmt" -- "${@:2}"; }
measure_diff() {
    if [[ -n "$baseline" ]]; then
        measure "$1" "$kqfmt" "$baseline" -- "${@:2}"
    else
        measure "$1" "$kqfmt" -- "${@:2}"
    fi
}

s="$work/streams100k.db"
p="$work/streams100k_prev.db"
d="$work/db200k.db"
echo "kqfmt: $kqfmt (load average: $(cut -d" " -f1-3 /proc/loadavg))"
[[ -z "$baseline" ]] || echo "baseline: $baseline"
measure_show "100k STREAMS: show" show "$s" STREAMS
measure_show "100k STREAMS: show --json" show "$s" STREAMS --json
measure_diff "100k STREAMS: diff" diff "$p" "$s" STREAMS
measure_diff "100k STREAMS: diff --json" diff "$p" "$s" STREAMS --json
measure_show "200k database: show" show "$d"
measure_show "200k database: show --json" show "$d" --json
measure_diff "200k database: diff" diff "$s" "$d"
measure_diff "200k database: diff --json" diff "$s" "$d" --json
echo "load average after: $(cut -d" " -f1-3 /proc/loadavg)"
