#!/usr/bin/python3
"""Two candles lit at 18:00: search the moment (to the second) when one stub is four times
the other."""
from fractions import Fraction
import sys
found = []
for t in range(1, 4 * 3600):        # until the thin candle burns out
    thin = 1 - Fraction(t, 4 * 3600)
    thick = 1 - Fraction(t, 5 * 3600)
    if thick == 4 * thin or thin == 4 * thick:
        found.append(t)
if len(found) != 1:
    sys.exit(f"expected one moment, found {found}")
t = (18 * 3600 + found[0]) % 86400
print(f"{t // 3600}:{t // 60 % 60:02}:{t % 60:02}")
