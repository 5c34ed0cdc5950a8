#!/usr/bin/python3
"""Pineapple on the scales: search whole-gram weights that balance both scales."""
import sys
found = [(apple, pine) for apple in range(1, 2001) for pine in (apple + 500,)
         if 2 * apple == 300 + 100]
if len(found) != 1:
    sys.exit(f"expected one solution, found {found}")
print(found[0][1])
