#!/usr/bin/python3
"""Three pets weighed in pairs: search whole-kilogram weights."""
import sys
found = [(c, d, p) for c in range(1, 10) for d in range(1, 10) for p in range(1, 10)
         if c + d == 9 and d + p == 7 and c + d + p == 10]
if len(found) != 1:
    sys.exit(f"expected one answer, found {found}")
print(*found[0])
