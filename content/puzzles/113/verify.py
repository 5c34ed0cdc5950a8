#!/usr/bin/python3
"""Count the right-and-up routes from А to Б after which the die shows 6 on top."""
import itertools
import sys

import os
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "lib"))
from cube import OPP, ROLL, STEP, fold, roll, rotations  # noqa: E402,F401


# The die on А: U on top, S towards the bottom edge of the picture, E to the right.
START = {"U": 1, "S": 2, "E": 3}
RIGHT, UP = 4, 3


def main():
    die = dict(START)
    for p in "USE":
        die[OPP[p]] = 7 - die[p]
    ends = {}
    for ups in itertools.combinations(range(RIGHT + UP), UP):
        c = dict(die)
        for i in range(RIGHT + UP):
            c = roll(c, "N" if i in ups else "E")
        ends[c["U"]] = ends.get(c["U"], 0) + 1
    if sum(ends.values()) != 35:
        print("expected 35 routes, got", sum(ends.values()))
        sys.exit(1)
    print(ends.get(6, 0))


main()
