#!/usr/bin/python3
"""Try each offered tile in the empty cell: exactly one must keep every row and
column holding each shape once and each colour once."""
import sys

GRID = [
    [("круг", "красный"), ("квадрат", "синий"), ("треугольник", "зелёный")],
    [("квадрат", "зелёный"), ("треугольник", "красный"), ("круг", "синий")],
    [("треугольник", "синий"), ("круг", "зелёный"), None],
]
OFFERED = {
    "А": ("квадрат", "красный"),
    "Б": ("квадрат", "синий"),
    "В": ("треугольник", "красный"),
    "Г": ("круг", "зелёный"),
}


def fits(grid):
    lines = [row for row in grid] + [list(col) for col in zip(*grid)]
    for line in lines:
        for part in (0, 1):
            if len({tile[part] for tile in line}) != len(line):
                return False
    return True


good = []
for letter, tile in OFFERED.items():
    grid = [row[:] for row in GRID]
    grid[2][2] = tile
    if fits(grid):
        good.append(letter)
if len(good) != 1:
    print("offered tiles that fit:", good)
    sys.exit(1)
print(good[0])
