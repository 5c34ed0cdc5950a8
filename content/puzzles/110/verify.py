#!/usr/bin/python3
"""Fold the drawn net and name the face opposite the letter К."""
import sys

import os
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "lib"))
from cube import OPP, ROLL, STEP, fold, roll, rotations  # noqa: E402,F401


NET = {(0, 0): 'К', (1, 0): 'Л', (1, 1): 'М', (2, 1): 'Н', (3, 1): 'О', (3, 2): 'П'}


def main():
    cube = fold(NET)
    if cube is None:
        print("the net does not fold into a cube")
        sys.exit(1)
    where = next(p for p, l in cube.items() if l == "К")
    print(cube[OPP[where]])


main()
