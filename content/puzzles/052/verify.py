#!/usr/bin/python3
"""A triangle cut by three segments from the top vertex: count every triangle."""
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


apex = (Fraction(4), Fraction(6))
base = [(Fraction(x), Fraction(0)) for x in (0, 2, 4, 6, 8)]   # corners and the three feet
segments = [(apex, b) for b in base] + [(base[0], base[-1])]
print(count_triangles([apex] + base, segments))
