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
    "FilterMaps": ("ours", 30.0, "< 30 ms per keystroke"),
    "RipentImport64MB": ("ratio", 2.0, "<= 2x cp"),
    "Download200MB": ("ratio", 1.25, "<= 1.25x curl"),
    "Download200Small": ("ratio", 1.5, "<= 1.5x curl"),
    "Download200SmallCli": ("ratio", 1.5, "<= 1.5x curl"),
    "UpdatesLists": ("ours", 60.0, "< 60 ms"),
    "Install100MB": ("ratio", 2.0, "<= 2x unzip+cp"),
    "Catalogue10000": ("ours", 150.0, "< 150 ms"),
    "CheckCategory5000": ("ours", 100.0, "< 100 ms"),
    "Pictures1000": ("ours", 2000.0, "< 2 s"),
    "WriteVoteMap": ("ours", 100.0, "< 100 ms"),
    "PlaceDeep800": ("ratio", 4.0, "<= 4x cp -r + rm -r"),
    "PlaceDeep1500": ("ratio", 4.0, "<= 4x cp -r + rm -r"),
    "Publish200": ("ours", 5000.0, "< 5 s"),
    "Republish200": ("ours", 1000.0, "< 1 s"),
}
# Counters that carry a figure of their own: (figure, counter, limit, how it reads).
COUNTER_LIMITS = [
    ("Download200MB", "MaxTickGapMs", 150.0, "ticks <= 150 ms apart"),
    ("CancelStalled", "WorstCancelMs", 200.0, "cancel <= 200 ms"),
    ("CompileGap", "MaxGapMs", 100.0, "window's events <= 100 ms apart"),
    ("InstallGap100MB", "MaxGapMs", 100.0, "window's events <= 100 ms apart"),
]
# What each figure measures and what it is compared with, for the written table.
NOTES = {
    "ScanMaps": "both map lists filled from 5,000 sprites, 5,000 maps and 20,000 entity files; "
                "`find` listing the same three folders",
    "ShowWindow": "the main window started and shown on that mod; a bare window with one list "
                  "of as many rows",
    "MoveMaps": "all 5,000 maps to \"Vote Map List\" with `<--` and back with `-->`, both lists "
                "shown after each; Qt emptying and refilling the same two lists with as many "
                "rows (name and marker), the least any move can cost the window, since no outside "
                "tool moves entries between two sorted lists",
    "FilterMaps": "one keystroke typed into (or taken back from) the filter of \"Available "
                  "Maps\" on the 5,000-map mod, the list narrowed and drawn; Qt's sort-filter "
                  "proxy over a list model of as many names in a list view",
    "CompileGap": "\"Compile VoteMap\" pressed on the main window with 16 maps (questions "
                  "answered, the real ripent): MaxGapMs is the longest the window's thread went "
                  "without handling its events; the reference runs the same compile on that "
                  "thread, as the window did before",
    "InstallGap100MB": "the 100 MB map package installed by the installation run over a shown "
                       "window, as \"Download...\" does: MaxGapMs as above; the reference "
                       "installs on the window's thread",
    "Compile": "a 16-map vote map compile on the demo with the real ripent; `cp` of vote.bsp",
    "RipentImport64MB": "`ripent -import` on a 64 MB map; `cp` of that map",
    "Catalogue10000": "the update catalogue built from a list of 10,000 records, every package "
                      "listed and counted; reading the same file line by line",
    "CheckCategory5000": "a double click on a category of 5,000 packages and the refresh that "
                         "passes it on and recounts; the recount with a queue scan per package",
    "Download200MB": "one 200 MB file from a loopback server through the progress window; "
                     "`curl -o`",
    "Download200Small": "200 packages of 10 KB from a loopback server through the progress "
                        "window; one `curl` process fetching the same 200 addresses",
    "Download200SmallCli": "the same 200 packages through the command line's loop; the same "
                           "`curl` process",
    "UpdatesLists": "`ballotine-cli updates` on the demo installation served over loopback "
                    "HTTP: the two lists fetched and the catalogue printed, the whole process; "
                    "`curl` fetching the two lists",
    "CancelStalled": "\"Cancel All\" against a server that stalls mid-file, to the end of the "
                     "run; SIGINT to curl",
    "Install100MB": "a 100 MB map package of 2,000 files unpacked, placed and cleaned up; "
                    "`unzip -o -q` plus `cp -r`",
    "Download200MBCli": "the same download through the command line's loop; `curl -o`",
    "Extract100MB": "pkzip25 unpacking the 100 MB package; `unzip -o -q`",
    "FillTemplate": "a 50,000-line entity template filled with 256 substitutions; `sed` with "
                    "one s///g per substitution",
    "ListServerSizes": "one map's server sizes found among 20,000 reference files and ranked; "
                       "`find` matching the same names",
    "Pictures1000": "vote pictures for 1,000 maps that have none: each 64 KB map file read, a "
                    "plan of six rooms and their corridors (144 floors, 576 walls) drawn under "
                    "the name, each sprite written atomically; `cp -r` of 1,000 files of a "
                    "picture's size",
    "PlaceDeep800": "an unpacked package whose one folder nests 800 levels deep, a small file "
                    "on every level, placed into the mod and its extraction folder deleted; "
                    "`cp -r` plus `rm -r` of the same tree",
    "PlaceDeep1500": "the same 1,500 levels deep",
    "Publish200": "200 maps of the demo's kind (about 50 KB, every fourth with a server size) "
                  "published into an empty folder: each map read, checked and hashed, its vote "
                  "picture drawn from its plan, its map, vote data and entity packages zipped, "
                  "lists and state written; `zip -r` of the same files",
    "Republish200": "the same tree published again: everything read, checked and hashed, "
                    "nothing written; `zip -r` bringing its archive up to date",
    "WriteVoteMap": "the kit's 16-booth vote map made from its boxes (drawing tree, three clip "
                    "hulls, faces, textures, light) with a 16-map entity text and written to "
                    "its file; `cp` of that file",
}
# The order first; every other figure follows by name.
ORDER = ["ScanMaps", "ShowWindow", "MoveMaps", "FilterMaps", "Compile", "RipentImport64MB",
         "Catalogue10000", "CheckCategory5000", "Download200MB", "CancelStalled",
         "Download200Small", "Download200SmallCli", "UpdatesLists", "Install100MB",
         "WriteVoteMap", "CompileGap", "InstallGap100MB", "Publish200", "Republish200"]


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
        out.write("\n## What each figure measures (ours; reference)\n\n")
        for row in rows:
            if row[0] in NOTES:
                out.write(f"- **{row[0]}**: {NOTES[row[0]]}.\n")
        out.write("\nFigures without a limit were set no figure by their issue and are shown for "
                  "reference. `scripts/bench` writes this file anew.\n")
    print(f"benchmarks ran for {elapsed} s; table written to {markdown}", file=sys.stderr)
    if failed:
        print("missed the limit: " + ", ".join(failed), file=sys.stderr)
        sys.exit(1)


main()
