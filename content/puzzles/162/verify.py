#!/usr/bin/python3
"""Find the treasure on the pirate map: search every cell for the one that fits both clues."""
import sys

COLUMNS, ROWS = 8, 7
# (column, row): columns count west to east, rows south to north
WELL, OAK, STONE, HUT = (8, 1), (5, 4), (4, 6), (2, 2)


def dist(a, b):
    # moves only through a side, never across a corner
    return abs(a[0] - b[0]) + abs(a[1] - b[1])


found = []
for col in range(1, COLUMNS + 1):
    for row in range(1, ROWS + 1):
        cell = (col, row)
        if cell in (WELL, OAK, STONE, HUT):
            continue
        if dist(cell, WELL) == 2 * dist(cell, OAK) and dist(cell, STONE) == dist(cell, HUT):
            found.append(cell)
if len(found) != 1:
    print("cells that fit both clues:", found)
    sys.exit(1)
print(*found[0])
