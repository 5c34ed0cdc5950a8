#!/usr/bin/python3
"""Find the values of the sun, the moon and the star from the sums beside the grid."""
import itertools
import sys

GRID = [
    ["солнце", "солнце", "луна"],
    ["звезда", "луна", "луна"],
    ["солнце", "звезда", "звезда"],
]
ROW_SUMS = [15, 16, 8]
COL_SUMS = [10, 13, 16]
SYMBOLS = ["солнце", "луна", "звезда"]

found = []
for values in itertools.product(range(0, 50), repeat=3):
    v = dict(zip(SYMBOLS, values))
    rows = [sum(v[c] for c in row) for row in GRID]
    cols = [sum(v[GRID[r][c]] for r in range(3)) for c in range(3)]
    if rows == ROW_SUMS and cols == COL_SUMS:
        found.append(values)
if len(found) != 1:
    print("values that fit:", found)
    sys.exit(1)
print(" ".join(map(str, found[0])))
