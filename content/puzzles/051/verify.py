#!/usr/bin/python3
"""Three houses: every seating that fits the clues has the same person in the blue house."""
import itertools
import sys
found = set()
for order in itertools.permutations(["Маша", "Петя", "Коля"]):   # red, green, blue
    if order.index("Коля") < order.index("Маша") and order.index("Петя") == 1:
        found.add(order[2])
if len(found) != 1:
    sys.exit(f"not determined: {found}")
print(found.pop())
