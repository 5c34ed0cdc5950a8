#!/usr/bin/python3
"""Shortest paths right and up across 4 by 3 blocks."""
W, H = 4, 3
ways = [[0] * (H + 1) for _ in range(W + 1)]
for x in range(W + 1):
    for y in range(H + 1):
        ways[x][y] = 1 if x == 0 and y == 0 else (ways[x - 1][y] if x else 0) + (ways[x][y - 1] if y else 0)
print(ways[W][H])
