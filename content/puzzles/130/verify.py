#!/usr/bin/python3
"""Count the cubes, up to turning, with two faces of each of three colours."""
import sys

import os
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "lib"))
from cube import OPP, ROLL, STEP, fold, roll, rotations  # noqa: E402,F401



def main():
    faces = "UDSNEW"
    seen = set()
    kinds = 0
    colourings = {tuple(c) for c in __import__("itertools").permutations("ККССЗЗ")}
    for c in sorted(colourings):
        if c in seen:
            continue
        kinds += 1
        for r in rotations(dict(zip(faces, c))):
            seen.add(tuple(r[f] for f in faces))
    if len(seen) != 90:
        print("lost some colourings:", len(seen))
        sys.exit(1)
    print(kinds)


main()
