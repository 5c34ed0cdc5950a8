#!/usr/bin/python3
"""Which of the four drawn shapes cannot be folded into a cube."""
import sys

import os
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "lib"))
from cube import OPP, ROLL, STEP, fold, roll, rotations  # noqa: E402,F401


SHAPES = {'А': [(0, 0), (0, 1), (1, 1), (2, 1), (3, 1), (2, 2)], 'Б': [(0, 0), (1, 0), (2, 0), (3, 0), (0, 1), (3, 1)], 'В': [(0, 0), (1, 0), (1, 1), (2, 1), (2, 2), (3, 2)], 'Г': [(0, 0), (1, 0), (2, 0), (2, 1), (3, 1), (4, 1)]}


def main():
    bad = [k for k, cells in SHAPES.items() if fold({c: i for i, c in enumerate(cells)}) is None]
    if len(bad) != 1:
        print("expected exactly one shape that does not fold, got", bad)
        sys.exit(1)
    print(bad[0])


main()
