#!/usr/bin/python3
"""The night bridge: shortest total time over every way of crossing (Dijkstra)."""
import heapq
import itertools
TIMES = {"Заяц": 1, "Лиса": 3, "Ёж": 6, "Черепаха": 8}
ALL = frozenset(TIMES)
start = (ALL, 0)                   # (who is on the near side, lantern side)
best = {start: 0}
heap = [(0, 0, start)]
answer = None
while heap:
    t, _, (near, lamp) = heapq.heappop(heap)
    if t > best[(near, lamp)]:
        continue
    if not near:
        answer = t
        break
    side = near if lamp == 0 else ALL - near
    for k in (1, 2):
        for group in itertools.combinations(sorted(side), k):
            g = frozenset(group)
            new = (near - g if lamp == 0 else near | g, 1 - lamp)
            nt = t + max(TIMES[p] for p in g)
            if nt < best.get(new, 1 << 30):
                best[new] = nt
                heapq.heappush(heap, (nt, id(new), new))
print(answer)
