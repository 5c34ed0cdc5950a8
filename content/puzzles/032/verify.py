#!/usr/bin/python3
"""The magic square of 1 to 9: search every magic square that agrees with the picture."""
import pathlib
import re
import sys

def picture_grid():
    """The numbers and letters of the picture's 3 by 3 square, by row and column."""
    svg = (pathlib.Path(__file__).parent / "picture.svg").read_text("utf-8")
    cells = [(float(x), float(y), t) for x, y, t in
             re.findall(r'<text x="([\d.]+)" y="([\d.]+)"[^>]*>(\d+|[АБВ])</text>', svg)]
    xs = sorted({x for x, _, _ in cells})
    ys = sorted({y for _, y, _ in cells})
    assert len(xs) == 3 and len(ys) == 3, (xs, ys)
    return {(ys.index(y), xs.index(x)): t for x, y, t in cells}


def magic(e, p, q):
    """Every 3 by 3 magic square of whole numbers, by its centre e and two offsets."""
    return [[e + p, e - p - q, e + q], [e - p + q, e, e + p - q], [e - q, e + p + q, e - p]]


def solve(grid, allowed):
    found = []
    for e in range(-30, 31):
        for p in range(-30, 31):
            for q in range(-30, 31):
                sq = magic(e, p, q)
                if all(not t.isdigit() or sq[r][c] == int(t) for (r, c), t in grid.items()) \
                        and allowed(sq):
                    found.append(sq)
    if len(found) != 1:
        sys.exit(f"expected one square, found {len(found)}")
    sq = found[0]
    where = {t: rc for rc, t in grid.items()}
    return [sq[where[k][0]][where[k][1]] for k in "АБВ"]


print(*solve(picture_grid(), lambda sq: sorted(v for row in sq for v in row) == list(range(1, 10))))
