#!/usr/bin/python3
"""The house on squared paper: its area from the picture itself, in cells."""
import pathlib
import re
from fractions import Fraction
svg = (pathlib.Path(__file__).parent / "picture.svg").read_text("utf-8")
xs = sorted({Fraction(x) for x in re.findall(r'<line x1="([\d.]+)" y1="[\d.]+" x2="\1"', svg)})
cell = min(b - a for a, b in zip(xs, xs[1:]))
house = re.search(r'<polygon points="([^"]+)" fill="#f7c99a"', svg).group(1)
pts = [tuple(Fraction(v) for v in p.split(",")) for p in house.split()]
area = abs(sum(x1 * y2 - x2 * y1 for (x1, y1), (x2, y2) in zip(pts, pts[1:] + pts[:1]))) / 2
cells = area / cell ** 2
assert cells.denominator == 1, cells
print(cells)
