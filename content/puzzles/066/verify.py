#!/usr/bin/python3
"""Destroy every square of a 3 by 3 matchstick grid: the fewest sticks to take away,
found by trying every set of sticks, smallest first."""
import itertools
import sys
N = 3
sticks = [((x, y), (x + 1, y)) for x in range(N) for y in range(N + 1)] + \
         [((x, y), (x, y + 1)) for x in range(N + 1) for y in range(N)]
assert len(sticks) == 24
index = {s: i for i, s in enumerate(sticks)}
squares = []
for size in range(1, N + 1):
    for x in range(N - size + 1):
        for y in range(N - size + 1):
            mask = 0
            for k in range(size):
                for s in (((x + k, y), (x + k + 1, y)), ((x + k, y + size), (x + k + 1, y + size)),
                          ((x, y + k), (x, y + k + 1)), ((x + size, y + k), (x + size, y + k + 1))):
                    mask |= 1 << index[s]
            squares.append(mask)
assert len(squares) == 14
for k in range(1, len(sticks) + 1):
    for removed in itertools.combinations(range(len(sticks)), k):
        gone = sum(1 << i for i in removed)
        if all(sq & gone for sq in squares):
            print(k)
            sys.exit(0)
