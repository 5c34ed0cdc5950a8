#!/usr/bin/python3
"""A die's net: three faces show their pips, three (А, Б, В) are blank; opposite faces sum to 7."""
import sys

import os
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "lib"))
from cube import OPP, ROLL, STEP, fold, roll, rotations  # noqa: E402,F401


NET = {(1, 0): 5, (0, 1): 'А', (1, 1): 'Б', (2, 1): 3, (3, 1): 1, (1, 2): 'В'}


def main():
    cube = fold(NET)
    if cube is None:
        print("the net does not fold into a cube")
        sys.exit(1)
    shown = {l for l in cube.values() if isinstance(l, int)}
    val = {}
    for p, l in cube.items():
        o = cube[OPP[p]]
        if isinstance(l, str):
            if not isinstance(o, int):
                print("blank face", l, "is opposite another blank one")
                sys.exit(1)
            val[l] = 7 - o
    if sorted(shown | set(val.values())) != [1, 2, 3, 4, 5, 6]:
        print("the faces are not 1..6:", shown, val)
        sys.exit(1)
    print(" ".join(str(val[k]) for k in "АБВ"))


main()
