#!/usr/bin/python3
"""One stroke: a figure can be drawn so exactly when it is connected and has no more than
two points where an odd number of lines meet."""
import pathlib
import sys
import tomllib


def one_stroke(edges):
    degree = {}
    for a, b in edges:
        degree[a] = degree.get(a, 0) + 1
        degree[b] = degree.get(b, 0) + 1
    seen, stack = set(), [edges[0][0]]
    while stack:
        v = stack.pop()
        if v not in seen:
            seen.add(v)
            stack += [b for a, b in edges if a == v] + [a for a, b in edges if b == v]
    return len(seen) == len(degree) and sum(d % 2 for d in degree.values()) <= 2


square = [("lb", "rb"), ("rb", "rt"), ("rt", "lt"), ("lt", "lb")]
diagonals = [("lb", "c"), ("c", "rt"), ("rb", "c"), ("c", "lt")]
roof = [("lt", "top"), ("top", "rt")]
window = [((x, y), (x + 1, y)) for x in range(2) for y in range(3)] + \
         [((x, y), (x, y + 1)) for x in range(3) for y in range(2)]
# Triangle ABC with midpoints a, b, c of the opposite sides and the centroid g.
medians = [("A", "c"), ("c", "B"), ("B", "a"), ("a", "C"), ("C", "b"), ("b", "A"),
           ("A", "g"), ("g", "a"), ("B", "g"), ("g", "b"), ("C", "g"), ("g", "c")]
figures = {"А": square + diagonals, "Б": square + diagonals + roof, "В": window, "Г": medians}
drawable = [k for k, edges in figures.items() if one_stroke(edges)]
choices = tomllib.loads((pathlib.Path(__file__).parent / "puzzle.toml").read_text("utf-8"))["choices"]
if len(drawable) != 1 or drawable[0] not in choices:
    sys.exit(f"expected one figure, found {drawable}")
print(drawable[0])
