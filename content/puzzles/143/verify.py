"""Three owners with their dogs, a boat for three, only people row; a dog may not be with
another owner unless its own is there. Breadth-first search for the fewest crossings."""
import collections, itertools

PAIRS = 3
SEATS = 3
PEOPLE = [("owner", i) for i in range(PAIRS)] + [("dog", i) for i in range(PAIRS)]
ALL = frozenset(PEOPLE)


def calm(group):
    owners = {i for kind, i in group if kind == "owner"}
    return all(not owners or i in owners for kind, i in group if kind == "dog")


start, goal = (ALL, 0), (frozenset(), 1)
dist = {start: 0}
queue = collections.deque([start])
while queue:
    here, side = s = queue.popleft()
    src = here if side == 0 else ALL - here
    for k in range(1, SEATS + 1):
        for load in itertools.combinations(sorted(src), k):
            if not any(kind == "owner" for kind, _ in load) or not calm(load):
                continue
            new = here - set(load) if side == 0 else here | set(load)
            if calm(new) and calm(ALL - new):
                n = (new, 1 - side)
                if n not in dist:
                    dist[n] = dist[s] + 1
                    queue.append(n)
print(dist[goal])
