#!/usr/bin/python3
"""Four straight cuts across a round pizza: the most pieces.

With no three cuts through one point, the pieces number 1 + cuts + crossings inside the
pizza. A cut crosses each earlier cut at most once, so four cuts give at most
1 + 4 + 6 pieces; random cuts show the bound is reached.
"""
import itertools
import math
import random
import sys
CUTS = 4
bound = 1 + CUTS + CUTS * (CUTS - 1) // 2
rng = random.Random(7)


def chord():
    a, b = rng.uniform(0, 2 * math.pi), rng.uniform(0, 2 * math.pi)
    return (math.cos(a), math.sin(a)), (math.cos(b), math.sin(b))


def crosses(s, t):
    (x1, y1), (x2, y2) = s
    (x3, y3), (x4, y4) = t
    d = (x1 - x2) * (y3 - y4) - (y1 - y2) * (x3 - x4)
    if abs(d) < 1e-12:
        return False
    u = ((x1 - x3) * (y3 - y4) - (y1 - y3) * (x3 - x4)) / d
    v = ((x1 - x3) * (y1 - y2) - (y1 - y3) * (x1 - x2)) / d
    return 0 < u < 1 and 0 < v < 1


best = 0
for _ in range(5000):
    cuts = [chord() for _ in range(CUTS)]
    best = max(best, 1 + CUTS + sum(crosses(s, t) for s, t in itertools.combinations(cuts, 2)))
if best != bound:
    sys.exit(f"found {best} pieces, the bound is {bound}")
print(best)
