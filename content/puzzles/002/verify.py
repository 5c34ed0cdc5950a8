#!/usr/bin/python3
"""A brick balances 1 kg and half a brick: search the brick's weight in grams."""
import sys
found = [b for b in range(2, 20001, 2) if b == 1000 + b // 2]
if len(found) != 1:
    sys.exit(f"expected one weight, found {found}")
print(found[0])
