#!/usr/bin/python3
"""The staircase of columns 5, 4, 3, 2, 1: area and perimeter by counting cells and edges."""
cols = [5, 4, 3, 2, 1]
cells = {(x, y) for x, h in enumerate(cols) for y in range(h)}
perimeter = sum(1 for (x, y) in cells for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))
                if (x + dx, y + dy) not in cells)
print(len(cells), perimeter)
