#!/usr/bin/python3
"""Ball and pump: search prices in kopecks."""
import sys
found = [pump for pump in range(0, 11001) if pump + (pump + 10000) == 11000]
if len(found) != 1 or found[0] % 100:
    sys.exit(f"expected one price in whole roubles, found {found}")
print(found[0] // 100)
