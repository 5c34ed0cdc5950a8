#!/usr/bin/python3
"""Run every puzzle's verify.py and compare the answer it computes with puzzle.toml.

Usage: verify_answers.py [PUZZLES_DIR] [--timeout SECONDS] [--jobs N]

A script's last line of standard output is its answer, written the way the answer
is written in puzzle.toml (see content/README.md). Any mismatch, failed script or
time-out makes the run fail with exit code 1.
"""
import argparse
import concurrent.futures
import pathlib
import subprocess
import sys
import tomllib

PYTHON = "/usr/bin/python3"


def expected_line(puzzle):
    """The answer of a puzzle.toml as its verify.py must print it."""
    answer = puzzle["answer"]
    if puzzle.get("kind") == "numbers":
        return " ".join(str(n) for n in answer)
    return str(answer)


def run_one(script, timeout):
    """Returns (ok, message) for one verify.py."""
    folder = script.parent
    try:
        with open(folder / "puzzle.toml", "rb") as f:
            want = expected_line(tomllib.load(f))
    except (OSError, tomllib.TOMLDecodeError, KeyError) as e:
        return False, f"{folder.name}: cannot read the answer in puzzle.toml: {e}"
    try:
        # Run from elsewhere so a script that relies on the working folder fails here too.
        done = subprocess.run([PYTHON, str(script.resolve())], capture_output=True, text=True,
                              timeout=timeout, cwd="/")
    except subprocess.TimeoutExpired:
        return False, f"{folder.name}: no answer within {timeout:g} s"
    lines = [line.strip() for line in done.stdout.splitlines() if line.strip()]
    got = lines[-1] if lines else ""
    if done.returncode != 0:
        why = (done.stderr.strip().splitlines() or [got or "no output"])[-1]
        return False, f"{folder.name}: verify.py failed (exit code {done.returncode}): {why}"
    if got != want:
        return False, f"{folder.name}: verify.py computes «{got}», puzzle.toml says «{want}»"
    return True, ""


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("puzzles", nargs="?",
                        default=str(pathlib.Path(__file__).resolve().parent / "puzzles"))
    parser.add_argument("--timeout", type=float, default=20.0)
    parser.add_argument("--jobs", type=int, default=2)
    args = parser.parse_args(argv)

    root = pathlib.Path(args.puzzles)
    folders = sorted(p.parent for p in root.glob("*/puzzle.toml"))
    scripts = [f / "verify.py" for f in folders if (f / "verify.py").is_file()]
    failures = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        for ok, message in pool.map(lambda s: run_one(s, args.timeout), scripts):
            if not ok:
                failures.append(message)
    for message in failures:
        print("FAIL", message)
    print(f"{len(scripts)} of {len(folders)} puzzles have verify.py; "
          f"{len(scripts) - len(failures)} agree with puzzle.toml, {len(failures)} do not")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
