#!/usr/bin/python3
"""The envelope square: count every triangle along the drawn lines."""
import itertools
from fractions import Fraction

def count_triangles(points, segments):
    """Triangles whose three sides lie along drawn segments: three points, each pair on one
    segment, not all on one line."""
    on = [frozenset(p for p in points if on_segment(p, a, b)) for a, b in segments]
    linked = {(p, q) for s in on for p in s for q in s if p != q}
    count = 0
    for a, b, c in itertools.combinations(points, 3):
        if (a, b) in linked and (b, c) in linked and (a, c) in linked and not collinear(a, b, c):
            count += 1
    return count


def collinear(a, b, c):
    return (b[0] - a[0]) * (c[1] - a[1]) == (b[1] - a[1]) * (c[0] - a[0])


def on_segment(p, a, b):
    return (collinear(a, b, p) and min(a[0], b[0]) <= p[0] <= max(a[0], b[0])
            and min(a[1], b[1]) <= p[1] <= max(a[1], b[1]))


F = Fraction
corners = [(F(0), F(0)), (F(4), F(0)), (F(4), F(4)), (F(0), F(4))]
mids = [(F(2), F(0)), (F(4), F(2)), (F(2), F(4)), (F(0), F(2))]
segments = [(corners[i], corners[(i + 1) % 4]) for i in range(4)]          # sides
segments += [(corners[0], corners[2]), (corners[1], corners[3])]           # diagonals
segments += [(mids[0], mids[2]), (mids[1], mids[3])]                       # middle lines
segments += [(mids[i], mids[(i + 1) % 4]) for i in range(4)]               # the rhombus


def crossing(s, t):
    (x1, y1), (x2, y2) = s
    (x3, y3), (x4, y4) = t
    d = (x1 - x2) * (y3 - y4) - (y1 - y2) * (x3 - x4)
    if d == 0:
        return None
    u = ((x1 - x3) * (y3 - y4) - (y1 - y3) * (x3 - x4)) / d
    p = (x1 + u * (x2 - x1), y1 + u * (y2 - y1))
    return p if on_segment(p, *s) and on_segment(p, *t) else None


points = {p for s, t in itertools.combinations(segments, 2) for p in [crossing(s, t)] if p}
print(count_triangles(sorted(points), segments))
