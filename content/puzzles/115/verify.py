#!/usr/bin/python3
"""Which of the four pictured cubes can be glued from the coloured net."""
import sys

import os
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "lib"))
from cube import OPP, ROLL, STEP, fold, roll, rotations  # noqa: E402,F401


NET = {(0, 0): 'красный', (1, 0): 'синий', (1, 1): 'жёлтый', (2, 1): 'зелёный', (2, 2): 'белый', (3, 2): 'коричневый'}
# Each cube as drawn: (top, front, right).
VIEWS = {'А': ('красный', 'зелёный', 'синий'), 'Б': ('синий', 'зелёный', 'жёлтый'), 'В': ('жёлтый', 'белый', 'зелёный'), 'Г': ('красный', 'синий', 'жёлтый')}


def main():
    cube = fold(NET)
    if cube is None:
        print("the net does not fold into a cube")
        sys.exit(1)
    seen = {(r["U"], r["S"], r["E"]) for r in rotations(cube)}
    ok = [k for k, v in VIEWS.items() if v in seen]
    if len(ok) != 1:
        print("expected exactly one matching cube, got", ok)
        sys.exit(1)
    print(ok[0])


main()
