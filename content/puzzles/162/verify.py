#!/usr/bin/python3
"""Shortest round from the post office past every house (roads may be used twice)."""
import itertools
import sys

ROADS = {
    ("Почта", "Лужки"): 3,
    ("Почта", "Мостки"): 5,
    ("Почта", "Садки"): 4,
    ("Лужки", "Мостки"): 4,
    ("Мостки", "Горки"): 3,
    ("Горки", "Садки"): 7,
    ("Лужки", "Горки"): 5,
    ("Мостки", "Садки"): 4,
}
HOME = "Почта"

places = sorted({p for road in ROADS for p in road})
INF = float("inf")
dist = {(a, b): (0 if a == b else INF) for a in places for b in places}
for (a, b), d in ROADS.items():
    dist[a, b] = dist[b, a] = min(dist[a, b], d)
for k in places:
    for a in places:
        for b in places:
            dist[a, b] = min(dist[a, b], dist[a, k] + dist[k, b])

houses = [p for p in places if p != HOME]
rounds = {}
for order in itertools.permutations(houses):
    stops = (HOME,) + order + (HOME,)
    rounds[order] = sum(dist[a, b] for a, b in zip(stops, stops[1:]))
best = min(rounds.values())

# Riding always to the nearest house not yet visited must fall short of the best.
here, left, greedy = HOME, set(houses), 0
while left:
    nxt = min(sorted(left), key=lambda p: dist[here, p])
    greedy += dist[here, nxt]
    here = nxt
    left.remove(nxt)
greedy += dist[here, HOME]
if greedy == best:
    print("the nearest-first ride already gives the answer:", greedy)
    sys.exit(1)
print(best)
