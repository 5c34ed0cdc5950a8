#!/usr/bin/python3
"""The escalator: search the number of steps N and the escalator's speed (steps per
Petya's walking step) that fit both descents."""
from fractions import Fraction
import sys
found = []
for n in range(1, 1000):
    speed = Fraction(n - 50, 50)           # walking: 50 steps of his, the rest the escalator's
    if speed > 0 and n == 75 + speed * 75 / 3:
        found.append(n)
if len(found) != 1:
    sys.exit(f"expected one answer, found {found}")
print(found[0])
