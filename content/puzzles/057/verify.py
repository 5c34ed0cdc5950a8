#!/usr/bin/python3
"""A matchstick triangle of side n, split into unit triangles: count the unit sticks."""
def sticks(n):
    points = {(i, j) for i in range(n + 1) for j in range(n + 1 - i)}
    steps = [(1, 0), (0, 1), (-1, 1)]          # the three directions of the lattice
    return sum(1 for (i, j) in points for di, dj in steps if (i + di, j + dj) in points)
assert sticks(2) == 9, "the picture's triangle of side 2 takes 9 sticks"
print(sticks(3))
