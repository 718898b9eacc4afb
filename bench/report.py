#!/usr/bin/env python3
"""Tables of the kq_bench results: per kind and size the library's cost per
cell, its floor's, their ratio and heap allocations per cell (from Google
Benchmark's JSON output, medians when repetitions were run), the growth of a
call from n to 8n cells, and instruction counts per cell from callgrind
dumps (`kq_bench --kq_callgrind`).

usage: report.py RESULTS.json [CALLGRIND_DIR]
"""
import glob
import json
import os
import re
import shutil
import subprocess
import sys

# Goals per kind, judged at the largest size: (ratio limit, allocations limit).
# The numeric kinds print without snprintf, so they must beat its floor.
GOALS = {k: (0.6, 1.0) for k in ("float_units", "float_76g", "double", "int_5ld")}
GOALS["trigger_units"] = (0.8, 1.0)
GOALS["static_picklist"] = (1.2, None)
for k in ("remote_label_10", "remote_label_100", "remote_label_1000"):
    GOALS[k] = (1.5, None)
# Growth of one call's time from n to 8n cells (a linear path gives about 8).
GROWTH_SIZES = (1250, 10000)
GROWTH_LIMIT = 10.0
CLIENT_REQUEST = "desc: Trigger: Client Request: "
# The platform's entry points (tables, units, log, system variables, date and
# time); their inclusive cost is what the platform spends for the library.
PLATFORM_ENTRY = re.compile(
    r"^\s*([\d,]+)\s+(?:\([^)]*\)\s+)?\S*?:"
    r"((?:KWTABLE|KQ_TABLE_COPY|KW_MASTER_TABLE|KW_PARSE_SYS_VAR|CSysDateTimeFormat)::[~\w]+"
    r"|ConvertUnits|GetUnitEnum|getDisplayUnits|DebugLog|SysLog)[\[(]")
REMOTE = re.compile(r"remote_label_(\d+)$")


def load_runs(path):
    with open(path) as f:
        data = json.load(f)
    runs = {}  # (kind, cells) -> counters
    for b in data["benchmarks"]:
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        kind, cells = b["run_name"].split("/")[:2]
        key = (kind, int(cells))
        # A median aggregate wins over single iterations of the same run.
        if b.get("run_type") == "aggregate" or key not in runs:
            runs[key] = b
    return data.get("context", {}), runs


def fmt(x, digits=1):
    if x is None:
        return "-"
    return f"{x:.{digits}f}"


def goal_text(kind, largest, counters):
    if kind not in GOALS or not largest:
        return ""
    ratio_limit, alloc_limit = GOALS[kind]
    ok = counters["ratio"] <= ratio_limit
    text = f"ratio <= {ratio_limit}"
    if alloc_limit is not None:
        ok = ok and counters["allocs_per_cell"] <= alloc_limit
        text += f", allocs <= {alloc_limit:g}"
    return ("met: " if ok else "NOT met: ") + text


def time_table(runs):
    kinds = []
    for kind, _ in runs:
        if kind not in kinds:
            kinds.append(kind)
    lines = [
        "| kind | cells | ns/cell | floor ns/cell | ratio | allocs/cell | floor allocs/cell | goal (at 10000 cells) |",
        "|---|---:|---:|---:|---:|---:|---:|---|",
    ]
    for kind in kinds:
        sizes = sorted(n for k, n in runs if k == kind)
        for n in sizes:
            c = runs[(kind, n)]
            lines.append(
                f"| {kind} | {n} | {fmt(c['ns_per_cell'])} | {fmt(c['floor_ns_per_cell'])} "
                f"| {fmt(c['ratio'], 2)} | {fmt(c['allocs_per_cell'], 3)} "
                f"| {fmt(c['floor_allocs_per_cell'], 3)} "
                f"| {goal_text(kind, n == sizes[-1], c)} |")
    return "\n".join(lines)


def growth_table(runs):
    """Time of a whole call at 8n cells over its time at n cells, per kind,
    beside the same growth of its floor: a floor that grows faster than 8
    shows what the machine's caches add to any path that reads that data."""
    small, large = GROWTH_SIZES
    lines = [
        f"| kind | call at {small} cells (us) | call at {large} cells (us) | growth "
        "| floor growth | goal |",
        "|---|---:|---:|---:|---:|---|",
    ]

    def growth_of(kind, counter):
        t_small = runs[(kind, small)][counter] * small / 1000
        t_large = runs[(kind, large)][counter] * large / 1000
        return t_small, t_large, (t_large / t_small if t_small else None)

    kinds = list(dict.fromkeys(k for k, _ in runs))
    for kind in kinds:
        if (kind, small) not in runs or (kind, large) not in runs:
            continue
        t_small, t_large, growth = growth_of(kind, "ns_per_cell")
        floor_growth = growth_of(kind, "floor_ns_per_cell")[2]
        ok = growth is not None and growth <= GROWTH_LIMIT
        lines.append(f"| {kind} | {fmt(t_small)} | {fmt(t_large)} | {fmt(growth, 2)} "
                     f"| {fmt(floor_growth, 2)} | {'met' if ok else 'NOT met'}: <= {GROWTH_LIMIT:g} |")
    return "\n".join(lines)


def dump_number(path):
    suffix = path.rsplit(".", 1)[-1]
    return int(suffix) if suffix.isdigit() else 0


def platform_instructions(path):
    """Instructions spent inside the platform's entry points, or None."""
    if not shutil.which("callgrind_annotate"):
        return None
    out = subprocess.run(["callgrind_annotate", "--inclusive=yes", "--threshold=100", path],
                         capture_output=True, text=True).stdout
    return sum(int(m.group(1).replace(",", ""))
               for m in map(PLATFORM_ENTRY.match, out.splitlines()) if m)


def load_callgrind(directory):
    counts = {}  # (side, kind, cells) -> instructions, in dump order
    for path in sorted(glob.glob(os.path.join(directory, "*.out.*")), key=dump_number):
        desc = totals = None
        with open(path, errors="replace") as f:
            for line in f:
                if line.startswith(CLIENT_REQUEST):
                    desc = line[len(CLIENT_REQUEST):].strip()
                elif line.startswith("totals:"):
                    totals = int(line.split()[1])
        words = (desc or "").split()
        if totals is not None and len(words) == 3 and words[0] in ("library", "floor"):
            counts[(words[0], words[1], int(words[2]))] = totals
            if words[0] == "library":
                counts[("platform", words[1], int(words[2]))] = platform_instructions(path)
    return counts


def callgrind_tables(counts):
    kinds = list(dict.fromkeys(k for _, k, _ in counts))
    small, large = 100, 10000
    lines = [
        "| kind | Ir/cell | floor Ir/cell | ratio | platform Ir/cell | ratio less platform "
        "| Ir of a one-cell call |",
        "|---|---:|---:|---:|---:|---:|---:|",
    ]
    fixed = {}
    per_cell = {}
    for kind in kinds:
        try:
            lib = [counts[("library", kind, n)] for n in (small, large)]
            flo = [counts[("floor", kind, n)] for n in (small, large)]
        except KeyError:
            continue
        lib_cell = (lib[1] - lib[0]) / (large - small)
        floor_cell = (flo[1] - flo[0]) / (large - small)
        per_cell[kind] = lib_cell
        fixed[kind] = counts.get(("library", kind, 1))
        ratio = lib_cell / floor_cell if floor_cell else None
        platform = [counts.get(("platform", kind, n)) for n in (small, large)]
        platform_cell = less = None
        if None not in platform:
            platform_cell = (platform[1] - platform[0]) / (large - small)
            less = (lib_cell - platform_cell) / floor_cell if floor_cell else None
        lines.append(f"| {kind} | {fmt(lib_cell)} | {fmt(floor_cell)} | {fmt(ratio, 2)} "
                     f"| {fmt(platform_cell)} | {fmt(less, 2)} | {fmt(fixed[kind], 0)} |")
    out = "\n".join(lines)

    remote = sorted((int(m.group(1)), k) for k in per_cell for m in [REMOTE.match(k)] if m)
    if len(remote) >= 2:
        rows = [
            "| remote rows | Ir of a one-cell call | the same per remote row | Ir/cell |",
            "|---:|---:|---:|---:|",
        ]
        for r, k in remote:
            call = fixed[k]
            rows.append(f"| {r} | {fmt(call, 0)} | {fmt(call / r if call else None)} "
                        f"| {fmt(per_cell[k])} |")
        out += "\n\nRemote label pick list, cost against remote rows:\n\n" + "\n".join(rows)
    return out


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    context, runs = load_runs(sys.argv[1])
    reps = "medians of repetitions" if any(
        b.get("run_type") == "aggregate" for b in runs.values()) else "single runs"
    print(f"Time per cell (thread CPU time, {reps}; floor measured in the same iterations):\n")
    print(time_table(runs))
    print(f"\nGrowth of a call from {GROWTH_SIZES[0]} to {GROWTH_SIZES[1]} cells "
          "(remote_references also grows its references and remote rows):\n")
    print(growth_table(runs))
    if len(sys.argv) > 2:
        counts = load_callgrind(sys.argv[2])
        if counts:
            print("\nInstructions per cell (callgrind, marginal between 100 and 10000 cells):\n")
            print(callgrind_tables(counts))


if __name__ == "__main__":
    main()
