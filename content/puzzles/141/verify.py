"""Family of four, a boat that carries at most 100 kg, anyone rows: fewest crossings."""
import collections, itertools

WEIGHT = {"папа": 80, "мама": 60, "Ваня": 40, "Аня": 30}
LIMIT = 100
ALL = frozenset(WEIGHT)
start, goal = (ALL, 0), (frozenset(), 1)
dist = {start: 0}
queue = collections.deque([start])
while queue:
    here, side = s = queue.popleft()
    src = here if side == 0 else ALL - here
    for k in range(1, len(src) + 1):
        for load in itertools.combinations(sorted(src), k):
            if sum(WEIGHT[p] for p in load) > LIMIT:
                continue
            n = (here - set(load) if side == 0 else here | set(load), 1 - side)
            if n not in dist:
                dist[n] = dist[s] + 1
                queue.append(n)
print(dist[goal])
