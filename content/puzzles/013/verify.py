#!/usr/bin/python3
"""Father and son: together 50, five years ago the father was four times as old."""
import sys
found = [(f, 50 - f) for f in range(6, 51) if 50 - f > 5 and f - 5 == 4 * (50 - f - 5)]
if len(found) != 1:
    sys.exit(f"expected one answer, found {found}")
print(*found[0])
