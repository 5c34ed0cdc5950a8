#!/usr/bin/python3
"""Four weights on both pans for every load from 1 to 40 g: search every set.

Each weight sits on the load's pan, on the other pan or aside: 81 patterns, half of them
(apart from the empty one) give a positive load, so four weights reach at most 40 loads.
To reach all of 1..40 the largest load, the sum of the weights, must be exactly 40.
"""
import itertools
import sys


def loads(weights):
    reach = {0}
    for w in weights:
        reach = {r + d for r in reach for d in (-w, 0, w)}
    return reach


found = [s for s in itertools.combinations(range(1, 41), 4)
         if sum(s) == 40 and set(range(1, 41)) <= loads(s)]
if len(found) != 1:
    sys.exit(f"expected one set, found {found}")
print(*found[0])
