#!/usr/bin/python3
"""When does Sasha reach Grandma (Б) from home (Д) at the earliest, leaving at 8:50."""
import sys

# (village, village, minutes on the road)
ROADS = [('Д', 'К', 18), ('Д', 'М', 20), ('Д', 'Н', 44), ('К', 'Л', 14), ('К', 'М', 22), ('Л', 'Б', 40), ('Л', 'О', 16), ('М', 'О', 32), ('М', 'Н', 20), ('О', 'Б', 15), ('Н', 'Б', 34), ('Н', 'О', 10)]

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
    best = d["Д"]["Б"]
    if best == float("inf"):
        print("no road to Grandma")
        sys.exit(1)
    print(clock(8, 50, best))


main()
