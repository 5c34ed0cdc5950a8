#!/usr/bin/python3
"""Grow the pattern row by row and count the dark cells of the asked row."""

ROW = 40
# Wide enough that the pattern never reaches the edge: it grows one cell a row each way.
WIDTH = 2 * ROW + 3
row = [0] * WIDTH
row[WIDTH // 2] = 1
for _ in range(ROW - 1):
    row = [0] + [row[i - 1] ^ row[i + 1] for i in range(1, WIDTH - 1)] + [0]
    if row[0] or row[1] or row[-1] or row[-2]:
        raise SystemExit("the pattern reached the edge")
print(sum(row))
