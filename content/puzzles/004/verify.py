#!/usr/bin/python3
"""Fruit weighed in pairs: search the three weights."""
import sys
found = [(a, g, o) for a in range(1, 300) for g in range(1, 350) for o in (350 - g,)
         if a + g == 300 and a + o == 250 and o > 0]
if len(found) != 1:
    sys.exit(f"expected one answer, found {found}")
print(*found[0])
