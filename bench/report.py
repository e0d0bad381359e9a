#!/usr/bin/env python3
"""Turns one run of scripts/bench.sh into the README's Markdown tables.

Usage: report.py HANDLERS.json STARTUP.txt [STARTUP-WINDOWS.txt]

HANDLERS.json is orvanta_bench's JSON output with aggregates (median of the repetitions);
STARTUP.txt holds one line per start, "orvanta start_ms=… cpu_ms=… rss_kb=… hwm_kb=…" or "minimal …";
STARTUP-WINDOWS.txt the same for orvanta.exe and the bare Win32 window under Wine.
"""
import json
import statistics
import sys

# Benchmark, what it times, its floor, the target for handler / floor.
HANDLERS = [
    ("Form_Load", "Form_Load (start-up read, fills the destinations)", "read psw.ini + readRows"),
    ("cmbnamae_Click", "cmbnamae_Click (lists a destination's IDs)", "read psw.ini + readRows"),
    ("Lstidbox_Click", "Lstidbox_Click (decodes a password and address)", "read psw.ini + readRows"),
    ("kakidashi_new", "kakidashi \"new\" (97 → 99 rows)", "writeFile, same bytes"),
    ("kakidashi_delete", "kakidashi \"delete\" (99 → 97 rows)", "writeFile, same bytes"),
    ("kakidashi_koushin", "kakidashi \"koushin\" (99 rows)", "writeFile, same bytes"),
    ("btnunload_Click", "btnunload_Click (バックアップ: psw.bkp + list)", "read + readRows + 2 × writeFile"),
    ("btnload_Click", "btnload_Click (ロード: psw.bkp → psw.ini)", "read psw.bkp + readRows + 2 × writeFile"),
]
HANDLER_TARGET = 3.0
# The start-up goal, for the median and for the fastest start, on Linux and on Windows: a miss is printed
# as a FAIL line and makes the exit status 1 (scripts/bench.sh passes it on).
STARTUP_TARGET = 1.10
MEMORY_TARGET = 1.15
WINDOWS_MEMORY_TARGET = 1.2


def medians(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    found = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        if b.get("error_occurred"):
            sys.exit(f"report.py: {b['run_name']} failed: {b.get('error_message')}")
        found[b["run_name"].split("/")[0]] = b
    return data.get("context", {}), found


def micro(seconds):
    return f"{seconds * 1e6:,.0f}"


def verdict(ratio, target):
    return f"≤ {target:g}× ✓" if ratio <= target else f"≤ {target:g}× ✗"


def handler_table(found):
    print("| Handler | Floor | Handler µs | Floor µs | Ratio | Target |")
    print("| --- | --- | ---: | ---: | ---: | --- |")
    for name, what, floor in HANDLERS:
        b = found[name]
        ratio = b["ratio"]
        print(f"| {what} | {floor} | {micro(b['handler'])} | {micro(b['floor'])} | {ratio:.2f}× "
              f"| {verdict(ratio, HANDLER_TARGET)} |")


def safety_table(found):
    b = found["write_safety"]
    plain = b["no_fsync"]
    print("| Writing psw.ini's bytes | µs | × plain write |")
    print("| --- | ---: | ---: |")
    rows = [
        ("HostFileSystem::writeFile (temporary file, fsync, rename, fsync folder)", b["file_layer"]),
        ("write(2) + rename(2), fsync of file and folder", b["fsync"]),
        ("write(2) + rename(2), no fsync", plain),
    ]
    for what, seconds in rows:
        print(f"| {what} | {micro(seconds)} | {seconds / plain:.1f}× |")


def startup_table(path, program="Orvanta", yardstick="Minimal Qt window", memory_target=MEMORY_TARGET):
    """Prints the table; returns the start-up goals it missed, one text each."""
    runs = {"orvanta": [], "minimal": []}
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.split()
            if len(fields) < 2 or fields[0] not in runs or not fields[1].startswith("start_ms="):
                continue
            values = dict(field.split("=", 1) for field in fields[1:])
            runs[fields[0]].append({k: float(v) for k, v in values.items()})
    if not runs["orvanta"] or not runs["minimal"]:
        sys.exit(f"report.py: no start-up runs in {path}")
    n = min(len(runs["orvanta"]), len(runs["minimal"]))

    def median(name, key):
        return statistics.median(r[key] for r in runs[name])

    start = (median("orvanta", "start_ms"), median("minimal", "start_ms"))
    # On a shared machine a start can wait for the CPU; the fastest start shows the programs' own work.
    fastest = (min(r["start_ms"] for r in runs["orvanta"]), min(r["start_ms"] for r in runs["minimal"]))
    rss = (median("orvanta", "rss_kb") / 1024, median("minimal", "rss_kb") / 1024)
    # Processor time up to the map: what the programs themselves did, whatever else ran beside them.
    has_cpu = all("cpu_ms" in r for name in runs for r in runs[name])
    cpu = (median("orvanta", "cpu_ms"), median("minimal", "cpu_ms")) if has_cpu else None
    print(f"| {n} starts each, in turns | {program} | {yardstick} | Ratio | Target |")
    print("| --- | ---: | ---: | ---: | --- |")
    print(f"| exec → window mapped, median (ms) | {start[0]:.0f} | {start[1]:.0f} | {start[0] / start[1]:.2f}× "
          f"| {verdict(start[0] / start[1], STARTUP_TARGET)} |")
    print(f"| exec → window mapped, fastest start (ms) | {fastest[0]:.0f} | {fastest[1]:.0f} "
          f"| {fastest[0] / fastest[1]:.2f}× | {verdict(fastest[0] / fastest[1], STARTUP_TARGET)} |")
    if cpu:
        print(f"| processor time to the map, median (ms) | {cpu[0]:.0f} | {cpu[1]:.0f} | {cpu[0] / cpu[1]:.2f}× "
              f"| – |")
    print(f"| VmRSS after 1 s idle, median (MiB) | {rss[0]:.1f} | {rss[1]:.1f} | {rss[0] / rss[1]:.2f}× "
          f"| {verdict(rss[0] / rss[1], memory_target)} |")
    return [f"{program}: {what} start {ours:.0f} ms against {theirs:.0f} ms, {ours / theirs:.2f}× "
            f"(goal ≤ {STARTUP_TARGET:g}×)"
            for what, (ours, theirs) in (("median", start), ("fastest", fastest))
            if ours / theirs > STARTUP_TARGET]


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    context, found = medians(sys.argv[1])
    print("#### Handlers beside their floors (median of 5 repetitions, wall-clock)")
    print()
    handler_table(found)
    print()
    print("#### What the durable write costs")
    print()
    safety_table(found)
    print()
    print("#### Start-up under Xvfb")
    print()
    missed = startup_table(sys.argv[2])
    print()
    if len(sys.argv) == 4:
        print("#### Start-up on Windows, under Wine and Xvfb")
        print()
        missed += startup_table(sys.argv[3], "orvanta.exe", "Bare Win32 window", WINDOWS_MEMORY_TARGET)
        print()
    load = context.get("load_avg", [])
    cpus = context.get("num_cpus", "?")
    mhz = context.get("mhz_per_cpu", "?")
    print(f"Measured on {cpus} cores at {mhz} MHz; load average at the start "
          f"{', '.join(f'{x:.2f}' for x in load) if load else 'unknown'}.")
    if missed:
        print()
        for miss in missed:
            print(f"FAIL: {miss}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
