#!/usr/bin/python3
"""Five soldiers and two boys: breadth-first search over the crossings."""
from collections import deque
import sys
SOLDIERS, BOYS = 5, 2
LOADS = [(0, 1), (0, 2), (1, 0)]   # (soldiers, boys) the boat carries
start = (SOLDIERS, BOYS, 0)        # soldiers and boys on the near bank, boat side
goal = (0, BOYS, 0)
dist = {start: 0}
queue = deque([start])
while queue:
    s, b, side = queue.popleft()
    for ds, db in LOADS:
        if side == 0:
            ns, nb = s - ds, b - db
        else:
            ns, nb = s + ds, b + db
        if 0 <= ns <= SOLDIERS and 0 <= nb <= BOYS:
            new = (ns, nb, 1 - side)
            if new not in dist:
                dist[new] = dist[(s, b, side)] + 1
                queue.append(new)
if goal not in dist:
    sys.exit("no way across")
print(dist[goal])
