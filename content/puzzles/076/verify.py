#!/usr/bin/python3
"""3 and 5 litre cans: breadth-first search for 4 litres in the 5 litre can."""
from collections import deque
CAP = (3, 5)


def moves(state):
    a, b = state
    yield CAP[0], b
    yield a, CAP[1]
    yield 0, b
    yield a, 0
    pour = min(a, CAP[1] - b)
    yield a - pour, b + pour
    pour = min(b, CAP[0] - a)
    yield a + pour, b - pour


dist = {(0, 0): 0}
queue = deque([(0, 0)])
while queue:
    s = queue.popleft()
    if s[1] == 4:
        print(dist[s])
        break
    for n in moves(s):
        if n not in dist:
            dist[n] = dist[s] + 1
            queue.append(n)
