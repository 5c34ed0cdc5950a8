"""Most dominoes that can be cut from the staircase: a maximum matching between
neighbouring cells, and the chessboard colouring bound it must meet."""
import sys

ROWS = [1, 2, 3, 4, 5, 6]  # cells in each row, flush left
cells = {(r, c) for r, n in enumerate(ROWS) for c in range(n)}
dark = [p for p in cells if sum(p) % 2 == 0]
light = {p for p in cells if sum(p) % 2 == 1}
match = {}


def augment(p, seen):
    r, c = p
    for q in ((r + 1, c), (r - 1, c), (r, c + 1), (r, c - 1)):
        if q in light and q not in seen:
            seen.add(q)
            if q not in match or augment(match[q], seen):
                match[q] = p
                return True
    return False


size = sum(augment(p, set()) for p in dark)
if size != min(len(dark), len(light)):
    print("the colour bound is not reached:", size, len(dark), len(light))
    sys.exit(1)
print(size)
