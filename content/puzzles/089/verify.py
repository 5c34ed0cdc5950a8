#!/usr/bin/python3
"""Three at the well: every consistent assignment of knights and liars."""
import itertools
import sys
names = ["Антон", "Борис", "Вадим"]
worlds = []
for a, b, v in itertools.product([True, False], repeat=3):        # True: knight
    if a == (not b) and b == (not v) and v == (not a and not b):
        worlds.append([n for n, k in zip(names, (a, b, v)) if k])
if len(worlds) != 1 or len(worlds[0]) != 1:
    sys.exit(f"not determined: {worlds}")
print(worlds[0][0])
