#!/usr/bin/python3
"""A clock 4 minutes fast every hour, set at 8:00:00, shows 14:24:00: search the real time."""
import sys
start = 8 * 3600
found = [t for t in range(86400 - start) if start * 60 + t * 64 == (14 * 3600 + 24 * 60) * 60]
if len(found) != 1:
    sys.exit(f"expected one moment, found {found}")
t = start + found[0]
print(f"{t // 3600}:{t // 60 % 60:02}:{t % 60:02}")
