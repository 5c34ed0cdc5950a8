"""A square sheet cut along three straight lines: count the pieces by their number of
corners. Exact arithmetic: every piece stays convex, so each cut splits pieces in two."""
import sys
from fractions import Fraction as F

SIDE = 6
SQUARE = [(0, 0), (SIDE, 0), (SIDE, SIDE), (0, SIDE)]   # x to the right, y downwards
CUTS = [((0, 0), (6, 6)), ((0, 4), (6, 1)), ((2, 6), (6, 3))]


def side_of(p, a, b):
    return (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0])


def split(poly, a, b):
    parts = ([], [])
    n = len(poly)
    for i in range(n):
        p, q = poly[i], poly[(i + 1) % n]
        sp, sq = side_of(p, a, b), side_of(q, a, b)
        if sp >= 0:
            parts[0].append(p)
        if sp <= 0:
            parts[1].append(p)
        if sp * sq < 0:
            t = F(sp, sp - sq)
            x = (p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1]))
            parts[0].append(x)
            parts[1].append(x)
    return [pt for pt in parts if area(pt) != 0]


def area(poly):
    return sum(poly[i][0] * poly[(i + 1) % len(poly)][1] - poly[(i + 1) % len(poly)][0] * poly[i][1]
               for i in range(len(poly))) if len(poly) > 2 else 0


def corners(poly):
    """Points where the boundary really turns (a cut ending on a side is not a corner)."""
    pts = []
    for p in poly:
        if not pts or pts[-1] != p:
            pts.append(p)
    if pts[0] == pts[-1]:
        pts.pop()
    n = len(pts)
    return sum(1 for i in range(n) if side_of(pts[i], pts[i - 1], pts[(i + 1) % n]) != 0)


pieces = [[(F(x), F(y)) for x, y in SQUARE]]
for a, b in CUTS:
    pieces = [part for poly in pieces for part in split(poly, a, b)]
count = {3: 0, 4: 0, 5: 0}
for poly in pieces:
    count[corners(poly)] = count.get(corners(poly), 0) + 1
print(f"{len(pieces)} pieces: {count}")
if set(count) != {3, 4, 5}:
    print("a piece with another number of corners")
    sys.exit(1)
print(count[3], count[4], count[5])
