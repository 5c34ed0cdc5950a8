#!/usr/bin/python3
"""Paths right and up across 4 by 4 blocks avoiding the two puddles."""
W, H = 4, 4
puddles = {(1, 1), (3, 2)}
ways = {}
for x in range(W + 1):
    for y in range(H + 1):
        if (x, y) in puddles:
            ways[x, y] = 0
        elif x == 0 and y == 0:
            ways[x, y] = 1
        else:
            ways[x, y] = ways.get((x - 1, y), 0) + ways.get((x, y - 1), 0)
print(ways[W, H])
