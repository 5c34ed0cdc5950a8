#!/usr/bin/python3
"""ВЕТЕР times 3 is ТЕАТР: try every assignment of different digits."""
import itertools
import sys
found = []
for v, e, t, r, a in itertools.permutations(range(10), 5):
    if v and t and 3 * int(f"{v}{e}{t}{e}{r}") == int(f"{t}{e}{a}{t}{r}"):
        found.append((v, e, t, r, a))
if len(found) != 1:
    sys.exit(f"expected one answer, found {found}")
print(*found[0])
