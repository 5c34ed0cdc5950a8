#!/usr/bin/python3
"""Number pyramid: each brick holds the sum of the two below it."""
row = [4, 7, 2, 5]
while len(row) > 1:
    row = [a + b for a, b in zip(row, row[1:])]
print(row[0])
