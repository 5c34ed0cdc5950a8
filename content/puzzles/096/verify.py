#!/usr/bin/python3
"""Grandfather paints the fence in 6 hours, the grandson in 3: together, in minutes."""
from fractions import Fraction
rate = Fraction(1, 6 * 60) + Fraction(1, 3 * 60)
minutes = 1 / rate
assert minutes.denominator == 1
print(minutes)
