#!/usr/bin/env python3
"""Finds code repeated between two groups of files.

Usage: scripts/repeated_lines.py [--min N] FILE... -- FILE...

Prints "a.cpp:12-20 = b.cpp:40-48 (N lines)" for every run of at least N
(default 6) consecutive normalised lines that stands in a file of the first
group and in one of the second, longest first, and exits 1 when there is any.

Lines are normalised before they are compared: comments are dropped, spaces
collapsed, and lines that hold only braces, brackets, semicolons or commas,
preprocessor lines and blank lines are left out (they would make a run of
nothing). So a run is six lines that say something, copied with only its
layout or comments changed. Renamed identifiers are not seen: this catches
copies, not look-alikes.
"""
import argparse
import pathlib
import re
import sys

ONLY_PUNCTUATION = re.compile(r"^[{}()\[\];,\s]*$")


def strip_comments(text):
    """Blanks out // and /* */ comments, keeping line breaks and string literals."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        elif text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("\n" * text.count("\n", i, j))
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


def normalised_lines(path):
    """(line number, normalised text) of each line that counts."""
    text = strip_comments(pathlib.Path(path).read_text(encoding="utf-8"))
    result = []
    for number, line in enumerate(text.splitlines(), 1):
        line = " ".join(line.split())
        if line.startswith("#") or ONLY_PUNCTUATION.match(line):
            continue
        result.append((number, line))
    return result


def repeats(a_path, b_path, minimum):
    """Maximal runs of equal normalised lines between two files."""
    a, b = normalised_lines(a_path), normalised_lines(b_path)
    found = []
    # run[j] is the length of the equal run ending at a[i] and b[j].
    previous = [0] * (len(b) + 1)
    for i in range(len(a)):
        current = [0] * (len(b) + 1)
        for j in range(len(b)):
            if a[i][1] == b[j][1]:
                current[j + 1] = previous[j] + 1
        for j in range(len(b)):
            length = current[j + 1]
            ends = i + 1 == len(a) or j + 1 == len(b) or a[i + 1][1] != b[j + 1][1]
            if length >= minimum and ends:
                found.append((length, a_path, a[i - length + 1][0], a[i][0], b_path, b[j - length + 1][0], b[j][0]))
        previous = current
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--min", type=int, default=6, help="shortest run reported (lines)")
    parser.add_argument("first", nargs="+", help="first group of files")
    argv = sys.argv[1:]
    if "--" not in argv:
        parser.error("separate the two groups with --")
    cut = argv.index("--")
    args = parser.parse_args(argv[:cut])
    group_a, group_b = args.first, argv[cut + 1:]
    if not group_b:
        parser.error("the second group needs a file")
    found = []
    for a in group_a:
        for b in group_b:
            found += repeats(a, b, args.min)
    for length, a, a0, a1, b, b0, b1 in sorted(found, key=lambda f: -f[0]):
        print(f"{a}:{a0}-{a1} = {b}:{b0}-{b1} ({length} lines)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
