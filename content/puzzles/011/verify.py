#!/usr/bin/python3
"""Mother 30, daughter 6: in how many years is she exactly three times as old."""
import sys
found = [x for x in range(0, 100) if 30 + x == 3 * (6 + x)]
if len(found) != 1:
    sys.exit(f"expected one answer, found {found}")
print(found[0])
