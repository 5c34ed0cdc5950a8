#!/usr/bin/python3
"""Move one matchstick: search every one-stick move in each equation.

Digits are laid as stated in the puzzle (seven-segment, with these sticks only); a "+"
is a horizontal and a vertical stick, a "–" the horizontal one alone. A stick may move to
any free place in a digit or sign already laid out; "=" stays as it is.
"""
import pathlib
import sys
import tomllib
DIGITS = {0: "abcdef", 1: "bc", 2: "abdeg", 3: "abcdg", 4: "bcfg",
          5: "acdfg", 6: "acdefg", 7: "abc", 8: "abcdefg", 9: "abcdfg"}
SHAPES = {frozenset(v): k for k, v in DIGITS.items()}
SIGNS = {frozenset("h"): "-", frozenset("hv"): "+"}
EQUATIONS = {"А": "9-5=3", "Б": "2+2=7", "В": "5+7=2", "Г": "1+7=3"}


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
