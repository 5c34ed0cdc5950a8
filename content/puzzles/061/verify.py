#!/usr/bin/python3
"""Rectangles of whole pieces on a 2 by 4 chocolate bar."""
import itertools
rows, cols = 2, 4
print(sum(1 for _ in itertools.combinations(range(rows + 1), 2)
          for _ in itertools.combinations(range(cols + 1), 2)))
