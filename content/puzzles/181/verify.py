#!/usr/bin/python3
"""Lamp panel: a press switches a lamp and its neighbours above, below, left and right.
Pressing a button twice undoes it and the order does not matter, so a solution is a set
of buttons; try all 512 sets and keep those that leave every lamp dark."""
import itertools
import sys

LIT = [".#.",
       ".#.",
       ".#."]
N = 3
lit = {(r, c) for r in range(N) for c in range(N) if LIT[r][c] == "#"}
cells = [(r, c) for r in range(N) for c in range(N)]


def switched(r, c):
    return {(r + dr, c + dc) for dr, dc in ((0, 0), (1, 0), (-1, 0), (0, 1), (0, -1))
            if 0 <= r + dr < N and 0 <= c + dc < N}


solutions = []
for mask in itertools.product((0, 1), repeat=N * N):
    state = set(lit)
    for cell, pressed in zip(cells, mask):
        if pressed:
            state ^= switched(*cell)
    if not state:
        solutions.append([cell for cell, p in zip(cells, mask) if p])
if not solutions:
    sys.exit("no set of presses darkens the panel")
best = min(len(s) for s in solutions)
print("solutions:", solutions)
print(best)
