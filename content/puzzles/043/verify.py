#!/usr/bin/python3
"""The smaller angle between the hands at 3:40, the hour hand moving smoothly."""
from fractions import Fraction
h, m = 3, 40
hour = Fraction(h * 30) + Fraction(m, 2)
minute = Fraction(m * 6)
angle = abs(hour - minute) % 360
angle = min(angle, 360 - angle)
assert angle.denominator == 1
print(angle)
