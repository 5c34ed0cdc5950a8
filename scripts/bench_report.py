#!/usr/bin/env python3
"""Turns the raw results of scripts/bench.sh into docs/benchmarks.md.

    bench_report.py RESULTS_DIR OUTPUT.md COMMAND

Each known figure is checked against its target on the median wall time; where
wall time misses but CPU time meets it, the row says so, because the machine the
figures come from is usually busy with other builds. Benchmarks without a
target are listed too, so that a new bench_* program never goes unreported.
"""
import json
import re
import pathlib
import statistics
import sys

# (program, benchmark, what is measured, target in ms)
TARGETS = [
    ("bench_core", "BM_LoadCatalogue/10000", "Load a 10,000-section catalogue", 20.0),
    ("bench_core", "BM_LoadDataWithoutPicture", "Load a data file with 64 KB of statement and solution, no picture", 0.2),
    ("bench_core", "BM_SaveToRegistry", "Save a profile with 170 used ids and 33 level entries", 5.0),
    ("bench_core", "BM_CreateFromRegistry", "Read that profile back", 5.0),
    ("bench_store", "BM_QuickCheck100Players", "Health check (quick_check) of a store of 100 players", 5.0),
    ("bench_answer_log", "BM_StatsFrom100kRecords", "Statistics figures from 100,000 log records in memory", 30.0),
    ("bench_answer_log", "BM_StatsScreenFiguresFromTheStore/100000",
     "Statistics screen opening: a log of 100,000 records read from the store, then its figures", 100.0),
    ("bench_answer_log", "BM_StatsScreenFiguresFromTheStore/1000000",
     "The same over a log grown to a million rows (only the newest 100,000 are read)", 150.0),
    ("bench_richtext", "BM_ReadAndLayoutAt344", "Read a 20 KB RTF statement, then lay it out at 344 px", 5.0),
    ("bench_richtext", "BM_ReformatOneZoomStep", "Re-format a 20 KB statement for one zoom step", 5.0),
    ("bench_richtext", "BM_ViewerFontLevelStep", "Re-format a 20 KB statement at a new font level", 5.0),
    ("bench_answer_viewer", "BM_ViewerZoomStep", "Answer viewer: re-format a 20 KB solution for one zoom step", 5.0),
    ("bench_listbox", "BM_ListRepaintGameLook", "Full repaint of an 18-row game-look list", 1.0),
    ("bench_screens", "BM_StatisticsScreenOpens",
     "Statistics screen opening over 100,000 log records: read, figures, charts and the first paint", 100.0),
    ("bench_screens", "BM_GameSelectionChange", "Selection change on the game screen", 8.0),
    ("bench_screens", "BM_CollectionSelectionChange", "Selection change on the collection screen", 8.0),
    ("bench_screens", "BM_ShowHint", "Show one more hint under a puzzle's text", 16.0),
    ("bench_pictures", "BM_GameSelectionChangeAtScale/Sharp",
     "Selection change on the game screen at factor 1.8, with SVG sources, to the first paint", 8.0),
    ("bench_pictures", "BM_CollectionSelectionChangeAtScale/Sharp",
     "Selection change on the collection screen at factor 1.8, with SVG sources, to the first paint", 8.0),
    ("bench_filter", "BM_FilterTypedLetter", "Filter 10,000 puzzles by a typed letter, the list redrawn", 16.0),
    ("bench_memo", "BM_MemoStrokePainted",
     "A memo stroke of 10 moves drawn and painted at factor 1.8 over 60 strokes", 4.0),
    ("bench_alphalabel", "BM_Compose257x72", "One fade tick's composition of the 257 × 72 label", 0.3),
    ("bench_display", "BM_GameScreenFullRepaint", "Full repaint of the game screen on the stage", 8.0),
    ("bench_display", "BM_MenuToGameScreenPainted", "Game screen opened and painted", 16.0),
    ("bench_display", "BM_MenuToCollectionPainted", "Collection opened and painted", 16.0),
    ("bench_display", "BM_AnswerOkToVerdictPainted", "Verdict box laid out and painted", 16.0),
]

# (program, benchmark, peer benchmark, what, largest ratio)
RATIOS = [
    ("bench_screens", "BM_GameSelectionChange", "BM_BareDecodeAndScale",
     "Game screen selection change ÷ bare JPEG decode + scale", 2.0),
    ("bench_screens", "BM_CollectionSelectionChange", "BM_BareDecodeAndScale",
     "Collection screen selection change ÷ bare JPEG decode + scale", 2.0),
    ("bench_screens", "BM_GameSelectionChangeWithHints", "BM_GameSelectionChange",
     "Game screen selection change, puzzles with three hints ÷ without", 1.1),
    ("bench_pictures", "BM_GameSelectionChangeAtScale/Sharp", "BM_GameSelectionChangeAtScale/Jpeg",
     "Game screen selection change at factor 1.8 to the first paint, with ÷ without SVG sources", 1.5),
    ("bench_pictures", "BM_CollectionSelectionChangeAtScale/Sharp", "BM_CollectionSelectionChangeAtScale/Jpeg",
     "Collection screen selection change at factor 1.8 to the first paint, with ÷ without SVG sources", 1.5),
    ("bench_memo", "BM_GameSelectionChange/Memos", "BM_GameSelectionChange/NoMemos",
     "Game screen selection change at factor 1.8, a memo of 60 strokes on every puzzle ÷ none", 1.5),
    ("bench_memo", "BM_CollectionSelectionChange/Memos", "BM_CollectionSelectionChange/NoMemos",
     "Collection screen selection change at factor 1.8, a memo of 60 strokes on every puzzle ÷ none", 1.5),
]

STARTUP_RATIO = 1.2
RESIDENT_LIMIT_MB = 15.0
TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def load_benchmarks(results):
    """{program: {run name: {"real": ms, "cpu": ms, "cv": fraction or None}}}"""
    figures = {}
    for path in sorted(results.glob("bench_*.json")):
        program = path.stem
        try:
            data = json.loads(path.read_text())
        except (OSError, json.JSONDecodeError):
            continue
        runs = {}
        plain = {}
        for b in data.get("benchmarks", []):
            name = re.sub(r"/repeats:\d+$", "", b.get("run_name") or b["name"])
            scale = TO_MS.get(b.get("time_unit", "ns"), 1e-6)
            if b.get("run_type") == "aggregate":
                agg = b.get("aggregate_name")
                entry = runs.setdefault(name, {})
                if agg == "median":
                    entry["real"] = b["real_time"] * scale
                    entry["cpu"] = b["cpu_time"] * scale
                elif agg == "cv":
                    entry["cv"] = b["real_time"]
            else:
                plain.setdefault(name, []).append((b["real_time"] * scale, b["cpu_time"] * scale))
        # A benchmark run once has no aggregates: its median is its one run.
        for name, values in plain.items():
            if "real" not in runs.get(name, {}):
                runs.setdefault(name, {})["real"] = statistics.median(v[0] for v in values)
                runs[name]["cpu"] = statistics.median(v[1] for v in values)
        figures[program] = runs
    return figures


def fmt_ms(v):
    if v is None:
        return "–"
    if v < 1:
        return f"{v * 1000:.1f} µs"
    if v < 100:
        return f"{v:.2f} ms"
    return f"{v:.0f} ms"


def times(ratio):
    return "–" if ratio is None else f"{ratio:.2f}×"


def verdict(wall, cpu, limit):
    if wall <= limit:
        # A busy machine can flatter a wall-time ratio as much as spoil it.
        if cpu is not None and cpu > limit:
            return "met on wall time, **not on CPU time**"
        return "met"
    if cpu is not None and cpu <= limit:
        return "**wall time missed**, met on CPU time"
    return "**not met**"


def startup(results):
    path = results / "startup.tsv"
    if not path.exists():
        return {}
    rows = {}
    lines = path.read_text().splitlines()[1:]
    for line in lines:
        label, mapped, cpu, paint = line.split("\t")
        r = rows.setdefault(label, {"map": [], "cpu": [], "paint": []})
        r["map"].append(int(mapped) / 1000)
        if cpu not in ("", "-1"):
            r["cpu"].append(int(cpu) / 1000)
        if paint not in ("", "-"):
            r["paint"].append(int(paint) / 1000)
    return {k: {m: (statistics.median(v) if v else None) for m, v in r.items()} | {"n": len(r["map"])}
            for k, r in rows.items()}


def steps_of_startup(results):
    """The game's own step times, with the time it spent before main added."""
    path = results / "startup_steps.txt"
    if not path.exists():
        return []
    text = path.read_text(errors="replace")
    steps = [line.rstrip() for line in text.splitlines() if re.match(r"^\s*[0-9.]+ ms\s+\S", line)]
    launch = re.search(r"^launch-us=(\d+)$", text, re.M)
    paint = re.search(r"^first-paint-us=(\d+)$", text, re.M)
    painted_at = next((float(l.split()[0]) for l in steps if l.endswith("first paint")), None)
    if steps and launch and paint and painted_at is not None:
        before = (int(paint.group(1)) - int(launch.group(1))) / 1000 - painted_at
        steps.insert(0, f"{before:8.1f} ms  before main (about)")
    return steps


def main():
    results, output, command = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), sys.argv[3]
    machine = dict(line.split("=", 1) for line in (results / "machine.txt").read_text().splitlines() if "=" in line)
    figures = load_benchmarks(results)
    notes = []
    out = []
    w = out.append

    w("# Benchmarks")
    w("")
    w(f"Generated by `{command}` on {machine.get('date', '?')} from commit {machine.get('commit', '?')}"
      " (release preset: RelWithDebInfo). Run the command again rather than edit it; only the sections below its closing marker line are written by hand.")
    w("")
    w("## Machine")
    w("")
    w(f"- CPU: {machine.get('cpu', '?')}, `nproc` = {machine.get('nproc', '?')}")
    w(f"- Load average (1, 5, 15 min): {machine.get('load_before', '?')} before the run, "
      f"{machine.get('load_after', '?')} after it")
    w(f"- Kernel {machine.get('kernel', '?')}, Qt {machine.get('qt', '?')}, sgt-puzzles {machine.get('sgt', '?')}")
    w("")
    w("The machine is shared with other builds, so wall times are noisy: every figure gives its wall"
      " time and its CPU time. A target is met when the median wall time meets it; where only the CPU"
      " time does, the row says so.")
    w("")

    # Start-up.
    s = startup(results)
    runs = machine.get("startup_runs", "?")
    w("## Start-up")
    w("")
    w(f"All three programs started in turn, {runs} times each after one untimed start each, on one Xvfb"
      " server (1024 × 768 × 24) with no window manager. *First paint* is reported by the program itself"
      " (the game and the minimal Qt window, with `ZENTRIKA_EXIT_AFTER_FIRST_PAINT=1`); *first window* is"
      " the first top-level window mapped on the server, seen by `build/release/bench/first_map` for all"
      " three alike. *CPU* is the program's user + system time up to its exit (ours exit after the first"
      " paint; sgt-puzzles' Net is ended once its window is mapped). Each starts with the same empty home"
      " folder and `NO_AT_BRIDGE=1`, so neither toolkit waits for an accessibility bus that is not there.")
    w("")
    w("| Program | First paint (median) | First window (median) | CPU (median) | Runs |")
    w("|---|---|---|---|---|")
    names = {"zentrika": "`zentrika --video=window`", "minimal": "Minimal Qt Widgets window (800 × 600)",
             "sgt-net": "sgt-puzzles Net (`/usr/games/sgt-net`, GTK 3)"}
    for key in ("zentrika", "minimal", "sgt-net"):
        if key in s:
            r = s[key]
            w(f"| {names[key]} | {fmt_ms(r['paint'])} | {fmt_ms(r['map'])} | {fmt_ms(r['cpu'])} | {r['n']} |")
        else:
            w(f"| {names[key]} | not measured | not measured | not measured | 0 |")
    w("")
    w("| Comparison | Wall | CPU | Target | Status |")
    w("|---|---|---|---|---|")
    g, m, t = s.get("zentrika"), s.get("minimal"), s.get("sgt-net")
    if g and m and g["paint"] and m["paint"]:
        wall = g["paint"] / m["paint"]
        cpu = g["cpu"] / m["cpu"] if g["cpu"] and m["cpu"] else None
        w(f"| Game ÷ minimal Qt window, first paint | {wall:.2f}× | {times(cpu)} | ≤ {STARTUP_RATIO}× |"
          f" {verdict(wall, cpu, STARTUP_RATIO)} |")
        if wall > STARTUP_RATIO or (cpu is not None and cpu > STARTUP_RATIO):
            notes.append(f"Start-up: the game takes {wall:.2f}× the minimal Qt window to its first paint"
                         f" (target ≤ {STARTUP_RATIO}×); by CPU time the ratio is {times(cpu)}.")
        w(f"| Game ÷ minimal Qt window, first window | {g['map'] / m['map']:.2f}× | | | for reference |")
    else:
        w(f"| Game ÷ minimal Qt window, first paint | – | – | ≤ {STARTUP_RATIO}× | **not measured** |")
        notes.append("Start-up against the minimal Qt window was not measured: see"
                     " build/release/bench-results/startup.stderr.")
    if g and t:
        cpu = g["cpu"] / t["cpu"] if g["cpu"] and t["cpu"] else None
        w(f"| Game ÷ sgt-puzzles Net, first window | {g['map'] / t['map']:.2f}× |"
          f" {times(cpu)} | none | for reference |")
    else:
        w("| Game ÷ sgt-puzzles Net, first window | – | – | none | **not measured** |")
        notes.append("Start-up against sgt-puzzles was not measured (is the sgt-puzzles package installed?).")
    w("")
    steps = steps_of_startup(results)
    if steps:
        w("Where the game's start-up goes, from one more start with `ZENTRIKA_STARTUP_TIMES=1` (milliseconds"
          " since `main`; *before main* is from the start of the process to `main`):")
        w("")
        w("```")
        w("\n".join(steps))
        w("```")
        w("")

    # Google Benchmark figures with targets.
    reps = machine.get("repetitions", "?")
    w("## Figures with targets")
    w("")
    w(f"Google Benchmark programs under `tests/bench`, run offscreen (`QT_QPA_PLATFORM=offscreen`) with"
      f" `--benchmark_repetitions={reps}` unless the benchmark sets its own repetitions. Median of the"
      " repetitions; *spread* is their coefficient of variation. Each program is run as"
      f" `QT_QPA_PLATFORM=offscreen build/release/bench/NAME --benchmark_filter=-BM_CollectionResident"
      f" --benchmark_repetitions={reps} --benchmark_out=… --benchmark_out_format=json`; the collection's"
      " resident memory is measured in a fresh process for each catalogue size.")
    w("")
    w("| What | Benchmark | Median wall | Median CPU | Spread | Target | Status |")
    w("|---|---|---|---|---|---|---|")
    reported = set()
    for program, bench, what, limit in TARGETS:
        r = figures.get(program, {}).get(bench)
        if r is None:
            if program in figures or (results / f"{program}.error").exists():
                w(f"| {what} | `{program}` {bench} | – | – | – | ≤ {fmt_ms(limit)} | **not measured** |")
                notes.append(f"{what}: `{program}` has no benchmark {bench}, or it failed.")
            continue
        reported.add((program, bench))
        cv = f"{r['cv'] * 100:.0f} %" if r.get("cv") is not None else "–"
        status = verdict(r["real"], r["cpu"], limit)
        w(f"| {what} | `{program}` {bench} | {fmt_ms(r['real'])} | {fmt_ms(r['cpu'])} | {cv} |"
          f" ≤ {fmt_ms(limit)} | {status} |")
        if status != "met":
            notes.append(f"{what}: median {fmt_ms(r['real'])} wall, {fmt_ms(r['cpu'])} CPU, target ≤ {fmt_ms(limit)}.")
    for program, bench, peer, what, limit in RATIOS:
        runs_ = figures.get(program, {})
        if bench in runs_ and peer in runs_:
            a, b = runs_[bench], runs_[peer]
            wall, cpu = a["real"] / b["real"], a["cpu"] / b["cpu"]
            status = verdict(wall, cpu, limit)
            w(f"| {what} | `{program}` {bench} ÷ {peer} | {wall:.2f}× | {cpu:.2f}× | – | ≤ {limit}× | {status} |")
            if status != "met":
                notes.append(f"{what}: {wall:.2f}× wall, {cpu:.2f}× CPU, target ≤ {limit}×.")
        elif program in figures:
            w(f"| {what} | `{program}` | – | – | – | ≤ {limit}× | **not measured** |")
    resident = {}
    for path in results.glob("resident_*.json"):
        try:
            for b in json.loads(path.read_text()).get("benchmarks", []):
                if "resident_kb" in b:
                    resident[path.stem.split("_", 1)[1]] = b["resident_kb"] / 1024
        except (OSError, json.JSONDecodeError):
            pass
    if "100" in resident and "10000" in resident:
        extra = resident["10000"] - resident["100"]
        status = "met" if extra <= RESIDENT_LIMIT_MB else "**not met**"
        w(f"| Collection screen's resident memory, 10,000 puzzles over 100 (fresh process each) |"
          f" `bench_screens` BM_CollectionResident | {extra:.1f} MB more | – | – | ≤ {RESIDENT_LIMIT_MB:.0f} MB more |"
          f" {status} |")
        if status != "met":
            notes.append(f"Collection memory: {extra:.1f} MB more with 10,000 puzzles (limit {RESIDENT_LIMIT_MB:.0f} MB).")
    w("")

    # Everything else the programs measure.
    w("## Other figures")
    w("")
    w("No target of their own; they show where the time of the figures above goes, and that the"
      " catalogue's cost grows linearly.")
    w("")
    w("| Benchmark | Median wall | Median CPU | Spread |")
    w("|---|---|---|---|")
    for program in sorted(figures):
        for bench, r in figures[program].items():
            if (program, bench) in reported or bench.startswith("BM_CollectionResident") or "real" not in r:
                continue
            cv = f"{r['cv'] * 100:.0f} %" if r.get("cv") is not None else "–"
            w(f"| `{program}` {bench} | {fmt_ms(r['real'])} | {fmt_ms(r['cpu'])} | {cv} |")
    w("")

    log = results / "startup.stderr"
    if log.exists() and "no sound" in log.read_text(errors="replace"):
        notes.append("The game found no audio device here, so its measured start-up did not include opening one.")
    for err in sorted(results.glob("bench_*.error")):
        notes.append(f"`{err.stem}`: {err.read_text().strip()}")
    known = {p for p, *_ in TARGETS}
    for program in ("bench_screens", "bench_alphalabel"):
        if program in known and program not in figures and not (results / f"{program}.error").exists():
            notes.append(f"`{program}` does not exist yet in this tree, so its figures are not measured.")

    w("## Notes")
    w("")
    if notes:
        for n in notes:
            w(f"- {n}")
    else:
        w("- Every target is met.")
    w("- Wall times come from a machine shared with other engineers' builds (see the load average above);"
      " CPU times are the steadier comparison.")
    w("")
    output.write_text("\n".join(out))


if __name__ == "__main__":
    main()
