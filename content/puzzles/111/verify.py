#!/usr/bin/python3
"""Three views of one cube with the numbers 1 to 6: find the faces opposite 1, 2 and 3."""
import itertools
import sys

import os
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "lib"))
from cube import OPP, ROLL, STEP, fold, roll, rotations  # noqa: E402,F401


# Each view: (top, front, right).
VIEWS = [(1, 3, 6), (2, 4, 3), (5, 6, 4)]


def main():
    pairs = set()
    for perm in itertools.permutations(range(1, 7)):
        cube = dict(zip("UDSNEW", perm))
        seen = {(r["U"], r["S"], r["E"]) for r in rotations(cube)}
        if all(v in seen for v in VIEWS):
            pairs.add(tuple(cube[OPP[next(p for p in cube if cube[p] == n)]] for n in (1, 2, 3)))
    if len(pairs) != 1:
        print("the views do not fix the opposite faces:", pairs)
        sys.exit(1)
    print(" ".join(map(str, pairs.pop())))


main()
