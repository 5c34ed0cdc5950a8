#!/usr/bin/python3
"""Try every choice of the rubbed-out row and column numbers; all that match the
visible cells must give the same three hidden cells."""
import itertools
import sys

TABLE = [
    [6, 15, None],
    [8, None, 24],
    [None, 35, 42],
]
LIMIT = 50  # the rubbed-out numbers are whole numbers from 1 to LIMIT

hidden = [(r, c) for r in range(3) for c in range(3) if TABLE[r][c] is None]
answers = set()
for rows in itertools.product(range(1, LIMIT + 1), repeat=3):
    # the first column fixes the column number; skip rows that cannot divide it
    if TABLE[0][0] % rows[0]:
        continue
    cols = []
    for c in range(3):
        r = next(r for r in range(3) if TABLE[r][c] is not None)
        if TABLE[r][c] % rows[r]:
            break
        cols.append(TABLE[r][c] // rows[r])
    else:
        if all(TABLE[r][c] in (None, rows[r] * cols[c]) for r in range(3) for c in range(3)):
            answers.add(tuple(rows[r] * cols[c] for r, c in hidden))
if len(answers) != 1:
    print("hidden cells could be:", answers)
    sys.exit(1)
print(" ".join(map(str, answers.pop())))
