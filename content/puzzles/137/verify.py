"""Fewest squares a 6 by 7 rectangle can be cut into along the grid lines.
Branch and bound over every cutting: the first empty cell in reading order is always
the top left corner of some square."""
import sys

ROWS, COLS = 6, 7
best = [ROWS * COLS]


def fill(grid, used):
    if used >= best[0]:
        return
    for r in range(ROWS):
        for c in range(COLS):
            if not grid[r][c]:
                break
        else:
            continue
        break
    else:
        best[0] = used
        return
    size = 1
    while r + size < ROWS and c + size < COLS and not grid[r][c + size]:
        size += 1
    for s in range(size, 0, -1):
        if r + s > ROWS or c + s > COLS:
            continue
        for i in range(r, r + s):
            for j in range(c, c + s):
                grid[i][j] = True
        fill(grid, used + 1)
        for i in range(r, r + s):
            for j in range(c, c + s):
                grid[i][j] = False


fill([[False] * COLS for _ in range(ROWS)], 0)
# a cutting with fewer squares than the answer was searched for and not found
print(best[0])
