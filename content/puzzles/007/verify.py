#!/usr/bin/python3
"""Wolf, goat and cabbage: breadth-first search over who is on the far bank."""
from collections import deque
import sys
ITEMS = ("волк", "коза", "капуста")
EATS = [("волк", "коза"), ("коза", "капуста")]


def safe(bank, farmer_here):
    return farmer_here or not any(a in bank and b in bank for a, b in EATS)


start = (frozenset(), 0)           # (who is on the far bank, farmer's side: 0 near, 1 far)
goal = (frozenset(ITEMS), 1)
dist = {start: 0}
queue = deque([start])
while queue:
    far, side = queue.popleft()
    here = far if side else frozenset(ITEMS) - far
    for cargo in [None, *here]:
        moved = {cargo} - {None}
        new_far = far - moved if side else far | moved
        near = frozenset(ITEMS) - new_far
        new = (frozenset(new_far), 1 - side)
        if safe(near, new[1] == 0) and safe(new[0], new[1] == 1) and new not in dist:
            dist[new] = dist[(far, side)] + 1
            queue.append(new)
if goal not in dist:
    sys.exit("no crossing found")
print(dist[goal])
