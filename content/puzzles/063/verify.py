#!/usr/bin/python3
"""A triangle of side 3 cut into nine small ones: count every triangle along its lines."""
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


N = 3
# Lattice points in skew coordinates; lines run along i, j and i + j constant.
points = [(Fraction(i), Fraction(j)) for i in range(N + 1) for j in range(N + 1 - i)]
segments = []
for k in range(N + 1):
    segments.append(((Fraction(k), Fraction(0)), (Fraction(k), Fraction(N - k))))
    segments.append(((Fraction(0), Fraction(k)), (Fraction(N - k), Fraction(k))))
    segments.append(((Fraction(k), Fraction(0)), (Fraction(0), Fraction(k))))
print(count_triangles(points, segments))
