#!/usr/bin/python3
"""Roll the letter cube along the drawn path and read the letters it prints."""
import sys

import os
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "lib"))
from cube import OPP, ROLL, STEP, fold, roll, rotations  # noqa: E402,F401


# The cube at the start: D on the board, U on top, E/W to the right/left of the picture,
# N towards its top edge, S towards its bottom edge.
START = {'D': 'п', 'U': 'и', 'E': 'а', 'W': 'т', 'N': 'у', 'S': 'н'}
MOVES = 'ENNENE'


def main():
    cube = dict(START)
    if sorted(cube) != sorted(ROLL["E"]):
        print("the cube must have six faces")
        sys.exit(1)
    word = [cube["D"]]
    for m in MOVES:
        cube = roll(cube, m)
        word.append(cube["D"])
    print("".join(word))


main()
