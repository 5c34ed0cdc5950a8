#!/usr/bin/python3
"""Shapes on a seesaw: every choice of weights that fits the three balances has the same heaviest shape."""
import sys
heaviest = set()
for pyr in range(1, 30):
    ball = 2 * pyr                  # a ball balances two pyramids
    cube = 2 * ball                 # a cube balances two balls
    cyl = ball + pyr                # a cylinder balances a ball and a pyramid
    w = {"куб": cube, "шар": ball, "цилиндр": cyl, "пирамида": pyr}
    top = max(w.values())
    heaviest.add(tuple(k for k, v in w.items() if v == top))
if len(heaviest) != 1 or len(next(iter(heaviest))) != 1:
    sys.exit(f"the heaviest shape is not determined: {heaviest}")
print(next(iter(heaviest))[0])
