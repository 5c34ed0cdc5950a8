#!/usr/bin/python3
"""Two inaccurate clocks set at 8:00:00: find the real time at which the first shows
10:08:00, then what the second shows."""
from fractions import Fraction
import sys
start = 8 * 3600
real = [t for t in range(0, 86400) if start * 60 + t * 64 == (10 * 3600 + 8 * 60) * 60]
if len(real) != 1:
    sys.exit(f"expected one moment, found {real}")
second = start + real[0] * Fraction(58, 60)
assert second.denominator == 1
t = int(second) % 86400
print(f"{t // 3600}:{t // 60 % 60:02}:{t % 60:02}")
