"""Farmer ferries four animals and a cheese, two at a time besides himself. Breadth-first
search over the banks: which first load lets everyone across at all, and does every
shortest crossing begin with it?"""
import collections, itertools, sys

ITEMS = ("пёс", "кот", "мышь", "сыр", "попугай")
BAD = [("пёс", "кот"), ("кот", "мышь"), ("мышь", "сыр"), ("пёс", "попугай")]
SEATS = 2
ACC = {"пёс": "пса", "кот": "кота", "мышь": "мышь", "сыр": "сыр", "попугай": "попугая"}
CHOICES = ["кота", "пса и мышь", "кота и сыр", "мышь и сыр", "кота и мышь"]
ALL = frozenset(ITEMS)
START, GOAL = (ALL, 0), (frozenset(), 1)


def moves(state):
    here, side = state
    src = here if side == 0 else ALL - here
    for k in range(SEATS + 1):
        for load in itertools.combinations(sorted(src, key=ITEMS.index), k):
            new = here - set(load) if side == 0 else here | set(load)
            alone = new if side == 0 else ALL - new   # the bank the farmer leaves
            if not any(a in alone and b in alone for a, b in BAD):
                yield load, (new, 1 - side)


def distance(start):
    dist = {start: 0}
    queue = collections.deque([start])
    while queue:
        s = queue.popleft()
        for _, n in moves(s):
            if n not in dist:
                dist[n] = dist[s] + 1
                queue.append(n)
    return dist.get(GOAL)


best = distance(START)
firsts = [load for load, n in moves(START) if distance(n) is not None and distance(n) + 1 == best]
workable = [load for load, n in moves(START) if load and distance(n) is not None]
if workable != firsts:
    print("another first load also works:", workable, firsts)
    sys.exit(1)
names = [" и ".join(ACC[x] for x in load) for load in firsts]
if len(names) != 1 or names[0] not in CHOICES:
    print("first load of a shortest crossing is not one of the choices:", best, names)
    sys.exit(1)
print(f"fewest crossings: {best}")
print(names[0])
