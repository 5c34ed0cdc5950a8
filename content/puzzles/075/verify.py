#!/usr/bin/python3
"""Asya says "we are both liars": every consistent assignment of knights and liars."""
import itertools
import sys
found = set()
for asya, borya in itertools.product([True, False], repeat=2):      # True: knight
    if asya == (not asya and not borya):
        found.add({(True, False): "Ася", (False, True): "Боря", (True, True): "оба",
                   (False, False): "никто"}[(asya, borya)])
if len(found) != 1:
    sys.exit(f"not determined: {found}")
print(found.pop())
