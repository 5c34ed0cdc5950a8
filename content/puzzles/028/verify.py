#!/usr/bin/python3
"""Fast and slow clocks set at noon: step the real time second by second until the
displays first differ by exactly one hour."""
from fractions import Fraction
import sys
start = 12 * 3600
for t in range(1, 3 * 86400):
    fast = start + t * Fraction(62, 60)
    slow = start + t * Fraction(59, 60)
    if fast - slow == 3600:
        shown = int(fast) % 86400
        if fast != int(fast):
            sys.exit("the moment does not fall on a whole second")
        print(f"{shown // 3600}:{shown // 60 % 60:02}:{shown % 60:02}")
        break
else:
    sys.exit("the clocks never differ by an hour")
