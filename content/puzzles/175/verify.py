#!/usr/bin/python3
"""Find which way of putting two windows together gives the third in the full
rows, then pick the one offered window it gives in the last row."""
import sys

# Parts of a window: H across, V up and down, D1 and D2 the diagonals, O the ring.
ROWS = [
    ({"H", "V"}, {"V", "D1"}, {"H", "D1"}),
    ({"D2", "O"}, {"H", "D2", "V"}, {"O", "H", "V"}),
    ({"H", "D1", "D2"}, {"D1", "V", "O"}, None),
]
OFFERED = {
    "А": {"H", "D2", "V", "O"},
    "Б": {"H", "D1", "D2", "V", "O"},
    "В": {"H", "D2"},
    "Г": {"H", "D2", "V"},
}
WAYS = {
    "all lines of both": lambda a, b: a | b,
    "lines in both": lambda a, b: a & b,
    "lines in only one": lambda a, b: a ^ b,
    "first without second": lambda a, b: a - b,
    "second without first": lambda a, b: b - a,
}

ways = [n for n, f in WAYS.items() if all(f(a, b) == c for a, b, c in ROWS[:2])]
if len(ways) != 1:
    print("ways that fit the full rows:", ways)
    sys.exit(1)
a, b, _ = ROWS[2]
want = WAYS[ways[0]](a, b)
letters = [k for k, v in OFFERED.items() if v == want]
if len(letters) != 1:
    print("offered windows that fit:", letters)
    sys.exit(1)
print(letters[0])
