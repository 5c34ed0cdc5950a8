#!/usr/bin/python3
"""Sharing 8 litres of kvass with 5 and 3 litre cans: breadth-first search over pourings."""
from collections import deque
CAP = (8, 5, 3)
start, goal = (8, 0, 0), (4, 4, 0)
dist = {start: 0}
queue = deque([start])
while queue:
    s = queue.popleft()
    if s == goal:
        break
    for i in range(3):
        for j in range(3):
            if i != j and s[i] and s[j] < CAP[j]:
                pour = min(s[i], CAP[j] - s[j])
                n = list(s)
                n[i] -= pour
                n[j] += pour
                n = tuple(n)
                if n not in dist:
                    dist[n] = dist[s] + 1
                    queue.append(n)
print(dist[goal])
