"""Six travellers, one lantern, a bridge for three: the earliest moment all are across
(shortest path over every way of crossing)."""
import heapq, itertools

MINUTES = {"Бобёр": 1, "Белка": 2, "Барсук": 5, "Ёж": 8, "Енот": 9, "Черепаха": 12}
ON_BRIDGE = 3
START = 21 * 60 + 45  # 21:45
ALL = frozenset(MINUTES)
start, goal = (ALL, 0), (frozenset(), 1)
best = {start: 0}
queue = [(0, 0, start)]
tick = 0
while queue:
    d, _, s = heapq.heappop(queue)
    if s == goal:
        break
    if d > best[s]:
        continue
    here, side = s
    src = here if side == 0 else ALL - here
    for k in range(1, ON_BRIDGE + 1):
        for group in itertools.combinations(sorted(src), k):
            n = (here - set(group) if side == 0 else here | set(group), 1 - side)
            nd = d + max(MINUTES[x] for x in group)
            if nd < best.get(n, 10 ** 9):
                best[n] = nd
                tick += 1
                heapq.heappush(queue, (nd, tick, n))
end = START + best[goal]
print(f"{best[goal]} minutes")
print(f"{end // 60 % 24}:{end % 60:02d}:00")
