#!/usr/bin/python3
"""The true weight of the cheese on a balance whose arms are unequal.
On the left pan it balances 40 g; on the right pan it balances 90 g."""
import sys
from fractions import Fraction

ON_LEFT, ON_RIGHT = 40, 90


def main():
    # With arms a (left) and b (right): cheese * a = 40 * b and 90 * a = cheese * b.
    # Try every arm ratio a/b with arms up to 100 and keep the weights that fit both.
    found = set()
    for a in range(1, 101):
        for b in range(1, 101):
            r = Fraction(b, a)
            cheese = ON_LEFT * r
            if ON_RIGHT == cheese * r:
                found.add(cheese)
    if len(found) != 1:
        print("expected one weight for the cheese, got", found)
        sys.exit(1)
    w = found.pop()
    if w.denominator != 1:
        print("the weight is not whole:", w)
        sys.exit(1)
    print(w.numerator)


main()
