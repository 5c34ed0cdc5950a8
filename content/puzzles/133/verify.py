"""The figure is cut into three-cell corners: count them and prove the cutting exists."""
import sys

FIGURE = [
    "..XX..",
    ".XXXX.",
    "XXXXXX",
    "XXXXXX",
    ".XXXX.",
    "..XX..",
]
cells = {(r, c) for r, row in enumerate(FIGURE) for c, ch in enumerate(row) if ch == "X"}
# the four turns of a three-cell corner, anchored at its first cell in reading order
CORNERS = [[(0, 0), (0, 1), (1, 0)], [(0, 0), (0, 1), (1, 1)],
           [(0, 0), (1, 0), (1, 1)], [(0, 0), (1, 0), (1, -1)]]


def tile(free):
    if not free:
        return True
    r, c = min(free)
    for shape in CORNERS:
        piece = {(r + dr, c + dc) for dr, dc in shape}
        if piece <= free and tile(free - piece):
            return True
    return False


if len(cells) % 3 or not tile(frozenset(cells)):
    print("the figure cannot be cut into corners")
    sys.exit(1)
print(len(cells) // 3)
