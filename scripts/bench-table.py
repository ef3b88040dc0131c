#!/usr/bin/env python3
"""Prints our benchmark rows beside the Qt peer program's, from one run.

Usage: bench-table.py RESULT.json...

Each file is the --benchmark_out JSON of one benchmark program (ours:
bench_*; theirs: qt_peers). A row whose benchmark is missing or failed
shows "-".
"""
import json
import sys

# Row title, our benchmark's name, the peer's name. A name matches a result
# whose name starts with it, so that arguments or suffixes may follow.
# The last field is our goal for the row, in nanoseconds of CPU time.
ROWS = [
    ("slider drag step + number field", "BM_SliderDragStepChangingTheValue", "BM_QtSliderDragStep/NumberField", 600),
    ("viewer handle move (1920x1080)", "BM_DragMove/Point", "BM_QtViewerMove", 300),
    ("panel open + first paint (20)", "BM_PanelOpen", "BM_QtPanelOpen", 80000),
]

NANOSECONDS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def load_results(paths):
    """Every benchmark result of the files, in order; unreadable files are
    reported and skipped."""
    results = []
    for path in paths:
        try:
            with open(path) as f:
                results.extend(json.load(f).get("benchmarks", []))
        except (OSError, ValueError) as error:
            print(f"bench-table: skipping {path}: {error}", file=sys.stderr)
    return results


def find(results, prefix):
    """The result for `prefix`: the median when repetitions were run, else
    the first run; None when absent or failed."""
    matches = [r for r in results if r.get("name", "").startswith(prefix) and not r.get("error_occurred")]
    medians = [r for r in matches if r.get("aggregate_name") == "median"]
    runs = [r for r in matches if r.get("run_type", "iteration") == "iteration"]
    chosen = medians or runs
    return chosen[0] if chosen else None


def cpu_ns(result):
    return result["cpu_time"] * NANOSECONDS.get(result.get("time_unit", "ns"), 1.0)


def counter(result, prefix):
    """The value of the first counter whose name starts with `prefix`."""
    for key, value in result.items():
        if key.startswith(prefix) and isinstance(value, (int, float)):
            return value
    return None


def format_time(ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def format_count(value):
    if value is None:
        return "-"
    return f"{value:.0f}" if value >= 10 or value == int(value) else f"{value:.2g}"


def row_cells(title, ours, theirs, goal):
    our_time = format_time(cpu_ns(ours)) if ours else "-"
    goal_cell = format_time(goal) + (" met" if ours and cpu_ns(ours) <= goal else "")
    instructions = format_count(counter(ours, "instructions_per")) if ours else "-"
    their_time = format_time(cpu_ns(theirs)) if theirs else "-"
    ratio = f"{cpu_ns(theirs) / cpu_ns(ours):.3g}x" if ours and theirs and cpu_ns(ours) > 0 else "-"
    our_allocations = format_count(counter(ours, "alloc")) if ours else "-"
    their_allocations = "-"
    if theirs:
        their_allocations = format_count(counter(theirs, "allocations_per"))
        mallocs = counter(theirs, "mallocs_per")
        if mallocs is not None:
            their_allocations += f" (+{format_count(mallocs)} malloc)"
    return [title, our_time, goal_cell, instructions, their_time, ratio, our_allocations, their_allocations]


def main(paths):
    results = load_results(paths)
    header = ["row", "ours", "goal", "our instructions", "theirs (Qt 6)", "ratio theirs/ours", "our allocations",
              "their allocations"]
    rows = [row_cells(title, find(results, ours), find(results, theirs), goal) for title, ours, theirs, goal in ROWS]
    widths = [max(len(cells[i]) for cells in [header] + rows) for i in range(len(header))]

    def line(cells):
        return " | ".join(cell.ljust(width) if i == 0 else cell.rjust(width)
                          for i, (cell, width) in enumerate(zip(cells, widths)))

    print()
    print(line(header))
    print("-+-".join("-" * width for width in widths))
    for cells in rows:
        print(line(cells))
    print()
    print("Times are CPU time per iteration (ours: the benchmark's thread; theirs: the whole process).")
    print("Allocations per iteration count operator new; for Qt, the C allocation calls")
    print("(malloc, calloc, realloc) made besides are shown in brackets.")
    print("Instructions are counted where the machine lets a process read its hardware counters.")
    if not any(find(results, theirs) for _, _, theirs, _ in ROWS):
        print("No Qt results: build/bin/qt_peers is missing (make bench-peers installs Qt 6 and builds it).")


if __name__ == "__main__":
    main(sys.argv[1:])
