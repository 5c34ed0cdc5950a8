#!/usr/bin/env python3
"""Lists source files longer than a limit (500 lines unless --max says otherwise).

Usage: scripts/long_files.py [--max N] [--allow LIST] ROOT PATH...

PATHs are files or folders; files are named relative to ROOT, as in the list.
Prints "file: N lines" for each longer file that the allow-list does not hold,
longest first, and exits 1 when there is any. The allow-list has one file a
line, its path relative to ROOT, then its reason: a file over the limit stays
there only for a reason someone wrote down. A line without a reason is an
error. An entry whose file is gone or back under the limit is only noted, so
that the change that shortens a file does not also have to edit the list.
"""
import argparse
import pathlib
import sys

SOURCE_SUFFIXES = {".cpp", ".h", ".hpp", ".cc", ".c"}


def read_allow_list(path):
    """{relative path: reason}; raises ValueError on a line without a reason."""
    allowed = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        parts = line.split(None, 1)
        if len(parts) < 2:
            raise ValueError(f"{path}:{number}: {parts[0]} has no reason")
        allowed[parts[0]] = parts[1]
    return allowed


def line_count(path):
    with open(path, "rb") as f:
        return sum(1 for _ in f)


def source_files(paths):
    for p in paths:
        if p.is_dir():
            yield from sorted(f for f in p.rglob("*") if f.suffix in SOURCE_SUFFIXES and f.is_file())
        else:
            yield p


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--max", type=int, default=500)
    parser.add_argument("--allow", type=pathlib.Path)
    parser.add_argument("root", type=pathlib.Path)
    parser.add_argument("paths", nargs="+", type=pathlib.Path)
    args = parser.parse_args()
    try:
        allowed = read_allow_list(args.allow) if args.allow else {}
    except ValueError as e:
        print(e)
        return 2
    root = args.root.resolve()
    found = []
    long_allowed = set()
    for f in source_files(args.root / p for p in args.paths):
        name = f.resolve().relative_to(root).as_posix()
        length = line_count(f)
        if length <= args.max:
            continue
        if name in allowed:
            long_allowed.add(name)
        else:
            found.append((length, f"{name}: {length} lines"))
    for name in sorted(set(allowed) - long_allowed):
        print(f"note: {name} is allowed ({allowed[name]}) but is not over {args.max} lines here")
    for _, text in sorted(found, key=lambda x: -x[0]):
        print(text)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
