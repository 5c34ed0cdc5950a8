#!/usr/bin/python3
"""The fly between two cyclists: sum its flights leg by leg until the cyclists meet."""
from fractions import Fraction
gap, v1, v2, fly = Fraction(30), 8, 7, 20
flown, towards_second, legs = Fraction(0), True, 0
while gap > Fraction(1, 10 ** 12):
    t = gap / (fly + (v2 if towards_second else v1))   # until the fly meets a cyclist
    flown += fly * t
    gap -= (v1 + v2) * t
    towards_second = not towards_second
    legs += 1
exact = fly * Fraction(30, v1 + v2)        # the fly flies as long as the cyclists ride
assert abs(flown - exact) < Fraction(1, 10 ** 9), (float(flown), exact)
print(exact)
