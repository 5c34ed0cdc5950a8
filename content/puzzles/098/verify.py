#!/usr/bin/python3
"""Five volumes with 1 and 2 side by side, in either order."""
import itertools
print(sum(1 for p in itertools.permutations(range(1, 6)) if abs(p.index(1) - p.index(2)) == 1))
