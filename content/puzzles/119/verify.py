#!/usr/bin/python3
"""The earliest the postman can be back at the post office (П) after calling at every house."""
import itertools
import sys

# (place, place, minutes on the road)
ROADS = [('П', '1', 12), ('П', '3', 9), ('П', '5', 14), ('1', '2', 15), ('1', '3', 8), ('2', '3', 10), ('2', '4', 22), ('3', '4', 11), ('3', '5', 7), ('4', '5', 13)]
STOP = 2  # minutes spent at each house

def shortest(edges):
    """All-pairs shortest road lengths over the undirected roads."""
    names = sorted({a for a, b, w in edges} | {b for a, b, w in edges})
    INF = float("inf")
    d = {a: {b: (0 if a == b else INF) for b in names} for a in names}
    for a, b, w in edges:
        d[a][b] = d[b][a] = min(d[a][b], w)
    for k in names:
        for i in names:
            for j in names:
                if d[i][k] + d[k][j] < d[i][j]:
                    d[i][j] = d[i][k] + d[k][j]
    return d


def clock(h, m, minutes):
    t = h * 60 + m + minutes
    return "%d:%02d:00" % (t // 60 % 24, t % 60)


def main():
    d = shortest(ROADS)
    houses = [n for n in d if n != "П"]
    tours = {}
    for order in itertools.permutations(houses):
        way = ("П",) + order + ("П",)
        tours[order] = sum(d[a][b] for a, b in zip(way, way[1:]))
    best = min(tours.values())
    if best == float("inf"):
        print("some house cannot be reached")
        sys.exit(1)
    print(clock(11, 0, best + STOP * len(houses)))


main()
