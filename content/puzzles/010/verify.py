#!/usr/bin/python3
"""Three gnomes and three trolls: breadth-first search; on no bank (the boat at the shore
counted with it) may trolls outnumber gnomes who are there."""
from collections import deque
import sys
N = 3


def ok(g, t):
    return g == 0 or t <= g


start = (N, N, 0)                  # gnomes, trolls on the near bank; boat side
goal = (0, 0, 1)
dist = {start: 0}
queue = deque([start])
while queue:
    g, t, side = queue.popleft()
    for dg in range(3):
        for dt in range(3):
            if not 1 <= dg + dt <= 2:
                continue
            sign = -1 if side == 0 else 1
            ng, nt = g + sign * dg, t + sign * dt
            if 0 <= ng <= N and 0 <= nt <= N and ok(ng, nt) and ok(N - ng, N - nt):
                new = (ng, nt, 1 - side)
                if new not in dist:
                    dist[new] = dist[(g, t, side)] + 1
                    queue.append(new)
if goal not in dist:
    sys.exit("no way across")
print(dist[goal])
