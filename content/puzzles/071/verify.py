#!/usr/bin/python3
"""Move one matchstick: search every one-stick move in each equation.

Digits are laid as stated in the puzzle (seven-segment, with these sticks only); a "+"
is a horizontal and a vertical stick, a "–" the horizontal one alone. A stick may move to
any free place in a digit or sign already laid out; "=" stays as it is. The four
equations are read from the sticks drawn in the picture.
"""
import pathlib
import re
import sys
import tomllib
DIGITS = {0: "abcdef", 1: "bc", 2: "abdeg", 3: "abcdg", 4: "bcfg",
          5: "acdfg", 6: "acdefg", 7: "abc", 8: "abcdefg", 9: "abcdfg"}
SHAPES = {frozenset(v): k for k, v in DIGITS.items()}
SIGNS = {frozenset("h"): "-", frozenset("hv"): "+"}


def read_picture():
    """The equations as drawn: each row has three digit cells 34 px wide, the sign between
    the first two and "=" before the last; a stick is a line drawn in the matchstick colour."""
    folder = pathlib.Path(__file__).parent
    svg = (folder / "picture.svg").read_text("utf-8")
    sticks = [tuple(map(float, m)) for m in re.findall(
        r'<line x1="([\d.]+)" y1="([\d.]+)" x2="([\d.]+)" y2="([\d.]+)" stroke="#8a5a24"', svg)]
    rows = {k: float(y) - 46 for y, k in re.findall(r'<text x="58.0" y="([\d.]+)"[^>]*>([АБВГ])</text>', svg)}
    equations, used = {}, 0
    for key, top in rows.items():
        mine = [s for s in sticks if top - 5 <= min(s[1], s[3]) <= top + 70]
        cells = []
        for left in (100, 208, 316):
            segs = set()
            for x1, y1, x2, y2 in mine:
                ry = (y1 + y2) / 2 - top
                if y1 == y2 and x1 == left + 4:
                    segs.add({0: "a", 32: "g", 64: "d"}[ry])
                elif x1 == x2 and x1 in (left, left + 34):
                    segs.add(("f" if ry < 32 else "e") if x1 == left else ("b" if ry < 32 else "c"))
            cells.append(SHAPES[frozenset(segs)])
            used += len(segs)
        sign = "+" if any(x1 == x2 == 173 for x1, _, x2, _ in mine) else "-"
        used += sum(1 for x1, _, x2, _ in mine if 160 <= min(x1, x2) and max(x1, x2) <= 186)
        used += sum(1 for x1, _, x2, _ in mine if 268 <= min(x1, x2) and max(x1, x2) <= 294)
        equations[key] = f"{cells[0]}{sign}{cells[1]}={cells[2]}"
    if used != len(sticks):
        sys.exit("some sticks in the picture are not part of a digit or a sign")
    return dict(sorted(equations.items()))


EQUATIONS = read_picture()


def places(eq):
    """The equation as a list of (kind, set of sticks laid) for the digits and the sign."""
    a, op, b, _, c = eq
    return [("d", frozenset(DIGITS[int(a)])), ("s", frozenset("hv" if op == "+" else "h")),
            ("d", frozenset(DIGITS[int(b)])), ("d", frozenset(DIGITS[int(c)]))]


def value(layout):
    try:
        a, op, b, c = (SHAPES[s] if k == "d" else SIGNS[s] for k, s in layout)
    except KeyError:
        return None                 # some place is not a digit or a sign any more
    return a + b == c if op == "+" else a - b == c


def fixes(eq):
    layout = places(eq)
    slots = {"d": "abcdefg", "s": "hv"}
    found = []
    for i, (ki, si) in enumerate(layout):
        for stick in si:
            for j, (kj, sj) in enumerate(layout):
                for free in slots[kj]:
                    if (i, stick) == (j, free):
                        continue
                    new = [list(p) for p in layout]
                    new[i][1] = new[i][1] - {stick}
                    if free in new[j][1]:
                        continue
                    new[j][1] = new[j][1] | {free}
                    if value([tuple(p) for p in new]):
                        found.append((i, stick, j, free))
    return found


fixable = [k for k, eq in EQUATIONS.items() if not value(places(eq)) and fixes(eq)]
wrong = [k for k, eq in EQUATIONS.items() if value(places(eq))]
choices = tomllib.loads((pathlib.Path(__file__).parent / "puzzle.toml").read_text("utf-8"))["choices"]
if wrong or len(fixable) != 1 or fixable[0] not in choices:
    sys.exit(f"true already: {wrong}; fixable with one stick: {fixable}")
print(fixable[0])
