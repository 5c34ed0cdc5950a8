#!/usr/bin/python3
"""Routes right and up across 5 by 4 blocks avoiding the closed crossing (2, 2)."""
W, H = 5, 4
closed = {(2, 2)}
ways = {}
for x in range(W + 1):
    for y in range(H + 1):
        if (x, y) in closed:
            ways[x, y] = 0
        else:
            ways[x, y] = 1 if (x, y) == (0, 0) else ways.get((x - 1, y), 0) + ways.get((x, y - 1), 0)
print(ways[W, H])
