#!/usr/bin/python3
"""Count the pairs of sectors whose product is even."""
import itertools

FIRST = [1, 2, 3, 4]
SECOND = [1, 2, 3]

pairs = list(itertools.product(FIRST, SECOND))
print(sum(1 for a, b in pairs if a * b % 2 == 0))
