#!/usr/bin/python3
"""Striking clock: six strikes span five equal gaps in 5 s; twelve strikes span eleven gaps."""
from fractions import Fraction
gap = Fraction(5, 6 - 1)
span = gap * (12 - 1)
assert span.denominator == 1
print(span)
