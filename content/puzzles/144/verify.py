"""Six campers, a boat for three, only two can row, and whoever rowed must rest for the
next crossing. Breadth-first search over (who is where, the boat, the last rower)."""
import collections, itertools

PEOPLE = ("Дима", "Оля", "Катя", "Лёва", "Миша", "Нина")  # the last four do not row
ROWERS = {"Дима", "Оля"}
SEATS = 3
ALL = frozenset(PEOPLE)
start = (ALL, 0, None)
dist = {start: 0}
queue = collections.deque([start])
answer = None
while queue:
    here, side, last = s = queue.popleft()
    if not here and side == 1:
        answer = dist[s]
        break
    src = here if side == 0 else ALL - here
    for k in range(1, SEATS + 1):
        for load in itertools.combinations(sorted(src), k):
            for rower in set(load) & ROWERS - {last}:
                n = (here - set(load) if side == 0 else here | set(load), 1 - side, rower)
                if n not in dist:
                    dist[n] = dist[s] + 1
                    queue.append(n)
print(answer)
