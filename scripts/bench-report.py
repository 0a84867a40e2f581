"""Pairs the BM_<Figure>_Ours / BM_<Figure>_Reference results of Google Benchmark's JSON files,
checks each figure against the limit its issue set and prints the table (also as Markdown)."""
import glob
import json
import os
import platform
import sys
import time

TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}

# figure: (what the limit is on, limit, how it reads). "ratio" is ours / reference; "ours" is
# our time in ms; any other word is a counter of the ours run.
LIMITS = {
    "ScanMaps": ("ratio", 3.0, "<= 3x find"),
    "ShowWindow": ("ours", 500.0, "< 500 ms"),
    "MoveMaps": ("ratio", 2.0, "<= 2x Qt refill"),
    "RipentImport64MB": ("ratio", 2.0, "<= 2x cp"),
    "Download200MB": ("ratio", 1.25, "<= 1.25x curl"),
    "Install100MB": ("ratio", 2.0, "<= 2x unzip+cp"),
    "Catalogue10000": ("ours", 150.0, "< 150 ms"),
    "CheckCategory5000": ("ours", 100.0, "< 100 ms"),
}
# Counters that carry a figure of their own: (figure, counter, limit, how it reads).
COUNTER_LIMITS = [
    ("Download200MB", "MaxTickGapMs", 150.0, "ticks <= 150 ms apart"),
    ("CancelStalled", "WorstCancelMs", 200.0, "cancel <= 200 ms"),
]
# The order first; every other figure follows by name.
ORDER = ["ScanMaps", "ShowWindow", "MoveMaps", "Compile", "RipentImport64MB", "Catalogue10000",
         "CheckCategory5000", "Download200MB", "CancelStalled", "Install100MB"]


def read_results(folder):
    figures = {}
    for path in sorted(glob.glob(os.path.join(folder, "*.json"))):
        with open(path) as file:
            data = json.load(file)
        for bench in data.get("benchmarks", []):
            if bench.get("error_occurred"):
                sys.exit(f"{bench['name']}: {bench.get('error_message', 'failed')}")
            name = bench["name"].split("/")[0]
            if not name.startswith("BM_"):
                continue
            figure, _, side = name[3:].rpartition("_")
            if side not in ("Ours", "Reference"):
                figure, side = name[3:], "Ours"
            entry = figures.setdefault(figure, {})
            entry[side] = bench["real_time"] * TO_MS[bench["time_unit"]]
            if side == "Ours":
                entry["counters"] = bench
    return figures


def rows_of(figures):
    names = [f for f in ORDER if f in figures] + sorted(f for f in figures if f not in ORDER)
    rows = []
    for figure in names:
        entry = figures[figure]
        ours, reference = entry.get("Ours"), entry.get("Reference")
        ratio = ours / reference if ours is not None and reference else None
        kind, limit, text = LIMITS.get(figure, (None, None, "-"))
        value = {"ratio": ratio, "ours": ours}.get(kind)
        result = "-" if kind is None else ("pass" if value is not None and value <= limit else "FAIL")
        rows.append([figure, ours, reference, ratio, text, result])
        for counter_figure, counter, counter_limit, counter_text in COUNTER_LIMITS:
            if counter_figure == figure and counter in entry.get("counters", {}):
                measured = entry["counters"][counter]
                rows.append([f"{figure}.{counter}", measured, None, None, counter_text,
                             "pass" if measured <= counter_limit else "FAIL"])
    return rows


def cell(value, digits):
    return "-" if value is None else f"{value:.{digits}f}"


def main():
    folder, markdown, elapsed = sys.argv[1], sys.argv[2], sys.argv[3]
    rows = rows_of(read_results(folder))
    lines = [[r[0], cell(r[1], 1), cell(r[2], 1), cell(r[3], 2), r[4], r[5]] for r in rows]
    print("name\tours\treference\tratio\tlimit\tresult")
    for line in lines:
        print("\t".join(line))
    failed = [r[0] for r in rows if r[5] == "FAIL"]

    cpu = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as info:
            cpu = next(l.split(":", 1)[1].strip() for l in info if l.startswith("model name"))
    except (OSError, StopIteration):
        pass
    with open(markdown, "w") as out:
        out.write("# Benchmark figures\n\n")
        out.write(f"Measured by `scripts/bench` on {time.strftime('%Y-%m-%d')}, {os.cpu_count()} "
                  f"cores ({cpu}), Release build; the benchmarks ran for {elapsed} s. Times in "
                  "milliseconds; each reference ran in the same process and run. `ratio` is "
                  "ours / reference.\n\n")
        out.write("| figure | ours | reference | ratio | limit | result |\n")
        out.write("|---|---:|---:|---:|---|---|\n")
        for line in lines:
            out.write("| " + " | ".join(line) + " |\n")
        out.write("\nWhat each figure measures is written beside its benchmark in `bench/`.\n")
    print(f"benchmarks ran for {elapsed} s; table written to {markdown}", file=sys.stderr)
    if failed:
        print("missed the limit: " + ", ".join(failed), file=sys.stderr)
        sys.exit(1)


main()
