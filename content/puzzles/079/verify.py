#!/usr/bin/python3
"""ВОДА + ВОДА = СОВА: try every assignment of different digits."""
import itertools
import sys
found = []
for v, o, d, a, s in itertools.permutations(range(10), 5):
    if v and s and 2 * int(f"{v}{o}{d}{a}") == int(f"{s}{o}{v}{a}"):
        found.append((v, o, d, a, s))
if len(found) != 1:
    sys.exit(f"expected one answer, found {found}")
print(*found[0])
