#!/usr/bin/env bash
# Peak memory and wall time of kqfmt on large configurations. Not a test:
# it prints numbers to compare against the goals, ending with a table of
# the memory goals, each run beside the sqlite3 shell reading the same rows
# in the same run.
#
# Builds databases from examples/analyser.sql in build/kqfmt-bench/:
#   streams100k.db  STREAMS grown to 100,000 rows (plus its previous version
#                   streams100k_prev.db, every tenth row changed, for diff);
#   db200k.db       STREAMS and a copy of it, STREAMS_B, 100,000 rows each;
#   big1m.db        a table BIG of 1,000,000 rows and 4 columns.
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

if [[ ! -f "$work/big1m.db" ]]; then
    make_db "$work/big1m.db" <<'SQL'
CREATE TABLE BIG (id INTEGER, name TEXT, level REAL, state INTEGER);
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 999999)
INSERT INTO BIG SELECT i, 'item ' || i, (i % 1000) / 8.0, i % 3 FROM n;
INSERT INTO kq_columns (table_name, column_name, us_format) VALUES
  ('BIG', 'id', '%ld'), ('BIG', 'name', '%s'), ('BIG', 'level', '%.3f'),
  ('BIG', 'state', 'Off(0),On(1),Service(2)');
SQL
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

# The memory goals. kqfmt, the baseline (when given) and the sqlite3 shell
# reading the same rows take turns, KQFMT_BENCH_RUNS times, so that all
# meet the same load; a line gives the largest peak RSS and the median
# elapsed time of each. "today" is the figure the goals were set against;
# "before" is the baseline's own in this run.
run_once() {  # slot, command...: adds one run's peak and time to the slot
    local slot="$1" kb seconds
    shift
    read -r kb seconds <<<"$(/usr/bin/time -f '%M %e' "$@" 2>&1 >/dev/null | tail -1)"
    ((kb > peaks[slot])) && peaks[slot]=$kb
    times[slot]+="$seconds"$'\n'
}
figures() {  # slot: "MB, seconds" of the slot
    printf '%s MB, %s s' "$(echo "scale=1; ${peaks[$1]} / 1000" | bc)" \
        "$(printf '%s' "${times[$1]}" | sort -n | sed -n "$(((runs + 1) / 2))p")"
}
verdict() {  # measured MB, goal MB[, seconds, shell seconds]
    local memory=yes
    (($(echo "$1 > $2" | bc))) && memory=no
    if [[ $# -eq 2 ]]; then
        echo "$memory"
        return
    fi
    local time=yes ratio
    (($(echo "$3 > 2 * $4" | bc))) && time=no
    ratio="$(printf '%.1f' "$(echo "scale=3; $3 / ($4 + ($4 == 0) * 0.01)" | bc)")"
    echo "memory $memory, time $time (${ratio}x the shell)"
}
goal() {  # label, today, goal MB, time goal (yes/no), shell command (string), kqfmt arguments...
    local label="$1" today="$2" limit="$3" timed="$4" shell="$5" before="-" i
    shift 5
    peaks=(0 0 0) times=("" "" "")
    for ((i = 0; i < runs; i++)); do
        run_once 0 "$kqfmt" "$@"
        [[ -z "$baseline" ]] || run_once 1 "$baseline" "$@"
        run_once 2 bash -c "$shell"
    done
    [[ -z "$baseline" ]] || before="$(figures 1)"
    local measured shell_figures mb s shell_s met
    measured="$(figures 0)" shell_figures="$(figures 2)"
    read -r mb _ s _ <<<"${measured//,/}"
    read -r _ _ shell_s _ <<<"${shell_figures//,/}"
    if [[ "$timed" == yes ]]; then
        met="$(verdict "$mb" "$limit" "$s" "$shell_s")"
    else
        met="$(verdict "$mb" "$limit")"
    fi
    printf '%-38s %-16s %-22s %-18s %-18s %-18s %s\n' "$label" "$today" \
        "<= $limit MB$([[ "$timed" == yes ]] && echo ", <= 2x shell")" "$before" \
        "$measured" "$shell_figures" "$met"
}
b="$work/big1m.db"
echo
echo "Memory goals (largest peak RSS, median elapsed of $runs runs; the shell reads the same rows):"
printf '%-38s %-16s %-22s %-18s %-18s %-18s %s\n' run today goal before measured "sqlite3 shell" met
goal "show --rows 0-9, 1,000,000 x 4 table" "62 MB" 16 no \
    "sqlite3 '$b' 'SELECT * FROM BIG LIMIT 10'" show "$b" BIG --rows 0-9
goal "show, 100k STREAMS" "132 MB, 0.57 s" 64 yes \
    "sqlite3 '$s' 'SELECT * FROM STREAMS'" show "$s" STREAMS
goal "show --format json, 100k STREAMS" "132 MB, 0.57 s" 64 yes \
    "sqlite3 -json '$s' 'SELECT * FROM STREAMS'" show "$s" STREAMS --format json
goal "diff, 100k STREAMS pair" "148 MB" 80 no \
    "sqlite3 '$s' \"ATTACH '$p' AS old; SELECT * FROM old.STREAMS; SELECT * FROM STREAMS\"" \
    diff "$p" "$s" STREAMS
echo "load average after: $(cut -d" " -f1-3 /proc/loadavg)"
